#pragma once

#include <QIcon>
#include <QPixmap>

namespace tarvin {

// Renders an SVG file (a resource or a file) into a transparent pixmap of the given size;
// a transparent pixmap when the file cannot be read.
QPixmap RenderSvg(const QString &path, QSize size);

// The window icon of every Tarvin window.
QIcon ProductIcon();

// The product banner of the about box and splash window, 360x42.
QPixmap ProductBanner();

// The turning globe of the wait window: frame 0 .. kGlobeFrameCount - 1, 60x57 pixels.
constexpr int kGlobeFrameCount = 21;
QPixmap GlobeFrame(int frame);

} // namespace tarvin
