#include "search/ui/SearchAnimation.h"

#include "base/ui/WindowSupport.h"

#include <QPainter>
#include <QTimer>
#include <cmath>

// Resources of a static library are registered explicitly; the call sits outside the
// namespace because it declares a global function.
static void InitSearchImages() {
    Q_INIT_RESOURCE(search_images);
}

namespace tarvin {

namespace {
constexpr int kFrames = 16;
constexpr int kFrameMs = 80;
constexpr int kWidth = 64, kHeight = 52;
} // namespace

namespace {
// Runs before the pictures are rendered.
bool registerImages() {
    InitSearchImages();
    return true;
}
} // namespace

TSearchAnimation::TSearchAnimation(QWidget *parent)
    : QWidget(parent), m_registered(registerImages()),
      m_folder(RenderSvg(QStringLiteral(":/tarvin/search/images/find_folder.svg"), {48, 40})),
      m_glass(RenderSvg(QStringLiteral(":/tarvin/search/images/find_glass.svg"), {24, 24})),
      m_timer(new QTimer(this)) {
    m_timer->setInterval(kFrameMs);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % kFrames;
        update();
    });
    setFixedSize(kWidth, kHeight);
}

void TSearchAnimation::Start() {
    m_frame = 0;
    m_timer->start();
    update();
}

void TSearchAnimation::Stop() {
    m_timer->stop();
    update();
}

bool TSearchAnimation::IsRunning() const {
    return m_timer->isActive();
}

QSize TSearchAnimation::sizeHint() const {
    return {kWidth, kHeight};
}

void TSearchAnimation::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QPoint folderAt((width() - m_folder.width()) / 2, height() - m_folder.height() - 2);
    painter.drawPixmap(folderAt, m_folder);
    if (!m_timer->isActive())
        return;
    const double angle = 2 * M_PI * m_frame / kFrames;
    const QPoint centre = folderAt + QPoint(20, 22);
    const QPoint glassAt =
        centre +
        QPoint(int(std::lround(10 * std::cos(angle))), int(std::lround(7 * std::sin(angle)))) -
        QPoint(9, 9);
    painter.drawPixmap(glassAt, m_glass);
}

} // namespace tarvin
