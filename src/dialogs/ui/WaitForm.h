#pragma once

#include "dialogs/ui/WindowDisabler.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

namespace tarvin {

// Shows the progress of a long run with a turning globe and offers Cancel (also Esc and
// closing the window). While shown it disables the program's other windows.
class TWaitForm : public QDialog {
    Q_OBJECT
public:
    explicit TWaitForm(QWidget *parent = nullptr);

    // Processes pending window events, then tells whether Cancel was pressed.
    bool IsCancelled();
    // Shows the text and processes pending window events.
    void SetStatusText(const QString &text);

    QLabel *StatusLabel() const { return m_status; }
    QPushButton *CancelButton() const { return m_cancel; }
    int AnimationFrame() const { return m_frame; }
    bool AnimationRunning() const;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void reject() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void NextFrame();

    QLabel *m_status;
    QLabel *m_animation;
    QPushButton *m_cancel;
    QTimer *m_timer;
    int m_frame = 0;
    bool m_cancelled = false;
    TWindowDisabler m_disabler;
};

} // namespace tarvin
