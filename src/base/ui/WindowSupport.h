#pragma once

#include <QIcon>
#include <QPixmap>

class QWidget;

namespace tarvin {

// What every Tarvin window shares: the product's icon, SVG pictures and placement.

// Renders an SVG file (a resource or a file) into a transparent pixmap of the given size;
// a transparent pixmap when the file cannot be read.
QPixmap RenderSvg(const QString &path, QSize size);

// The window icon of every Tarvin window.
QIcon ProductIcon();

// Desktops without an icon theme of their own (bare X sessions) still get the freedesktop
// type icons of the standard theme when it is installed. Call it before the first themed icon
// is looked up: the icon loader keeps what it found.
void UseStandardIconFallback();

// Moves the window so that its frame is centred on the available area of its parent's screen
// (the primary screen without a parent).
void CentreOnScreen(QWidget *window);

} // namespace tarvin
