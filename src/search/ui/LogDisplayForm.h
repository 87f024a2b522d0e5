#pragma once

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;

namespace tarvin {

// "File Search Log": the problems met during a search, with "Copy to clipboard" and OK.
class TLogDisplayForm : public QDialog {
    Q_OBJECT
public:
    TLogDisplayForm(const QStringList &lines, QWidget *parent = nullptr);

    QPlainTextEdit *LogText() const { return m_text; }
    QPushButton *CopyButton() const { return m_copy; }
    QPushButton *OkButton() const { return m_ok; }

private:
    QStringList m_lines;
    QPlainTextEdit *m_text;
    QPushButton *m_copy;
    QPushButton *m_ok;
};

} // namespace tarvin
