#pragma once

#include "support/PmlWriter.h"
#include "util/DateTime.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

#include <ostream>

// Readable QString values in test failure messages.
inline std::ostream &operator<<(std::ostream &out, const QString &text) {
    return out << text.toStdString();
}
inline std::ostream &operator<<(std::ostream &out, const QStringList &list) {
    return out << list.join(QStringLiteral(" | ")).toStdString();
}

namespace tarvin::test {

// Sets TZ for the life of the object and restores the earlier value.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char *zone) {
        if (const char *old = getenv("TZ"))
            m_old = QByteArray(old);
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (m_old)
            setenv("TZ", m_old->constData(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone &) = delete;
    ScopedTimeZone &operator=(const ScopedTimeZone &) = delete;

private:
    std::optional<QByteArray> m_old;
};

inline QByteArray ReadAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

inline struct stat StatOf(const QString &path) {
    struct stat st {};
    stat(QFile::encodeName(path).constData(), &st);
    return st;
}

inline qint64 MTimeMSecs(const QString &path) {
    struct stat st = StatOf(path);
    return static_cast<qint64>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
}

inline qint64 ATimeMSecs(const QString &path) {
    struct stat st = StatOf(path);
    return static_cast<qint64>(st.st_atim.tv_sec) * 1000 + st.st_atim.tv_nsec / 1000000;
}

// The value as an ISO basic date-time as message files write it.
inline QString IsoBasic(TDateTime value) {
    DateTimeParts p = DecodeDateTime(value);
    return QString::asprintf("%04d%02d%02dT%02d%02d%02d", p.year, p.month, p.day, p.hour, p.minute,
                             p.second);
}

// A received mail whose message date is `date`.
inline void WriteMail(const QString &path, TDateTime date) {
    PmlWriter(mtMail).SetItem("date-delivered", IsoBasic(date)).WriteFile(path);
}

// A file that is no message: loading it fails.
inline void WriteBroken(const QString &path) {
    WriteBytes(path, "<message><id>");
}

// The last-write time of a file as a date-time taken as if UTC.
inline TDateTime MTimeAsDateTime(const QString &path) {
    return UnixMSecsToDateTime(MTimeMSecs(path));
}

// Marks a file's last-write time so that untouched files can be told apart.
inline void SetMTimeMarker(const QString &path, qint64 seconds = 86400) {
    struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

// The folder's entries in the order the file system lists them, hidden ones left out.
inline QStringList ListingOrder(const QString &folder) {
    QStringList names;
    if (DIR *dir = opendir(QFile::encodeName(folder).constData())) {
        while (const dirent *entry = readdir(dir))
            if (entry->d_name[0] != '.')
                names.append(QFile::decodeName(entry->d_name));
        closedir(dir);
    }
    return names;
}

} // namespace tarvin::test
