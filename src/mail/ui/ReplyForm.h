#pragma once

#include "mail/GroupWiseCommands.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace tarvin {

// The "Reply" dialog: reply to the sender or to all, with or without the message received.
class TReplyForm : public QDialog {
    Q_OBJECT
public:
    explicit TReplyForm(QWidget *parent = nullptr);

    // The choices (read after the dialog closed with OK).
    TGWReplyTo ReplyTo() const;
    bool IncludeMessage() const;

    QRadioButton *ReplyToSenderOption() const { return m_rbSender; }
    QRadioButton *ReplyToAllOption() const { return m_rbAll; }
    QCheckBox *IncludeMessageBox() const { return m_cbIncludeMessage; }

private:
    QGroupBox *m_rgOptions = nullptr;
    QRadioButton *m_rbSender = nullptr;
    QRadioButton *m_rbAll = nullptr;
    QCheckBox *m_cbIncludeMessage = nullptr;
    QPushButton *m_bnOK = nullptr;
    QPushButton *m_bnCancel = nullptr;
};

} // namespace tarvin
