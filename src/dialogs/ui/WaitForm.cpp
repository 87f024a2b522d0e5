#include "dialogs/ui/WaitForm.h"

#include "base/ui/WindowSupport.h"
#include "dialogs/ui/ProductImages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace tarvin {

TWaitForm::TWaitForm(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("WaitForm"));
    setWindowTitle(QStringLiteral("Please wait..."));
    setWindowIcon(ProductIcon());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::CustomizeWindowHint);
    setFixedSize(320, 98);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_status->setGeometry(8, 8, 256, 40);

    m_animation = new QLabel(this);
    m_animation->setObjectName(QStringLiteral("aniGlobe"));
    m_animation->setGeometry(width() - 60 - 2, 2, 60, 57);
    m_animation->setPixmap(GlobeFrame(0));

    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    m_cancel->resize(75, 25);
    m_cancel->move((width() - m_cancel->width()) / 2, height() - m_cancel->height() - 8);
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });

    m_timer = new QTimer(this);
    m_timer->setInterval(80);
    connect(m_timer, &QTimer::timeout, this, &TWaitForm::NextFrame);

    CentreOnScreen(this);
}

bool TWaitForm::IsCancelled() {
    QPointer<TWaitForm> self(this);
    QApplication::processEvents();
    // A wait window that went while events ran (with its owner) cancels the run.
    return !self || m_cancelled;
}

void TWaitForm::SetStatusText(const QString &text) {
    m_status->setText(text);
    QApplication::processEvents();
}

bool TWaitForm::AnimationRunning() const {
    return m_timer->isActive();
}

void TWaitForm::NextFrame() {
    m_frame = (m_frame + 1) % kGlobeFrameCount;
    m_animation->setPixmap(GlobeFrame(m_frame));
}

void TWaitForm::showEvent(QShowEvent *event) {
    m_disabler.DisableOthers(this);
    QDialog::showEvent(event);
    m_timer->start();
}

void TWaitForm::hideEvent(QHideEvent *event) {
    m_timer->stop();
    QDialog::hideEvent(event);
    m_disabler.EnableAll();
}

// Esc: the same as Cancel; the window stays until the run that owns it hides it.
void TWaitForm::reject() {
    m_cancelled = true;
}

void TWaitForm::closeEvent(QCloseEvent *event) {
    m_cancelled = true;
    event->ignore();
}

} // namespace tarvin
