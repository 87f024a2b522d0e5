#pragma once

#include <QPixmap>

namespace tarvin {

// The message list's pictures, drawn from the SVG resources once and kept for the process.

// Item icons are 16x16, status glyphs 10x16.
inline constexpr int kItemIconSize = 16;
inline constexpr int kStatusGlyphWidth = 10;
inline constexpr int kStatusGlyphHeight = 16;

// The item icon at a position of the item image list; a null pixmap for a position the list
// never uses (only 8 to 37, 72 and 80 are drawn).
const QPixmap &MessageItemIcon(int index);
// The status glyph at a position of the glyph list (0 to 4, 6 and 10); null otherwise.
const QPixmap &MessageStatusGlyph(int index);

} // namespace tarvin
