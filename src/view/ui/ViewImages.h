#pragma once

#include <QIcon>
#include <QPixmap>

namespace tarvin {

// The product's own pictures, compiled into the program as resources.

// Number of fixed attachment pictures (0 envelope, 1 calendar with clock, 2 check list,
// 3 note pad with pencil, 4 telephone, 5 document with arrow, 6 greyed hatched page).
constexpr int kAttachmentImageCount = 7;
// A fixed 32x32 attachment picture; a null pixmap for an index outside 0..6.
QPixmap AttachmentImage(int index);

// The 32x32 picture of a file whose type the desktop has no icon for.
QPixmap GenericFileImage();

// Number of toolbar images (0 close, 1 reply, 2 forward, 3 print, 4 message,
// 5 properties, 6 save log, 7 HTML, 8 plain text).
constexpr int kToolbarImageCount = 9;
// A 22x22 toolbar image; a null icon for an index outside 0..8.
QIcon ToolbarImage(int index);

} // namespace tarvin
