#include "dialogs/ui/ProductImages.h"

#include "base/ui/WindowSupport.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

// Resources of a static library are registered explicitly; the call sits outside the
// namespace because it declares a global function.
static void InitDialogImages() {
    Q_INIT_RESOURCE(dialogs_images);
}

namespace tarvin {

namespace {

QPixmap RenderDialogSvg(const QString &path, QSize size) {
    InitDialogImages();
    return RenderSvg(path, size);
}

} // namespace

QPixmap ProductBanner() {
    return RenderDialogSvg(QStringLiteral(":/tarvin/dialogs/images/banner.svg"), QSize(360, 42));
}

QPixmap GlobeFrame(int frame) {
    constexpr double pi = std::numbers::pi;
    QPixmap pixmap(60, 57);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const QPointF centre(30, 28.5);
    const double radius = 24;
    QRadialGradient sea(centre - QPointF(8, 8), radius * 1.6);
    sea.setColorAt(0, QColor(140, 196, 240));
    sea.setColorAt(1, QColor(25, 80, 150));
    painter.setPen(QPen(QColor(15, 45, 90), 1.2));
    painter.setBrush(sea);
    painter.drawEllipse(centre, radius, radius);

    QPainterPath globe;
    globe.addEllipse(centre, radius, radius);
    painter.setClipPath(globe);

    // The globe turns by one meridian spacing over all frames, so the animation loops.
    const int meridians = 6;
    const double step = pi / meridians;
    const double phase = step * (frame % kGlobeFrameCount) / kGlobeFrameCount;

    // Land masses: patches on the sphere, shown while on the front half.
    struct Patch {
        double longitude, latitude, size;
    };
    const Patch land[] = {{0.3, 0.5, 0.45}, {1.4, -0.2, 0.55}, {2.6, 0.3, 0.4},
                          {3.7, -0.5, 0.5}, {4.8, 0.2, 0.6},   {5.7, -0.1, 0.35}};
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(70, 150, 70));
    for (const Patch &p : land) {
        const double lon = p.longitude + phase * meridians;
        const double depth = std::cos(lon) * std::cos(p.latitude);
        if (depth <= 0)
            continue;
        const double x = centre.x() + radius * std::sin(lon) * std::cos(p.latitude);
        const double y = centre.y() - radius * std::sin(p.latitude);
        const double w = radius * p.size * std::max(0.25, std::cos(lon));
        const double h = radius * p.size * 0.7;
        painter.drawEllipse(QPointF(x, y), w / 2, h / 2);
    }

    // Meridians: half-ellipses whose width follows the turning angle.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(230, 240, 255, 150), 0.9));
    for (int i = 0; i < meridians; ++i) {
        const double lon = i * step + phase;
        const double rx = radius * std::cos(lon);
        painter.drawEllipse(centre, std::abs(rx), radius);
    }
    // Parallels.
    for (double lat : {-0.9, -0.45, 0.0, 0.45, 0.9}) {
        const double y = centre.y() - radius * std::sin(lat);
        const double half = radius * std::cos(lat);
        painter.drawLine(QPointF(centre.x() - half, y), QPointF(centre.x() + half, y));
    }
    painter.setClipping(false);

    // Highlight.
    QRadialGradient shine(centre - QPointF(9, 10), 12);
    shine.setColorAt(0, QColor(255, 255, 255, 110));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shine);
    painter.drawEllipse(centre, radius, radius);
    return pixmap;
}

} // namespace tarvin
