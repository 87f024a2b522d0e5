#pragma once

#include <QDialog>

class QRadioButton;

namespace tarvin {

// Asks what to do before a reply or forward when the message is not in the active
// groupware account: change the account and retry, or simulate the action.
class TMessageNotAvailableForm : public QDialog {
    Q_OBJECT
public:
    TMessageNotAvailableForm(const QString &activeAccount, const QString &savedAccount,
                             const QString &subject, QWidget *parent = nullptr);

    // The answer once the dialog is closed: 0 cancelled, 1 change the account and retry,
    // 3 simulate the reply or forward.
    int Answer() const;

    // Runs the dialog through the desktop services and returns its answer; 0 when the parent
    // went while it ran (the dialog goes with it).
    static int Execute(const QString &activeAccount, const QString &savedAccount,
                       const QString &subject, QWidget *parent);

    QRadioButton *ChangeAccountOption() const { return m_optChange; }
    QRadioButton *SimulateOption() const { return m_optSimulate; }

private:
    QRadioButton *m_optChange = nullptr;
    QRadioButton *m_optSimulate = nullptr;
};

} // namespace tarvin
