#pragma once

#include <QStringList>

class QMimeData;

namespace tarvin {

// The clipboard and drag data for a list of files: "text/uri-list" and, for file managers that
// copy or move, "x-special/gnome-copied-files" ("copy" or "cut", then the same URIs), and the
// paths as plain text. The URIs carry the file system's bytes of each path.
QMimeData *FileListMimeData(const QStringList &paths, bool cut);

} // namespace tarvin
