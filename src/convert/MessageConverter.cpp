#include "convert/MessageConverter.h"

#include "base/Error.h"
#include "convert/FileAttributes.h"
#include "convert/FileTimes.h"
#include "convert/FolderMarker.h"

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace tarvin {

namespace {

QString withTrailingSlash(const QString &folder) {
    if (folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

// The extension test: the text from the last "." is ".pml", in any case.
bool hasMessageExtension(const char *name) {
    const char *dot = strrchr(name, '.');
    return dot && strcasecmp(dot, ".pml") == 0;
}

struct DirCloser {
    void operator()(DIR *dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

} // namespace

bool TMessageConverter::Convert(const QString &folder) {
    Cancel = false;
    Count = 0;
    return processFolder(withTrailingSlash(folder));
}

void TMessageConverter::reportFolderError(const QString &message) {
    if (!OnError)
        throw Error(message);
    OnError(*this, message);
}

// Entries are taken in the order the file system lists them (readdir), as a file manager
// that does not sort would show them.
bool TMessageConverter::processFolder(const QString &folder) {
    const QByteArray nativeFolder = QFile::encodeName(folder);
    QStringList subfolders;
    bool converted = false;
    bool readOnlyMet = false;
    {
        DirHandle dir(opendir(nativeFolder.constData()));
        if (!dir) {
            const int error = errno;
            reportFolderError(QStringLiteral("Cannot list folder %1: %2")
                                  .arg(folder, QString::fromLocal8Bit(strerror(error))));
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
            struct stat st;
            if (fstatat(dirFd, name, &st, 0) != 0 || IsSystemEntry(st))
                continue; // vanished, a dangling link, a device, socket or pipe
            if (S_ISDIR(st.st_mode)) {
                if (!Recursive)
                    continue;
                // Linked folders are not followed: a link back up the tree would never end.
                struct stat linkStatus;
                if (fstatat(dirFd, name, &linkStatus, AT_SYMLINK_NOFOLLOW) == 0 &&
                    S_ISLNK(linkStatus.st_mode))
                    continue;
                subfolders.append(QFile::decodeName(name));
                continue;
            }
            if (!hasMessageExtension(name))
                continue;
            const QString fileName = QFile::decodeName(name);
            const QByteArray nativePath = nativeFolder + name;
            bool onReadOnlyFileSystem;
            if (entry->d_type == DT_LNK) { // a linked file may lie on another file system
                onReadOnlyFileSystem = IsOnReadOnlyFileSystem(nativePath);
            } else {
                if (readOnlyFileSystem < 0)
                    readOnlyFileSystem = IsOnReadOnlyFileSystem(dirFd) ? 1 : 0;
                onReadOnlyFileSystem = readOnlyFileSystem == 1;
            }
            if (IsReadOnly(st, onReadOnlyFileSystem)) {
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
            if (convertFile(fileEntry.Path, nativePath))
                converted = true;
        }
    }

    bool markerWritten = false;
    if (!Cancel && converted && !readOnlyMet) {
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

bool TMessageConverter::convertFile(const QString &path, const QByteArray &nativePath) {
    TDateTime date;
    try {
        date = ReadMessageFileDate(path);
        if (UseUtc)
            date = LocalToUtcWithCurrentOffset(date);
    } catch (const Error &e) {
        if (!OnError)
            throw;
        OnError(*this, e.message());
        return false;
    } catch (const std::exception &e) { // out of memory and the like: this file only
        if (!OnError)
            throw;
        OnError(*this, QString::fromLocal8Bit(e.what()));
        return false;
    }
    // A time that cannot be set is not reported; the file still counts as converted.
    SetLastWriteTime(nativePath, date);
    ++Count;
    return true;
}

bool TMessageConverter::HasMessageFiles(const QString &folder) {
    DirHandle dir(opendir(QFile::encodeName(folder).constData()));
    if (!dir)
        return false;
    const int dirFd = dirfd(dir.get());
    while (const dirent *entry = readdir(dir.get())) {
        if (IsHiddenName(entry->d_name) || !hasMessageExtension(entry->d_name))
            continue;
        struct stat st;
        if (fstatat(dirFd, entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
            return true;
    }
    return false;
}

bool TMessageConverter::MarkerExists(const QString &folder) {
    return FolderMarkerExists(folder);
}

} // namespace tarvin
