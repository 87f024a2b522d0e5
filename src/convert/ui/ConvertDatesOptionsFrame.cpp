#include "convert/ui/ConvertDatesOptionsFrame.h"

#include "convert/ui/DesignedRows.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QRadioButton>

namespace tarvin {

namespace {

constexpr int kFrameWidth = 380;
constexpr int kFrameHeight = 160;

} // namespace

TConvertDatesOptionsFrame::TConvertDatesOptionsFrame(QWidget *parent) : QFrame(parent) {
    lblHeading = NewParagraph(QStringLiteral("Convert dates for optimal display in:"), this);
    rbnTarvin = new QRadioButton(QStringLiteral("Tarvin (recommended)"), this);
    lblTarvinInfo = NewParagraph(
        QStringLiteral("Use this option to ensure that Tarvin always displays the same date "
                       "for an item in the message list as in the message view."),
        this);
    rbnFileExplorer = new QRadioButton(QStringLiteral("File Explorer"), this);
    lblFileExplorerInfo =
        NewParagraph(QStringLiteral("Use this option when you want to use File Explorer to find "
                                    "message files by date.  The date displayed may differ from "
                                    "that in the message view when daylight saving begins/ends, "
                                    "or if your time zone changes."),
                     this);
    chkConvertSubfolders = new QCheckBox(QStringLiteral("Convert subfolders"), this);

    for (QRadioButton *option : {rbnTarvin, rbnFileExplorer}) {
        QFont bold = option->font();
        bold.setBold(true);
        option->setFont(bold);
    }
    auto *choice = new QButtonGroup(this);
    choice->addButton(rbnTarvin);
    choice->addButton(rbnFileExplorer);
    rbnTarvin->setChecked(true);
    chkConvertSubfolders->setChecked(false);
    // An explanation belongs to its option: a click on it chooses the option.
    lblTarvinInfo->setBuddy(rbnTarvin);
    lblFileExplorerInfo->setBuddy(rbnFileExplorer);

    layoutControls();
}

bool TConvertDatesOptionsFrame::UseUtc() const {
    return rbnFileExplorer->isChecked();
}

void TConvertDatesOptionsFrame::SetUseUtc(bool value) {
    (value ? rbnFileExplorer : rbnTarvin)->setChecked(true);
}

bool TConvertDatesOptionsFrame::ConvertSubfolders() const {
    return chkConvertSubfolders->isChecked();
}

void TConvertDatesOptionsFrame::SetConvertSubfolders(bool value) {
    chkConvertSubfolders->setChecked(value);
}

void TConvertDatesOptionsFrame::changeEvent(QEvent *event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        layoutControls();
}

void TConvertDatesOptionsFrame::layoutControls() {
    TDesignedRows rows;
    rows.Place(lblHeading, 0, 0, kFrameWidth, 16);
    rows.Place(rbnTarvin, 8, 20, kFrameWidth - 8, 17);
    rows.Place(lblTarvinInfo, 26, 38, kFrameWidth - 26, 26);
    rows.Place(rbnFileExplorer, 8, 68, kFrameWidth - 8, 17);
    rows.Place(lblFileExplorerInfo, 26, 86, kFrameWidth - 26, 42);
    rows.Place(chkConvertSubfolders, 8, 136, kFrameWidth - 8, 17);
    setFixedSize(kFrameWidth, kFrameHeight + rows.Growth());
}

} // namespace tarvin
