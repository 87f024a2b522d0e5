#include "convert/ui/ConvertDatesForm.h"

#include "base/DesktopServices.h"
#include "base/ui/WindowSupport.h"
#include "convert/ui/ConvertDatesOptionsFrame.h"
#include "convert/ui/DesignedRows.h"

#include <QCheckBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <algorithm>

namespace tarvin {

namespace {

constexpr int kClientWidth = 408;
constexpr int kLeft = 14;
constexpr int kParagraphWidth = 380;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

} // namespace

TConvertDatesForm::TConvertDatesForm(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Convert Dates"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    lblQuestion = NewParagraph(
        QStringLiteral("This folder contains messages which may appear with incorrect dates in "
                       "the message list Date column. Do you wish to convert these dates now?"),
        this);
    lblPurpose = NewParagraph(
        QStringLiteral("Convert Dates is a tool for converting message files so that their "
                       "dates will be displayed correctly, to suit the viewer that you prefer: "
                       "either Tarvin or File Explorer."),
        this);
    lblDuration = NewParagraph(
        QStringLiteral("Conversion may take some time with more than a few hundred messages. You "
                       "may wish to consult an Administrator, especially if the messages are "
                       "shared."),
        this);
    lblFolder = new QLabel(QStringLiteral("Folder:"), this);
    edtFolder = new QLineEdit(this);
    edtFolder->setReadOnly(true);
    lblFolder->setBuddy(edtFolder);
    m_options = new TConvertDatesOptionsFrame(this);
    chkDoNotAsk = new QCheckBox(QStringLiteral("Do not ask me this again"), this);
    btnYes = new QPushButton(this);
    btnNo = new QPushButton(this);
    btnYes->setDefault(true);
    btnYes->setAutoDefault(true);
    btnNo->setAutoDefault(false);
    connect(btnYes, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnNo, &QPushButton::clicked, this, &QDialog::reject); // Escape rejects as well

    setTabOrder(btnYes, btnNo);
    SetMenuLayout(false);
}

void TConvertDatesForm::SetMenuLayout(bool menuLayout) {
    m_menuLayout = menuLayout;
    lblQuestion->setVisible(!menuLayout);
    chkDoNotAsk->setVisible(!menuLayout);
    if (menuLayout)
        chkDoNotAsk->setChecked(false);
    btnYes->setText(menuLayout ? QStringLiteral("OK") : QStringLiteral("Yes"));
    btnNo->setText(menuLayout ? QStringLiteral("Cancel") : QStringLiteral("No"));
    layoutControls();
}

void TConvertDatesForm::changeEvent(QEvent *event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        layoutControls();
}

// Designed positions: the prompt puts the paragraphs at 12, 46 and 94, the folder box at 136
// and the options at 172 in a client area 386 high; the menu layout leaves out the question
// (paragraphs at 12 and 60, box at 102, options at 138) and the check box, 332 high.
void TConvertDatesForm::layoutControls() {
    const int offset = m_menuLayout ? -34 : 0; // the question's rows
    TDesignedRows rows;
    if (!m_menuLayout)
        rows.Place(lblQuestion, kLeft, 12, kParagraphWidth, 26);
    rows.Place(lblPurpose, kLeft, 46 + offset, kParagraphWidth, 40);
    rows.Place(lblDuration, kLeft, 94 + offset, kParagraphWidth, 34);

    const int boxLeft = kLeft + 46;
    rows.Place(edtFolder, boxLeft, 136 + offset, kClientWidth - kLeft - boxLeft, 21);
    const QRect box = edtFolder->geometry();
    const int labelHeight = lblFolder->sizeHint().height();
    lblFolder->setGeometry(kLeft, box.top() + (box.height() - labelHeight) / 2, boxLeft - kLeft,
                           labelHeight);

    rows.Place(m_options, kLeft, 172 + offset, kParagraphWidth, 160);
    if (!m_menuLayout)
        rows.Place(chkDoNotAsk, kLeft, 336, kParagraphWidth, 17);

    const int clientHeight = (m_menuLayout ? 332 : 386) + rows.Growth();
    const int buttonHeight = std::max(kButtonHeight, btnYes->sizeHint().height());
    const int buttonTop = clientHeight - 6 - buttonHeight;
    const int buttonWidth =
        std::max({kButtonWidth, btnYes->sizeHint().width(), btnNo->sizeHint().width()});
    btnNo->setGeometry(kClientWidth - kLeft - buttonWidth, buttonTop, buttonWidth, buttonHeight);
    btnYes->setGeometry(kClientWidth - kLeft - 2 * buttonWidth - 6, buttonTop, buttonWidth,
                        buttonHeight);
    setFixedSize(kClientWidth, clientHeight);
}

bool TConvertDatesForm::Execute(const QString &displayPath) {
    edtFolder->setText(displayPath);
    edtFolder->setCursorPosition(0);
    CentreOnScreen(this);
    btnYes->setFocus();
    QPointer<TConvertDatesForm> self(this);
    const int result = Desktop().ExecDialog(this);
    // The form may have gone with its owner while it ran.
    return self && result == QDialog::Accepted;
}

bool TConvertDatesForm::PromptAgain() const {
    return !chkDoNotAsk->isChecked();
}

} // namespace tarvin
