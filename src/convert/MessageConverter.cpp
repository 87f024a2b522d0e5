#include "convert/MessageConverter.h"

#include "base/Error.h"
#include "convert/FileAttributes.h"
#include "convert/FileTimes.h"
#include "convert/FolderMarker.h"
#include "util/NativePath.h"

#include <QStringList>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace tarvin {

namespace {

// The extension test: the text from the last "." is ".pml", in any case.
bool hasMessageExtension(const char *name) {
    const char *dot = strrchr(name, '.');
    return dot && strcasecmp(dot, ".pml") == 0;
}

// Every problem line names its file: a reason that does not (a value that cannot be read, a
// stream that cannot be inflated, a date out of range) is put in the form of a load error.
QString namingFile(const QString &path, const QString &reason) {
    const QString location = DisplayPath(path);
    const QString prefix = QStringLiteral("Cannot load file:\r\n\r\n") + location;
    if (reason.startsWith(prefix))
        return reason;
    return prefix + QStringLiteral("\r\n\r\n") + reason;
}

struct DirCloser {
    void operator()(DIR *dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

} // namespace

bool TMessageConverter::Convert(const QString &folder) {
    Cancel = false;
    Count = 0;
    return processFolder(WithTrailingSlash(folder));
}

void TMessageConverter::reportFolderError(const QString &message) {
    if (!OnError)
        throw Error(message);
    OnError(*this, message);
}

// Entries are taken in the order the file system lists them (readdir), as a file manager
// that does not sort would show them.
bool TMessageConverter::processFolder(const QString &folder) {
    const QByteArray nativeFolder = EncodeNativePath(folder);
    QStringList subfolders;
    bool converted = false;
    bool readOnlyMet = false;
    bool timeNotSet = false;
    {
        DirHandle dir(opendir(nativeFolder.constData()));
        if (!dir) {
            const int error = errno;
            reportFolderError(
                QStringLiteral("Cannot list folder %1: %2")
                    .arg(DisplayPath(folder), QString::fromLocal8Bit(strerror(error))));
            return false;
        }
        const int dirFd = dirfd(dir.get());
        int readOnlyFileSystem = -1; // decided on the first message file
        while (!Cancel) {
            const dirent *entry = readdir(dir.get());
            if (!entry)
                break;
            const char *name = entry->d_name;
            if (IsHiddenName(name)) // also "." and ".."
                continue;
            // Decided from the entry itself: a symbolic link is a system entry, neither a
            // message file nor a folder, so no link is followed (its target may lie outside
            // the folder, and a linked folder could lead back up the tree).
            struct stat st;
            if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || IsSystemEntry(st))
                continue; // vanished, a link, a device, socket or pipe
            if (S_ISDIR(st.st_mode)) {
                if (Recursive)
                    subfolders.append(DecodeNativePath(name));
                continue;
            }
            if (!hasMessageExtension(name))
                continue;
            const QString fileName = DecodeNativePath(name);
            const QByteArray nativePath = nativeFolder + name;
            if (readOnlyFileSystem < 0)
                readOnlyFileSystem = IsOnReadOnlyFileSystem(dirFd) ? 1 : 0;
            if (IsReadOnly(st, readOnlyFileSystem == 1)) {
                readOnlyMet = true;
                if (OnReadOnly)
                    OnReadOnly(*this, folder);
                break; // the rest of the listing is not looked at
            }
            TConverterFileEntry fileEntry{fileName, folder + fileName};
            if (OnFile)
                OnFile(*this, fileEntry, Cancel);
            if (Cancel)
                break;
            switch (convertFile(fileEntry.Path, nativePath)) {
            case TFileResult::Converted:
                converted = true;
                break;
            case TFileResult::TimeNotSet:
                timeNotSet = true;
                break;
            case TFileResult::Failed:
                break;
            }
        }
    }

    bool markerWritten = false;
    if (!Cancel && converted && !readOnlyMet && !timeNotSet) {
        WriteFolderMarker(folder, UseUtc);
        markerWritten = true;
    }
    for (const QString &name : std::as_const(subfolders)) {
        if (Cancel)
            break;
        processFolder(folder + name + QLatin1Char('/'));
    }
    return markerWritten;
}

TMessageConverter::TFileResult TMessageConverter::convertFile(const QString &path,
                                                              const QByteArray &nativePath) {
    TDateTime date;
    try {
        date = ReadMessageFileDate(path);
        if (UseUtc)
            date = LocalToUtcWithCurrentOffset(date);
    } catch (const Error &e) {
        if (!OnError)
            throw;
        OnError(*this, namingFile(path, e.message()));
        return TFileResult::Failed;
    } catch (const std::exception &e) { // out of memory and the like: this file only
        if (!OnError)
            throw;
        OnError(*this, namingFile(path, QString::fromLocal8Bit(e.what())));
        return TFileResult::Failed;
    }
    if (!SetLastWriteTime(nativePath, date)) {
        // Only the owner may set a file's times: a file that others may write still fails.
        const int error = errno;
        const QString message =
            QStringLiteral("Cannot set the time of file %1: %2")
                .arg(DisplayPath(path), QString::fromLocal8Bit(strerror(error)));
        if (OnTimeNotSet)
            OnTimeNotSet(*this, message);
        else if (OnError)
            OnError(*this, message);
        else
            throw Error(message);
        return TFileResult::TimeNotSet;
    }
    ++Count;
    return TFileResult::Converted;
}

bool TMessageConverter::HasMessageFiles(const QString &folder) {
    DirHandle dir(opendir(EncodeNativePath(folder).constData()));
    if (!dir)
        return false;
    const int dirFd = dirfd(dir.get());
    while (const dirent *entry = readdir(dir.get())) {
        if (IsHiddenName(entry->d_name) || !hasMessageExtension(entry->d_name))
            continue;
        struct stat st;
        if (fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            return true;
    }
    return false;
}

bool TMessageConverter::MarkerExists(const QString &folder) {
    return FolderMarkerExists(folder);
}

} // namespace tarvin
