#pragma once

#include <QIcon>
#include <QPixmap>

namespace tarvin {

// The explorer's own pictures, drawn for this program.
enum class TExplorerImage { Open, Close, Find, QuickViewer, Account, Warning };

// A tool bar icon (22x22, and twice that for dense screens).
QIcon ExplorerIcon(TExplorerImage image);
// A picture at the given size.
QPixmap ExplorerPixmap(TExplorerImage image, int size);

} // namespace tarvin
