#include "view/ui/MessageNotAvailableForm.h"

#include "base/DesktopServices.h"
#include "base/ui/WindowSupport.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tarvin {

namespace {

constexpr int kWidth = 320;
constexpr int kBorder = 14;

QLabel *NewLabel(const QString &text, QWidget *parent, bool wrap = true) {
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(wrap);
    return label;
}

// A one-line value that never widens the dialog: shortened to `width` with "..." at its end,
// whole in its tool tip.
QLabel *NewValueLabel(const QString &text, QWidget *parent, int width) {
    QLabel *label = NewLabel(QString(), parent, false);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideRight, width));
    if (label->text() != text)
        label->setToolTip(text);
    return label;
}

} // namespace

TMessageNotAvailableForm::TMessageNotAvailableForm(const QString &activeAccount,
                                                   const QString &savedAccount,
                                                   const QString &subject, QWidget *parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Message Not Available"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    layout->addWidget(NewLabel(QStringLiteral("This message is not available in the active "
                                              "GroupWise account (%1).  Please choose one of "
                                              "the following options.")
                                   .arg(activeAccount),
                               this));

    auto *rows = new QGridLayout;
    QLabel *subjectCaption = NewLabel(QStringLiteral("Subject:"), this, false);
    QLabel *accountCaption = NewLabel(QStringLiteral("Account:"), this, false);
    QFont bold = font();
    bold.setBold(true);
    subjectCaption->setFont(bold);
    accountCaption->setFont(bold);
    // Values share what is left of the dialog's width beside their captions.
    const int valueWidth =
        kWidth - 2 * kBorder - 12 -
        std::max(subjectCaption->sizeHint().width(), accountCaption->sizeHint().width());
    QLabel *accountValue = NewValueLabel(savedAccount, this, valueWidth);
    const QString hint = QStringLiteral("The message was saved from this GroupWise account");
    accountCaption->setToolTip(hint);
    accountValue->setToolTip(hint);
    rows->addWidget(subjectCaption, 0, 0);
    rows->addWidget(NewValueLabel(subject, this, valueWidth), 0, 1);
    rows->addWidget(accountCaption, 1, 0);
    rows->addWidget(accountValue, 1, 1);
    rows->setColumnStretch(1, 1);
    layout->addLayout(rows);

    m_optChange = new QRadioButton(QStringLiteral("Change the login account and retry"), this);
    layout->addWidget(m_optChange);
    QLabel *changeText = NewLabel(
        QStringLiteral("You will need to log in or proxy to account: %1.").arg(savedAccount), this);
    changeText->setContentsMargins(20, 0, 0, 0);
    layout->addWidget(changeText);
    m_optSimulate = new QRadioButton(QStringLiteral("Simulate Reply/Forward"), this);
    layout->addWidget(m_optSimulate);
    QLabel *simulateText = NewLabel(
        QStringLiteral("This will create a new message in account: %1.").arg(activeAccount), this);
    simulateText->setContentsMargins(20, 0, 0, 0);
    layout->addWidget(simulateText);
    m_optSimulate->setChecked(true);

    layout->addStretch(1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // A fixed dialog of 320 x 208 (border included) unless the texts need more.
    QSize size = sizeHint().expandedTo(QSize(kWidth, 208));
    setFixedSize(size);
    CentreOnScreen(this);
}

int TMessageNotAvailableForm::Answer() const {
    if (result() != QDialog::Accepted)
        return 0;
    if (m_optChange->isChecked())
        return 1;
    return m_optSimulate->isChecked() ? 3 : 0;
}

int TMessageNotAvailableForm::Execute(const QString &activeAccount, const QString &savedAccount,
                                      const QString &subject, QWidget *parent) {
    // On the heap: when the parent goes while the dialog runs, it takes the dialog with it.
    QPointer<TMessageNotAvailableForm> form =
        new TMessageNotAvailableForm(activeAccount, savedAccount, subject, parent);
    Desktop().ExecDialog(form);
    if (!form)
        return 0;
    const int answer = form->Answer();
    delete form.data();
    return answer;
}

} // namespace tarvin
