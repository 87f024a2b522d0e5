#include "convert/FolderMarker.h"

#include "base/Error.h"
#include "base/IniFile.h"
#include "util/NativePath.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvin {

QString MarkerFilePath(const QString &folder) {
    return WithTrailingSlash(folder) + QLatin1String(kMarkerFileName);
}

QByteArray MarkerFileContent(bool isTimestampUtc) {
    // The trademark sign is the single byte 0x99 (code page 1252), as Windows readers of
    // these folders expect; the rest is ASCII.
    QByteArray text;
    text += "; This is a system file created by Halvorn\x99 Stowell.\r\n";
    text += ";\r\n";
    text += "; Please keep this file in the same location as the .PML files in this folder.\r\n";
    text += "\r\n";
    text += "[File Options]\r\n";
    text += isTimestampUtc ? "IsTimestampUtc=1\r\n" : "IsTimestampUtc=0\r\n";
    return text;
}

namespace {

// The marker when it is a regular file: a link, folder or anything else is no marker.
bool isRegularFile(const QByteArray &nativePath) {
    struct stat st;
    return ::lstat(nativePath.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool writeAll(int fd, const QByteArray &bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

void WriteFolderMarker(const QString &folder, bool isTimestampUtc) {
    const QString path = MarkerFilePath(folder);
    const QByteArray nativePath = EncodeNativePath(path);
    const Error cannotCreate(QStringLiteral("Cannot create file %1").arg(DisplayPath(path)));
    // Never written through: a link named like the marker would have its target replaced.
    struct stat st;
    if (::lstat(nativePath.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        throw cannotCreate;
    // Written whole under a new name beside it and renamed into place. Neither step follows a
    // link: the new name is created exclusively, and rename replaces the entry itself.
    const QByteArray content = MarkerFileContent(isTimestampUtc);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = nativePath.left(nativePath.lastIndexOf('/') + 1) + '.' + kMarkerFileName + '.' +
                    QByteArray::number(QRandomGenerator::global()->generate(), 16);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        throw cannotCreate;
    const bool written = writeAll(fd, content);
    if (::close(fd) != 0 || !written ||
        ::rename(temporary.constData(), nativePath.constData()) != 0) {
        ::unlink(temporary.constData());
        throw cannotCreate;
    }
}

bool FolderMarkerExists(const QString &folder) {
    return isRegularFile(EncodeNativePath(MarkerFilePath(folder)));
}

TFolderMarker ReadFolderMarker(const QString &folder) {
    TFolderMarker marker;
    const QByteArray nativePath = EncodeNativePath(MarkerFilePath(folder));
    if (!isRegularFile(nativePath))
        return marker;
    marker.Exists = true;
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return marker;
    QFile file;
    struct stat st;
    // A marker is a few lines; anything much larger is not one of ours.
    const bool readable = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= 64 * 1024 &&
                          file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    if (!readable) {
        ::close(fd);
        return marker;
    }
    bool inSection = false;
    for (QByteArray line : file.readAll().split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[')) {
            inSection = line.compare("[File Options]", Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection || line.startsWith(';'))
            continue;
        qsizetype eq = line.indexOf('=');
        if (eq < 0 || line.left(eq).trimmed().compare("IsTimestampUtc", Qt::CaseInsensitive) != 0)
            continue;
        // Read as the settings file reads its integers: text that is not a whole number
        // leaves the key to the reader's default.
        int number = 0;
        if (TryParseIniInteger(QString::fromUtf8(line.mid(eq + 1)), number))
            marker.IsTimestampUtc = number != 0;
        return marker;
    }
    return marker;
}

} // namespace tarvin
