#pragma once

#include <QPixmap>
#include <QWidget>

class QTimer;

namespace tarvin {

// The search animation beside the Find and Stop buttons: a magnifying glass circling over a
// folder while a search runs, the folder alone otherwise.
class TSearchAnimation : public QWidget {
    Q_OBJECT
public:
    explicit TSearchAnimation(QWidget *parent = nullptr);

    void Start();
    void Stop();
    bool IsRunning() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_registered;
    QPixmap m_folder;
    QPixmap m_glass;
    QTimer *m_timer;
    int m_frame = 0;
};

} // namespace tarvin
