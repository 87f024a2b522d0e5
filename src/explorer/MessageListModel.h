#pragma once

#include "explorer/MessageFolderReader.h"
#include "explorer/MessageRowText.h"

#include <QAbstractTableModel>
#include <QString>
#include <memory>
#include <vector>

class QThread;

namespace tarvin {

// Columns of the message list; the order is fixed.
enum TMessageListColumn : int {
    mlcIcons = 0,   // item icon and status glyphs; no sort key
    mlcSubject = 1, // subject; sorted by file name in the desktop's order of names
    mlcDate = 2,    // date text; sorted by last-write time, then by name
    mlcColumnCount = 3,
};

// The order of rows for a sort column and direction: positions into `rows`. The Subject column
// compares whole file names (the code included, so equal subjects order by their codes) with
// the desktop's collation in numeric mode; the Date column compares last-write times, and equal
// times by name. Names the collation holds equal order by their bytes. Descending reverses the
// whole order. Any other column keeps the rows as they are.
std::vector<qsizetype> MessageRowOrder(const TMessageRows &rows, int column, Qt::SortOrder order);

// Everything the painter of one row needs, worked out from the row when asked.
struct TMessageRowView {
    TMessageNameInfo Name;
    int IconIndex = kIconNoFlags;
    TStatusGlyphs Glyphs;
    bool Bold = true;
    QString DateText;
};

// The message list of one folder: one row per message file, holding only what the folder
// listing read (name bytes, attributes, times). Subject, flags, icons and date text are worked
// out again whenever they are asked for.
//
// Listing runs on a worker thread owned by the model: ListFolder() clears the rows, starts the
// listing and returns; rows arrive in batches (rowsInserted), unsorted, and when the listing
// has ended the rows are sorted by the sort column and ListingFinished() is emitted. A further
// ListFolder() or CancelListing() cancels a listing still running; its batches are dropped.
class TMessageListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Role {
        FlagsRole = Qt::UserRole + 1, // int: normalised flag word (0 without flag value)
        IconIndexRole,                // int: item icon position
        ReplyForwardGlyphRole,        // int: status glyph or kGlyphNone
        BoxTypeGlyphRole,             // int
        AttachmentGlyphRole,          // int
        BoldRole,                     // bool: unread
        FileNameRole,                 // QString: file name with extension
        FilePathRole,                 // QString: full path
    };

    explicit TMessageListModel(QObject *parent = nullptr);
    ~TMessageListModel() override;

    // The folder whose files are listed and how its Date column reads the file times.
    QString Folder() const { return m_folder; }
    TFolderDateMode DateMode() const { return m_dateMode; }
    void SetDateMode(TFolderDateMode mode);

    // Starts listing the folder on the worker thread (see above). `batchSize` rows per batch.
    void ListFolder(const QString &folder, qsizetype batchSize = 4096);
    // Lists the folder on the calling thread, through the same code; raises Error.
    void ListFolderNow(const QString &folder);
    // Lists the same folder again on the worker thread and applies the difference to the rows:
    // gone files removed, changed times updated, new files added; then sorts when needed and
    // emits ListingFinished(). For change notifications and Refresh: rows that stay keep their
    // indexes, so selection and the top row survive.
    void RescanFolder();
    void CancelListing();
    bool IsListing() const { return m_listing; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const TMessageRow &Row(int row) const { return m_rows.at(row); }
    QString FileName(int row) const;
    QString FilePath(int row) const;
    // The path in the file system's bytes: names that are not UTF-8 do not survive a QString.
    QByteArray NativeFilePath(int row) const;
    TMessageRowView DescribeRow(int row) const;
    // The Date column's text of a row in the folder's date mode.
    QString DateText(int row) const { return m_dateFormatter.RowText(m_rows.at(row), m_dateMode); }

    // Sorting: sort() keeps the column and direction and reorders the rows (persistent indexes
    // follow them) and clears ResortNeeded. SetSort() only records them (from the settings).
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    void SetSort(int column, Qt::SortOrder order);
    int SortColumn() const { return m_sortColumn; }
    Qt::SortOrder SortOrder() const { return m_sortOrder; }
    // A left click on a header: another sortable column becomes the sort column with the
    // direction unchanged, the sort column flips its direction; then the rows are sorted.
    void HeaderClicked(int column);

    // Changes reported for the listed folder. Added files go to the end and set ResortNeeded;
    // EndUpdate() sorts when it is set. Both return false when nothing changed.
    bool AddFile(const QByteArray &nativeName);
    bool RemoveFile(const QByteArray &nativeName);
    bool ResortNeeded() const { return m_resortNeeded; }
    void EndUpdate();

    // The status bar's count text.
    QString CountText() const { return MessageCountText(m_rows.size()); }
    // The row to select after an update: the row of the quick-view file (RowOfPath); with no
    // quick-view file the first row; -1 for none.
    int RowToSelect(const QString &quickViewFile) const;
    // The row whose path equals `path` exactly, else the first whose path equals it without
    // regard to case, or -1.
    int RowOfPath(const QString &path) const;

signals:
    // The listing started by ListFolder() has ended; `error` is empty unless it failed.
    void ListingFinished(const QString &error);

private:
    void startReading(bool rescan, qsizetype batchSize);
    void receiveRows(TMessageRows &&rows);
    void appendRows(TMessageRows &&rows);
    void applyRescan(TMessageRows &&listed);
    void finishListing(quint64 generation, const QString &error);
    void clearRows();
    TMessageRows takeRows();
    void disposeRows(TMessageRows &&rows);
    QString pathPrefix() const;

    TMessageRows m_rows;
    QString m_folder;
    QByteArray m_nativeFolder;
    TFolderDateMode m_dateMode = TFolderDateMode::NotConverted;
    int m_sortColumn = mlcDate;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_resortNeeded = false;
    bool m_listing = false;
    bool m_rescan = false;     // the running listing is a rescan
    TMessageRows m_rescanRows; // its rows so far
    quint64 m_generation = 0;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    QThread *m_thread = nullptr;
    QObject *m_worker = nullptr; // lives on m_thread
    TDateTextFormatter m_dateFormatter;
};

} // namespace tarvin
