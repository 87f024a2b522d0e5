#include "search/ui/SearchResultModel.h"

#include "convert/FileAttributes.h"
#include "util/DateTime.h"
#include "util/FileListMime.h"
#include "util/NativePath.h"

#include <QApplication>
#include <QCollator>
#include <QDateTime>
#include <QLocale>
#include <QMimeData>
#include <QMimeDatabase>
#include <QPalette>
#include <QStyle>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace tarvin {

namespace {

qint64 msecs(const struct statx_timestamp &t) {
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

QString formatTime(qint64 ms) {
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime);
    return FormatDisplayDateTime(QDateTimeToDateTime(local));
}

QString attributeLetters(TFileAttributes attributes) {
    QString letters;
    if (attributes & TFileAttribute::ReadOnly)
        letters += QLatin1Char('R');
    if (attributes & TFileAttribute::Hidden)
        letters += QLatin1Char('H');
    if (attributes & TFileAttribute::System)
        letters += QLatin1Char('S');
    if (attributes & TFileAttribute::Directory)
        letters += QLatin1Char('D');
    if (attributes & TFileAttribute::Archive)
        letters += QLatin1Char('A');
    return letters;
}

const QCollator &nameCollator() {
    static const QCollator collator = [] {
        QLocale locale;
        if (locale.language() == QLocale::C)
            locale = QLocale(QLocale::English);
        QCollator c(locale);
        c.setNumericMode(true);
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

// Renames without replacing an existing entry.
int renameNoReplace(const QByteArray &from, const QByteArray &to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without the flag: check first.
    struct stat st;
    if (::lstat(to.constData(), &st) == 0)
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

} // namespace

bool ReadResultRow(const QString &path, TResultRow &row) {
    const QByteArray native = EncodeNativePath(path);
    struct statx sx;
    const unsigned mask = STATX_BASIC_STATS | STATX_BTIME;
    if (::statx(AT_FDCWD, native.constData(), 0, mask, &sx) != 0 &&
        ::statx(AT_FDCWD, native.constData(), AT_SYMLINK_NOFOLLOW, mask, &sx) != 0)
        return false;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    row.Path = path;
    row.Folder = slash > 0 ? path.left(slash) : QStringLiteral("/");
    row.Name = path.mid(slash + 1);
    row.IsFolder = S_ISDIR(sx.stx_mode);
    row.Size = row.IsFolder ? 0 : qint64(sx.stx_size);
    row.Modified = msecs(sx.stx_mtime);
    row.Accessed = msecs(sx.stx_atime);
    row.Created = (sx.stx_mask & STATX_BTIME) ? msecs(sx.stx_btime) : row.Modified;

    struct stat st {};
    st.st_mode = sx.stx_mode;
    st.st_uid = sx.stx_uid;
    st.st_gid = sx.stx_gid;
    row.Attributes = {};
    if (IsHiddenName(row.Name))
        row.Attributes |= TFileAttribute::Hidden;
    if (row.IsFolder)
        row.Attributes |= TFileAttribute::Directory;
    else if (S_ISREG(sx.stx_mode))
        row.Attributes |= TFileAttribute::Archive;
    else
        row.Attributes |= TFileAttribute::System;
    if (IsReadOnly(st, IsOnReadOnlyFileSystem(native)))
        row.Attributes |= TFileAttribute::ReadOnly;

    static const QMimeDatabase mimeTypes;
    const QMimeType type =
        row.IsFolder ? mimeTypes.mimeTypeForName(QStringLiteral("inode/directory"))
                     : mimeTypes.mimeTypeForFile(DisplayPath(path), QMimeDatabase::MatchExtension);
    row.IconName = type.iconName();
    const int dot = row.Name.lastIndexOf(QLatin1Char('.'));
    if (!row.IsFolder && type.isDefault())
        row.TypeName = dot > 0
                           ? DisplayPath(row.Name.mid(dot + 1)).toUpper() + QStringLiteral(" File")
                           : QStringLiteral("File");
    else
        row.TypeName = type.comment();
    return true;
}

TSearchResultModel::TSearchResultModel(QObject *parent) : QAbstractTableModel(parent) {}

int TSearchResultModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TSearchResultModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TSearchResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return section == Size ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role != Qt::DisplayRole)
        return {};
    static const char *const kCaptions[kColumnCount] = {"Name",     "Path",     "Size",
                                                        "Type",     "Modified", "Attributes",
                                                        "Accessed", "Created",  "DOS Name"};
    return (section >= 0 && section < kColumnCount) ? QString::fromLatin1(kCaptions[section])
                                                    : QVariant();
}

QVariant TSearchResultModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TResultRow &row = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Name:
        case DosName:
            return DisplayPath(row.Name);
        case Path:
            return DisplayPath(row.Folder);
        case Size:
            if (row.IsFolder)
                return QString();
            return QStringLiteral("%L1 KB").arg((row.Size + 1023) / 1024);
        case Type:
            return row.TypeName;
        case Modified:
            return formatTime(row.Modified);
        case Attributes:
            return attributeLetters(row.Attributes);
        case Accessed:
            return formatTime(row.Accessed);
        case Created:
            return formatTime(row.Created);
        }
        return {};
    case Qt::EditRole:
        return index.column() == Name ? DisplayPath(row.Name) : QVariant();
    case Qt::DecorationRole:
        return index.column() == Name ? QVariant(iconFor(row)) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == Size ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case Qt::ToolTipRole:
        return index.column() == Name ? DisplayPath(row.Path) : QVariant();
    case Qt::ForegroundRole:
        if (m_cut.contains(row.Path))
            return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    }
    return {};
}

Qt::ItemFlags TSearchResultModel::flags(const QModelIndex &index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid())
        flags |= Qt::ItemIsDragEnabled;
    if (index.isValid() && index.column() == Name)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TSearchResultModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() != Name)
        return false;
    TResultRow &row = m_rows[size_t(index.row())];
    const QString newName = value.toString();
    if (newName.isEmpty() || newName == DisplayPath(row.Name))
        return false;
    if (newName.contains(QLatin1Char('/')) || newName.contains(QChar(0)) ||
        newName == QLatin1String(".") || newName == QLatin1String("..")) {
        emit RenameFailed(QStringLiteral("Cannot rename %1: a file name cannot be \".\" or "
                                         "\"..\" or contain \"/\".")
                              .arg(DisplayPath(row.Name)));
        return false;
    }
    const QString newPath = row.Folder + QLatin1Char('/') + newName;
    const int error = renameNoReplace(EncodeNativePath(row.Path), EncodeNativePath(newPath));
    if (error != 0) {
        emit RenameFailed(
            QStringLiteral("Cannot rename %1 to %2. %3")
                .arg(DisplayPath(row.Name), newName, QString::fromLocal8Bit(strerror(error))));
        return false;
    }
    TResultRow renamed;
    if (!ReadResultRow(newPath, renamed)) {
        renamed = row;
        renamed.Path = newPath;
        renamed.Name = newName;
    }
    m_paths.remove(row.Path);
    m_cut.remove(row.Path);
    m_paths.insert(newPath);
    row = renamed;
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), kColumnCount - 1));
    return true;
}

bool TSearchResultModel::lessThan(const TResultRow &a, const TResultRow &b) const {
    int c = 0;
    switch (m_sortColumn) {
    case Name:
    case DosName:
        c = nameCollator().compare(a.Name, b.Name);
        break;
    case Path:
        c = nameCollator().compare(a.Folder, b.Folder);
        if (c == 0)
            c = nameCollator().compare(a.Name, b.Name);
        break;
    case Size:
        c = a.Size < b.Size ? -1 : (a.Size > b.Size ? 1 : 0);
        break;
    case Type:
        c = nameCollator().compare(a.TypeName, b.TypeName);
        break;
    case Modified:
        c = a.Modified < b.Modified ? -1 : (a.Modified > b.Modified ? 1 : 0);
        break;
    case Attributes:
        c = QString::compare(attributeLetters(a.Attributes), attributeLetters(b.Attributes));
        break;
    case Accessed:
        c = a.Accessed < b.Accessed ? -1 : (a.Accessed > b.Accessed ? 1 : 0);
        break;
    case Created:
        c = a.Created < b.Created ? -1 : (a.Created > b.Created ? 1 : 0);
        break;
    default:
        return false;
    }
    return m_sortOrder == Qt::AscendingOrder ? c < 0 : c > 0;
}

void TSearchResultModel::sort(int column, Qt::SortOrder order) {
    m_sortColumn = column;
    m_sortOrder = order;
    if (column < 0 || m_rows.size() < 2)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> order_(m_rows.size());
    for (size_t i = 0; i < order_.size(); ++i)
        order_[i] = int(i);
    std::stable_sort(order_.begin(), order_.end(), [this](int a, int b) {
        return lessThan(m_rows[size_t(a)], m_rows[size_t(b)]);
    });
    std::vector<TResultRow> sorted;
    sorted.reserve(m_rows.size());
    std::vector<int> newRowOf(m_rows.size());
    for (size_t i = 0; i < order_.size(); ++i) {
        sorted.push_back(std::move(m_rows[size_t(order_[i])]));
        newRowOf[size_t(order_[i])] = int(i);
    }
    m_rows = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after.append(index.isValid() ? this->index(newRowOf[size_t(index.row())], index.column())
                                     : QModelIndex());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool TSearchResultModel::AddRow(const TResultRow &row) {
    if (m_paths.contains(row.Path))
        return false;
    int at = int(m_rows.size());
    if (m_sortColumn >= 0)
        at = int(std::upper_bound(
                     m_rows.begin(), m_rows.end(), row,
                     [this](const TResultRow &a, const TResultRow &b) { return lessThan(a, b); }) -
                 m_rows.begin());
    beginInsertRows({}, at, at);
    m_rows.insert(m_rows.begin() + at, row);
    m_paths.insert(row.Path);
    endInsertRows();
    return true;
}

bool TSearchResultModel::RemovePath(const QString &pathToRemove) {
    const QString path = pathToRemove; // the caller's text may live in the row erased below
    if (!m_paths.contains(path))
        return false;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].Path == path) {
            beginRemoveRows({}, int(i), int(i));
            m_rows.erase(m_rows.begin() + qsizetype(i));
            m_paths.remove(path);
            m_cut.remove(path);
            endRemoveRows();
            return true;
        }
    return false;
}

void TSearchResultModel::Clear() {
    beginResetModel();
    m_rows.clear();
    m_paths.clear();
    m_cut.clear();
    endResetModel();
}

QStringList TSearchResultModel::PathsOf(const QModelIndexList &indexes) const {
    std::vector<int> rows;
    for (const QModelIndex &index : indexes)
        if (index.isValid() && index.row() < rowCount())
            rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QStringList paths;
    for (int row : rows)
        paths << m_rows[size_t(row)].Path;
    return paths;
}

void TSearchResultModel::SetCutPaths(const QStringList &paths) {
    m_cut = QSet<QString>(paths.begin(), paths.end());
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1),
                         {Qt::ForegroundRole});
}

QStringList TSearchResultModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list"), QStringLiteral("x-special/gnome-copied-files"),
            QStringLiteral("text/plain")};
}

QMimeData *TSearchResultModel::mimeData(const QModelIndexList &indexes) const {
    const QStringList paths = PathsOf(indexes);
    return paths.isEmpty() ? nullptr : FileListMimeData(paths, false);
}

Qt::DropActions TSearchResultModel::supportedDragActions() const {
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}

QIcon TSearchResultModel::iconFor(const TResultRow &row) const {
    auto it = m_icons.constFind(row.IconName);
    if (it != m_icons.constEnd())
        return *it;
    const QIcon fallback = QApplication::style()->standardIcon(row.IsFolder ? QStyle::SP_DirIcon
                                                                            : QStyle::SP_FileIcon);
    const QIcon icon = QIcon::fromTheme(row.IconName, fallback);
    m_icons.insert(row.IconName, icon);
    return icon;
}

} // namespace tarvin
