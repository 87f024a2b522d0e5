#include "search/DesktopLink.h"

#include "base/Error.h"
#include "util/NativePath.h"
#include "util/SafeFileName.h"

#include <QMimeDatabase>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tarvin {

namespace {

constexpr int kMaxLinkIndex = 20;

// A desktop entry value: backslash and control characters escaped.
QByteArray escapeValue(const QString &value) {
    QByteArray result;
    for (const char c : EncodeNativePath(DisplayPath(value))) {
        switch (c) {
        case '\\':
            result += "\\\\";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\t':
            result += "\\t";
            break;
        default:
            result += c;
        }
    }
    return result;
}

QString fileNameOf(const QString &path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

QString DesktopLinkName(const QString &fileName, int index) {
    const QString words =
        index == 0 ? QStringLiteral("Shortcut to") : QStringLiteral("Shortcut (%1) to").arg(index);
    return SafeNameWithSuffix(words + QLatin1Char(' ') + fileName, QStringLiteral(".desktop"));
}

QByteArray DesktopLinkEntry(const QString &target, const QString &iconName) {
    // The URL carries the file system's bytes, percent-encoded.
    const QByteArray url = "file://" + EncodeNativePath(target).toPercentEncoding("/");
    QByteArray entry = "[Desktop Entry]\n"
                       "Version=1.0\n"
                       "Type=Link\n";
    entry += "Name=" + escapeValue(fileNameOf(target)) + '\n';
    entry += "URL=" + url + '\n';
    if (!iconName.isEmpty())
        entry += "Icon=" + escapeValue(iconName) + '\n';
    return entry;
}

QString CreateDesktopLink(const QString &folder, const QString &target) {
    const QString iconName = QMimeDatabase().mimeTypeForFile(target).iconName();
    const QByteArray entry = DesktopLinkEntry(target, iconName);
    const QString name = fileNameOf(target);
    for (int index = 0; index <= kMaxLinkIndex; ++index) {
        const QString path = folder + QLatin1Char('/') + DesktopLinkName(name, index);
        const QByteArray native = EncodeNativePath(path);
        // O_EXCL: an existing entry, a dangling link included, is never written over.
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0755);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            throw Error(QStringLiteral("Cannot create file \"%1\". %2")
                            .arg(DisplayPath(path), QString::fromLocal8Bit(strerror(errno))));
        }
        qsizetype written = 0;
        while (written < entry.size()) {
            const ssize_t n = ::write(fd, entry.constData() + written, entry.size() - written);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                const int error = errno;
                ::close(fd);
                ::unlink(native.constData());
                throw Error(QStringLiteral("Cannot create file \"%1\". %2")
                                .arg(DisplayPath(path), QString::fromLocal8Bit(strerror(error))));
            }
            written += n;
        }
        ::close(fd);
        return path;
    }
    return QString();
}

} // namespace tarvin
