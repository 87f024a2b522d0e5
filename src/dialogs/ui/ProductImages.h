#pragma once

#include <QPixmap>

namespace tarvin {

// The product banner of the about box and splash window, 360x42.
QPixmap ProductBanner();

// The turning globe of the wait window: frame 0 .. kGlobeFrameCount - 1, 60x57 pixels.
constexpr int kGlobeFrameCount = 21;
QPixmap GlobeFrame(int frame);

} // namespace tarvin
