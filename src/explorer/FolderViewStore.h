#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace tarvin {

// The saved state of a folder tree, by view name ("FoldersTreeview" for the explorer's).
struct TFolderView {
    QStringList Expanded; // folders shown expanded
    QString Selected;
    QString Focused;
    QString Top; // the first folder in view
};

using TFolderViews = QMap<QString, TFolderView>;

inline constexpr char kFoldersTreeView[] = "FoldersTreeview";

// "Folders.DAT" is JSON: {"views": {"<name>": {"expanded": [...], "selected": "...",
// "focused": "...", "top": "..."}}}. A missing or unreadable file, or one that is not such
// JSON, gives no views; a folder that no longer exists is skipped by the tree that applies it.
TFolderViews LoadFolderViews(const QString &fileName);
// Writes all views, replacing the file whole. Raises "Cannot create file %s" on failure.
void SaveFolderViews(const QString &fileName, const TFolderViews &views);

} // namespace tarvin
