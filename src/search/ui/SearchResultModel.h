#pragma once

#include "search/SearchCriteria.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QSet>
#include <QStringList>
#include <vector>

namespace tarvin {

// One found file or folder as the result list shows it, read when it was found.
struct TResultRow {
    QString Path;   // folder + "/" + name, the file system's bytes kept (util/NativePath.h)
    QString Folder; // without the trailing "/"
    QString Name;
    bool IsFolder = false;
    qint64 Size = 0;
    qint64 Modified = 0, Accessed = 0, Created = 0; // milliseconds since 1970 (UTC)
    TFileAttributes Attributes;
    QString TypeName;
    QString IconName;
};

// Reads the row of an existing file or folder (a link counts as what it points to). False
// when the path cannot be examined.
bool ReadResultRow(const QString &path, TResultRow &row);

// The hits of a search: one row per found file, with the columns of a file manager's
// detailed list. Rows are sorted by any column; the Name column can be edited, which renames
// the file; rows are dragged out as a list of files.
class TSearchResultModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Path, Size, Type, Modified, Attributes, Accessed, Created, DosName };
    static constexpr int kColumnCount = 9;

    explicit TSearchResultModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    void sort(int column, Qt::SortOrder order) override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override;

    // Adds a row at its place in the current sort order; false when the path is listed.
    bool AddRow(const TResultRow &row);
    // Removes the row of the path; false when it is not listed.
    bool RemovePath(const QString &path);
    void Clear();
    bool Contains(const QString &path) const { return m_paths.contains(path); }
    const TResultRow &Row(int row) const { return m_rows[size_t(row)]; }
    // The paths of the rows of the indexes, in row order, each once.
    QStringList PathsOf(const QModelIndexList &indexes) const;
    // Marks the paths as cut (drawn greyed) until the next call.
    void SetCutPaths(const QStringList &paths);
    bool IsCut(int row) const { return m_cut.contains(m_rows[size_t(row)].Path); }

signals:
    // A rename failed; the text names the file and the reason.
    void RenameFailed(const QString &message);

private:
    bool lessThan(const TResultRow &a, const TResultRow &b) const;
    QIcon iconFor(const TResultRow &row) const;

    std::vector<TResultRow> m_rows;
    QSet<QString> m_paths;
    QSet<QString> m_cut;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    mutable QHash<QString, QIcon> m_icons;
};

} // namespace tarvin
