#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <atomic>
#include <cstdint>
#include <functional>

namespace tarvin {

// Attributes of a listed file, with the values the groupware's own tools use.
enum TRowAttribute : uint8_t {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSystem = 0x04,
    faArchive = 0x20, // every regular file
};

// One row of the message list: what the directory entry says about a message file, read once
// when the folder is listed. Nothing derived from the name is kept; the list works subject,
// flags, icons and date text out again whenever it needs them.
struct TMessageRow {
    QByteArray Name;          // the file name as the file system stores it (need not be UTF-8)
    qint64 CreationTime = 0;  // nanoseconds since 1970 UTC: birth time, else last-write time
    qint64 LastWriteTime = 0; // nanoseconds since 1970 UTC
    uint8_t Attributes = 0;   // TRowAttribute bits
};

using TMessageRows = QList<TMessageRow>;

// True when the name's text from its last "." is ".pml", without regard to case.
bool HasMessageExtension(const char *name);

// Lists the message files of one folder (`nativeFolder` in the file system's bytes): regular
// files (also through a link) whose extension is ".pml" in any case, hidden files left out.
// Message files are never opened: one pass over the directory, each entry's times read with
// statx relative to the directory. Rows are handed to `onBatch` in groups that start at
// kFirstBatchSize rows and double up to `batchSize`, and the rest at the end, in the file system's
// listing order. `cancel` is tested before each entry; returns false when it stopped the listing.
// Raises Error when the folder cannot be listed.
inline constexpr qsizetype kFirstBatchSize = 256;
using TMessageRowBatchHandler = std::function<void(TMessageRows &&rows)>;
bool ReadMessageFolder(const QByteArray &nativeFolder, const std::atomic<bool> &cancel,
                       const TMessageRowBatchHandler &onBatch, qsizetype batchSize = 4096);

// Reads one file of a folder as a row (for files reported by change notifications). False when
// it is not a listable message file or cannot be examined.
bool ReadMessageRow(const QByteArray &nativeFolder, const QByteArray &name, TMessageRow &row);

} // namespace tarvin

Q_DECLARE_METATYPE(tarvin::TMessageRows)
