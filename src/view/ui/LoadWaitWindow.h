#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tarvin {

// The small window that appears while a message file takes long to read for a new viewer
// window: it names the file, shows a busy bar and offers Cancel (also Esc and closing the
// window). It blocks nothing; the program's other windows keep working.
class TLoadWaitWindow : public QDialog {
    Q_OBJECT
public:
    explicit TLoadWaitWindow(const QString &fileName, QWidget *parent = nullptr);

    QLabel *TextLabel() const { return m_text; }
    QPushButton *CancelButton() const { return m_cancel; }

signals:
    // The user gave up waiting (once).
    void Cancelled();

protected:
    void reject() override;

private:
    QLabel *m_text = nullptr;
    QPushButton *m_cancel = nullptr;
    bool m_cancelled = false;
};

} // namespace tarvin
