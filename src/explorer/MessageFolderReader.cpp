#include "explorer/MessageFolderReader.h"

#include "base/Error.h"
#include "convert/FileAttributes.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace tarvin {

namespace {

struct DirCloser {
    void operator()(DIR *dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

qint64 nanoseconds(const struct statx_timestamp &time) {
    return qint64(time.tv_sec) * 1000000000 + qint64(time.tv_nsec);
}

// Fills `row` from the entry's status; false when it is no regular file or cannot be examined.
// `readOnlyFileSystem` is the folder's (-1 until asked); a link may lead to another one.
bool readRow(int dirFd, const QByteArray &nativeFolder, const char *name, size_t nameLength,
             bool isLink, int &readOnlyFileSystem, TMessageRow &row) {
    struct statx status;
    // Links are followed, so a link to a message file lists as that file.
    if (statx(dirFd, name, AT_STATX_SYNC_AS_STAT,
              STATX_TYPE | STATX_MODE | STATX_UID | STATX_GID | STATX_MTIME | STATX_BTIME,
              &status) != 0)
        return false; // vanished, or a dangling link
    if (!S_ISREG(status.stx_mode))
        return false;
    struct stat st = {};
    st.st_mode = status.stx_mode;
    st.st_uid = status.stx_uid;
    st.st_gid = status.stx_gid;
    bool onReadOnlyFileSystem;
    if (isLink) {
        onReadOnlyFileSystem = IsOnReadOnlyFileSystem(nativeFolder + '/' + name);
    } else {
        if (readOnlyFileSystem < 0)
            readOnlyFileSystem = IsOnReadOnlyFileSystem(dirFd) ? 1 : 0;
        onReadOnlyFileSystem = readOnlyFileSystem == 1;
    }
    row.Name = QByteArray(name, qsizetype(nameLength));
    row.LastWriteTime = nanoseconds(status.stx_mtime);
    // File systems without birth times (and old kernels) leave STATX_BTIME out of the mask.
    row.CreationTime =
        (status.stx_mask & STATX_BTIME) ? nanoseconds(status.stx_btime) : row.LastWriteTime;
    row.Attributes = faArchive | (IsReadOnly(st, onReadOnlyFileSystem) ? faReadOnly : 0);
    return true;
}

bool isListableName(const char *name) {
    return !IsHiddenName(name) && HasMessageExtension(name);
}

} // namespace

bool HasMessageExtension(const char *name) {
    const char *dot = strrchr(name, '.');
    return dot && strcasecmp(dot, ".pml") == 0;
}

bool ReadMessageFolder(const QByteArray &nativeFolder, const std::atomic<bool> &cancel,
                       const TMessageRowBatchHandler &onBatch, qsizetype batchSize) {
    DirHandle dir(opendir(nativeFolder.constData()));
    if (!dir) {
        const int error = errno;
        throw Error(
            QStringLiteral("Cannot list folder %1: %2")
                .arg(QFile::decodeName(nativeFolder), QString::fromLocal8Bit(strerror(error))));
    }
    const int dirFd = dirfd(dir.get());
    int readOnlyFileSystem = -1;
    batchSize = std::max<qsizetype>(batchSize, 1);
    qsizetype currentBatch = std::min(kFirstBatchSize, batchSize);
    TMessageRows batch;
    batch.reserve(currentBatch);
    while (!cancel.load(std::memory_order_relaxed)) {
        errno = 0;
        const dirent *entry = readdir(dir.get());
        if (!entry)
            break;
        const char *name = entry->d_name;
        // Folders, devices, sockets and pipes are known from the entry type on most file
        // systems; links and unknown types are decided by their status.
        if (entry->d_type != DT_REG && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
            continue;
        if (!isListableName(name))
            continue;
        TMessageRow row;
        if (!readRow(dirFd, nativeFolder, name, strlen(name), entry->d_type == DT_LNK,
                     readOnlyFileSystem, row))
            continue;
        batch.append(std::move(row));
        if (batch.size() >= currentBatch) {
            onBatch(std::move(batch));
            currentBatch = std::min(currentBatch * 2, batchSize);
            batch = TMessageRows();
            batch.reserve(currentBatch);
        }
    }
    if (cancel.load(std::memory_order_relaxed))
        return false;
    if (!batch.isEmpty())
        onBatch(std::move(batch));
    return true;
}

bool ReadMessageRow(const QByteArray &nativeFolder, const QByteArray &name, TMessageRow &row) {
    if (name.contains('/') || !isListableName(name.constData()))
        return false;
    const int dirFd = open(nativeFolder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return false;
    int readOnlyFileSystem = -1;
    struct stat linkStatus;
    const bool isLink = fstatat(dirFd, name.constData(), &linkStatus, AT_SYMLINK_NOFOLLOW) == 0 &&
                        S_ISLNK(linkStatus.st_mode);
    const bool ok = readRow(dirFd, nativeFolder, name.constData(), size_t(name.size()), isLink,
                            readOnlyFileSystem, row);
    close(dirFd);
    return ok;
}

} // namespace tarvin
