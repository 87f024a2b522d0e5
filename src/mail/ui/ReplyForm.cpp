#include "mail/ui/ReplyForm.h"

#include "base/ui/WindowSupport.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarvin {

TReplyForm::TReplyForm(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Reply"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *layout = new QVBoxLayout(this);

    m_rgOptions = new QGroupBox(QStringLiteral("Options"), this);
    m_rgOptions->setObjectName(QStringLiteral("rgOptions"));
    auto *options = new QVBoxLayout(m_rgOptions);
    m_rbSender = new QRadioButton(QStringLiteral("Reply to sender"), m_rgOptions);
    m_rbAll = new QRadioButton(QStringLiteral("Reply to all (sender and recipients)"), m_rgOptions);
    m_rbSender->setChecked(true);
    options->addWidget(m_rbSender);
    options->addWidget(m_rbAll);
    layout->addWidget(m_rgOptions);

    m_cbIncludeMessage =
        new QCheckBox(QStringLiteral("Include message received from sender"), this);
    m_cbIncludeMessage->setObjectName(QStringLiteral("cbIncludeMessage"));
    m_cbIncludeMessage->setChecked(true);
    layout->addWidget(m_cbIncludeMessage);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_bnOK = new QPushButton(QStringLiteral("OK"), this);
    m_bnOK->setObjectName(QStringLiteral("bnOK"));
    m_bnOK->setDefault(true);
    m_bnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_bnCancel->setObjectName(QStringLiteral("bnCancel"));
    buttons->addWidget(m_bnOK);
    buttons->addWidget(m_bnCancel);
    layout->addLayout(buttons);
    connect(m_bnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_bnCancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(sizeHint());
    CentreOnScreen(this);
}

TGWReplyTo TReplyForm::ReplyTo() const {
    return m_rbAll->isChecked() ? rtAll : rtSender;
}

bool TReplyForm::IncludeMessage() const {
    return m_cbIncludeMessage->isChecked();
}

} // namespace tarvin
