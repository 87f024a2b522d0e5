#pragma once

#include "explorer/FolderViewStore.h"

#include <QTreeWidget>

class QFileSystemWatcher;
class QTimer;

namespace tarvin {

// The explorer's folder tree: folders only, hidden ones left out, with the home folder, the
// file system root and the mounted volumes as top nodes. Folders are listed when first
// expanded and kept current through change notifications; a change of the selected folder is
// reported 50 ms after it happens, so running through the tree with the keys does not list
// every folder passed.
class TFolderTree : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int kSelectionDelayMs = 50;

    explicit TFolderTree(QWidget *parent = nullptr);

    // Fills the top nodes; runs once.
    void Activate();
    bool IsActive() const { return m_active; }

    // The full path of the selected folder; "" when none is selected.
    QString CurrentFolder() const;
    // Expands down to the folder and selects it; false when it cannot be reached.
    bool SelectFolder(const QString &path);
    // The path an item stands for.
    static QString ItemPath(const QTreeWidgetItem *item);
    QTreeWidgetItem *FindItem(const QString &path, bool expand);

    // The saved state (expanded folders, selection, focus, top folder) and its application.
    TFolderView SaveView() const;
    void ApplyView(const TFolderView &view);

signals:
    // The selected folder changed (50 ms late); "" when nothing is selected.
    void FolderChanged(const QString &path);

private:
    QTreeWidgetItem *addFolderItem(QTreeWidgetItem *parent, const QString &path,
                                   const QString &name, const QIcon &icon);
    void populate(QTreeWidgetItem *item);
    void refreshFolder(const QString &path);
    static bool isPopulated(const QTreeWidgetItem *item);

    QFileSystemWatcher *m_watcher;
    QTimer *m_selectionTimer;
    bool m_active = false;
};

// The small icon of a folder as the tree shows it.
QIcon FolderIcon(const QString &path);

} // namespace tarvin
