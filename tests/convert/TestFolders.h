#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <sys/stat.h>

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

} // namespace tarvin::test
