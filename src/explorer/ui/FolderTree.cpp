#include "explorer/ui/FolderTree.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QScrollBar>
#include <QSet>
#include <QStorageInfo>
#include <QTimer>

namespace tarvin {

namespace {

constexpr int kPathRole = Qt::UserRole + 1;
constexpr int kPopulatedRole = Qt::UserRole + 2;

QIcon themeIcon(const char *name, QFileIconProvider::IconType fallback) {
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(name));
    return icon.isNull() ? QFileIconProvider().icon(fallback) : icon;
}

QString cleanPath(const QString &path) {
    QString clean = QDir::cleanPath(path);
    return clean.isEmpty() ? QStringLiteral("/") : clean;
}

// True when `path` lies in `folder` or is it.
bool isWithin(const QString &path, const QString &folder) {
    if (folder == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// The mounted volumes a user browses: removable and network mounts below the usual places.
QList<QStorageInfo> userVolumes() {
    QList<QStorageInfo> volumes;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || !volume.isReady() || volume.isRoot())
            continue;
        if (root.startsWith(QLatin1String("/media/")) || root.startsWith(QLatin1String("/mnt/")) ||
            root.startsWith(QLatin1String("/run/media/")))
            volumes.append(volume);
    }
    return volumes;
}

} // namespace

QIcon FolderIcon(const QString &path) {
    if (path == QDir::homePath())
        return themeIcon("user-home", QFileIconProvider::Folder);
    if (path == QLatin1String("/"))
        return themeIcon("drive-harddisk", QFileIconProvider::Drive);
    return themeIcon("folder", QFileIconProvider::Folder);
}

TFolderTree::TFolderTree(QWidget *parent)
    : QTreeWidget(parent), m_watcher(new QFileSystemWatcher(this)),
      m_selectionTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("vetFolders"));
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_selectionTimer->setSingleShot(true);
    m_selectionTimer->setInterval(kSelectionDelayMs);
    connect(m_selectionTimer, &QTimer::timeout, this,
            [this] { emit FolderChanged(CurrentFolder()); });
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        if (current)
            m_selectionTimer->start();
    });
    connect(this, &QTreeWidget::itemExpanded, this, &TFolderTree::populate);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &TFolderTree::refreshFolder);
}

void TFolderTree::Activate() {
    if (m_active)
        return;
    m_active = true;
    const QString home = cleanPath(QDir::homePath());
    addFolderItem(nullptr, home, QStringLiteral("Home"), FolderIcon(home));
    addFolderItem(nullptr, QStringLiteral("/"), QStringLiteral("File System"),
                  FolderIcon(QStringLiteral("/")));
    for (const QStorageInfo &volume : userVolumes()) {
        // A volume without a label is named by its mount point's last part.
        QString name = volume.displayName();
        if (name.isEmpty() || name == volume.rootPath())
            name = QFileInfo(volume.rootPath()).fileName();
        addFolderItem(nullptr, cleanPath(volume.rootPath()), name,
                      themeIcon("drive-removable-media", QFileIconProvider::Drive));
    }
}

QTreeWidgetItem *TFolderTree::addFolderItem(QTreeWidgetItem *parent, const QString &path,
                                            const QString &name, const QIcon &icon) {
    auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, name);
    item->setIcon(0, icon);
    item->setToolTip(0, path);
    item->setData(0, kPathRole, path);
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

QString TFolderTree::ItemPath(const QTreeWidgetItem *item) {
    return item ? item->data(0, kPathRole).toString() : QString();
}

bool TFolderTree::isPopulated(const QTreeWidgetItem *item) {
    return item->data(0, kPopulatedRole).toBool();
}

QString TFolderTree::CurrentFolder() const {
    const QTreeWidgetItem *item = currentItem();
    if (!item || !item->isSelected())
        return {};
    return ItemPath(item);
}

void TFolderTree::populate(QTreeWidgetItem *item) {
    if (!item || isPopulated(item))
        return;
    item->setData(0, kPopulatedRole, true);
    const QString path = ItemPath(item);
    const QDir dir(path);
    // Hidden folders (names starting with ".") stay out: QDir leaves them out unless asked.
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    const QIcon icon = FolderIcon(QStringLiteral("folder"));
    for (const QFileInfo &entry : entries)
        addFolderItem(item, cleanPath(entry.absoluteFilePath()), entry.fileName(), icon);
    if (entries.isEmpty())
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    if (QFileInfo(path).isDir())
        m_watcher->addPath(path);
}

void TFolderTree::refreshFolder(const QString &changed) {
    const QString path = cleanPath(changed);
    QList<QTreeWidgetItem *> items;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem *top = topLevelItem(i);
        if (!isWithin(path, ItemPath(top)))
            continue;
        // Walk down to the item of the changed folder, through populated items only.
        QTreeWidgetItem *item = top;
        while (item && ItemPath(item) != path) {
            QTreeWidgetItem *next = nullptr;
            for (int c = 0; c < item->childCount(); ++c)
                if (isWithin(path, ItemPath(item->child(c)))) {
                    next = item->child(c);
                    break;
                }
            item = next;
        }
        if (item && isPopulated(item))
            items.append(item);
    }
    if (!QFileInfo(path).isDir()) {
        m_watcher->removePath(path);
        return;
    }
    const QFileInfoList entries =
        QDir(path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (QTreeWidgetItem *item : items) {
        QSet<QString> present;
        for (const QFileInfo &entry : entries)
            present.insert(cleanPath(entry.absoluteFilePath()));
        QSet<QString> shown;
        for (int c = item->childCount() - 1; c >= 0; --c) {
            const QString childPath = ItemPath(item->child(c));
            if (!present.contains(childPath))
                delete item->takeChild(c);
            else
                shown.insert(childPath);
        }
        for (const QFileInfo &entry : entries) {
            const QString childPath = cleanPath(entry.absoluteFilePath());
            if (shown.contains(childPath))
                continue;
            // Keep the children in name order.
            int at = 0;
            while (at < item->childCount() &&
                   item->child(at)->text(0).compare(entry.fileName(), Qt::CaseInsensitive) < 0)
                ++at;
            auto *child = new QTreeWidgetItem;
            item->insertChild(at, child);
            child->setText(0, entry.fileName());
            child->setIcon(0, FolderIcon(QStringLiteral("folder")));
            child->setToolTip(0, childPath);
            child->setData(0, kPathRole, childPath);
            child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        }
        item->setChildIndicatorPolicy(item->childCount() > 0
                                          ? QTreeWidgetItem::ShowIndicator
                                          : QTreeWidgetItem::DontShowIndicatorWhenChildless);
    }
}

QTreeWidgetItem *TFolderTree::FindItem(const QString &rawPath, bool expand) {
    const QString path = cleanPath(rawPath);
    // The top node that holds the path most closely (home before the root).
    QTreeWidgetItem *best = nullptr;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem *top = topLevelItem(i);
        const QString topPath = ItemPath(top);
        if (isWithin(path, topPath) && (!best || topPath.size() > ItemPath(best).size()))
            best = top;
    }
    QTreeWidgetItem *item = best;
    while (item && ItemPath(item) != path) {
        populate(item);
        if (expand)
            item->setExpanded(true);
        QTreeWidgetItem *next = nullptr;
        for (int c = 0; c < item->childCount(); ++c)
            if (isWithin(path, ItemPath(item->child(c)))) {
                next = item->child(c);
                break;
            }
        item = next;
    }
    return item;
}

bool TFolderTree::SelectFolder(const QString &path) {
    QTreeWidgetItem *item = FindItem(path, true);
    if (!item)
        return false;
    setCurrentItem(item);
    item->setSelected(true);
    scrollToItem(item);
    return true;
}

TFolderView TFolderTree::SaveView() const {
    TFolderView view;
    QList<QTreeWidgetItem *> pending;
    for (int i = 0; i < topLevelItemCount(); ++i)
        pending.append(topLevelItem(i));
    while (!pending.isEmpty()) {
        QTreeWidgetItem *item = pending.takeFirst();
        if (!item->isExpanded())
            continue;
        view.Expanded.append(ItemPath(item));
        for (int c = 0; c < item->childCount(); ++c)
            pending.append(item->child(c));
    }
    view.Selected = CurrentFolder();
    view.Focused = ItemPath(currentItem());
    view.Top = ItemPath(itemAt(0, 0));
    return view;
}

void TFolderTree::ApplyView(const TFolderView &view) {
    for (const QString &folder : view.Expanded)
        if (QTreeWidgetItem *item = FindItem(folder, true))
            item->setExpanded(true);
    const QString focus = view.Selected.isEmpty() ? view.Focused : view.Selected;
    if (!focus.isEmpty())
        SelectFolder(focus);
    if (QTreeWidgetItem *top = view.Top.isEmpty() ? nullptr : FindItem(view.Top, false))
        scrollToItem(top, QAbstractItemView::PositionAtTop);
}

} // namespace tarvin
