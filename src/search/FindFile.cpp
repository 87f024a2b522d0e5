#include "search/FindFile.h"

#include "convert/FileAttributes.h"
#include "util/NativePath.h"

#include <QFile>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace tarvin {

namespace {

constexpr qint64 kMSecsPerDay = 86400000;

// A local date-time split into whole days and milliseconds of the day, so that bounds and file
// times compare exactly.
struct DayTime {
    qint64 Day = 0;
    qint64 MSec = 0;
};

DayTime splitBound(TDateTime value) {
    DayTime result;
    result.Day = qint64(std::floor(value));
    result.MSec = qint64(std::llround((value - double(result.Day)) * double(kMSecsPerDay)));
    if (result.MSec >= kMSecsPerDay) {
        ++result.Day;
        result.MSec -= kMSecsPerDay;
    }
    return result;
}

// A file time as local wall-clock days and milliseconds.
DayTime localDayTime(const struct timespec &time) {
    struct tm local {};
    const time_t seconds = time.tv_sec;
    localtime_r(&seconds, &local);
    TDateTime day = 0;
    TryEncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, 0, 0, 0, 0, day);
    DayTime result;
    result.Day = qint64(day);
    result.MSec = (qint64(local.tm_hour) * 3600 + local.tm_min * 60 + local.tm_sec) * 1000 +
                  time.tv_nsec / 1000000;
    return result;
}

// -1, 0 or 1 as the value lies before, at or after the bound, compared by the bound's form.
int compareToBound(const DayTime &value, const DayTime &bound) {
    auto sign = [](qint64 a, qint64 b) { return a < b ? -1 : (a > b ? 1 : 0); };
    if (bound.MSec == 0) // date only
        return sign(value.Day, bound.Day);
    if (bound.Day == 0) // time of day only
        return sign(value.MSec, bound.MSec);
    const int byDay = sign(value.Day, bound.Day);
    return byDay != 0 ? byDay : sign(value.MSec, bound.MSec);
}

bool passesBounds(const struct timespec &time, TDateTime before, TDateTime after) {
    if (before == 0 && after == 0)
        return true;
    const DayTime value = localDayTime(time);
    if (before != 0 && compareToBound(value, splitBound(before)) > 0)
        return false;
    if (after != 0 && compareToBound(value, splitBound(after)) < 0)
        return false;
    return true;
}

QByteArray joinPath(const QByteArray &folder, const char *name, size_t length) {
    QByteArray path;
    path.reserve(folder.size() + 1 + qsizetype(length));
    path += folder;
    if (!path.endsWith('/'))
        path += '/';
    path.append(name, qsizetype(length));
    return path;
}

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

TFindFile::TFindFile(const TSearchCriteria &criteria)
    : m_criteria(criteria), m_phrase(criteria.Content.Phrase, criteria.Content.IgnoreCase) {
    for (const QString &pattern : SplitSearchList(criteria.Files.FileName))
        m_patterns.emplace_back(pattern);
    for (const QString &entry : SplitSearchList(criteria.Files.Location)) {
        QString path = entry;
        bool subfolders = criteria.Files.IncludeSubfolders;
        if (path.startsWith(QLatin1Char('<')) || path.startsWith(QLatin1Char('>'))) {
            subfolders = path.startsWith(QLatin1Char('>'));
            path = path.mid(1).trimmed();
        }
        const QByteArray native = WithoutTrailingSlash(EncodeNativePath(path));
        if (!native.isEmpty())
            m_locations.push_back({native, subfolders});
    }
    m_allowed = criteria.Attributes.Allowed;
    if (!m_phrase.IsEmpty())
        m_allowed &= ~TFileAttributes(TFileAttribute::Directory);
    const TDateTimeCriteria &d = criteria.Dates;
    m_hasDates = d.CreatedBefore != 0 || d.CreatedAfter != 0 || d.ModifiedBefore != 0 ||
                 d.ModifiedAfter != 0 || d.AccessedBefore != 0 || d.AccessedAfter != 0;
    m_needReadOnly =
        criteria.Attributes.ExactMatch || !m_allowed.testFlag(TFileAttribute::ReadOnly);
    m_needStat =
        m_needReadOnly || m_hasDates || criteria.Sizes.SizeMin != 0 || criteria.Sizes.SizeMax != 0;
}

bool TFindFile::Execute(TFindFileEvents &events) {
    m_listed.clear();
    for (auto it = m_locations.rbegin(); it != m_locations.rend() && !IsStopped(); ++it)
        searchFolder(it->Path, it->Subfolders, false, events);
    return !IsStopped();
}

bool TFindFile::ExecuteFolder(const QByteArray &folder, bool subfolders, TFindFileEvents &events) {
    m_listed.clear();
    const QByteArray path = WithoutTrailingSlash(folder);
    if (!path.isEmpty())
        searchFolder(path, subfolders, false, events);
    return !IsStopped();
}

void TFindFile::searchFolder(const QByteArray &folder, bool subfolders, bool noFollow,
                             TFindFileEvents &events) {
    if (IsStopped())
        return;
    // Subfolders are opened without following a link, so a link swapped in after the listing
    // cannot lead the walk elsewhere; a location named by the user may itself be a link.
    const int fd = ::open(folder.constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC | (noFollow ? O_NOFOLLOW : 0));
    DIR *dir = fd >= 0 ? fdopendir(fd) : nullptr;
    if (!dir) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        events.FolderChange(QFile::decodeName(folder));
        events.Problem(QStringLiteral("Cannot open folder \"%1\". %2")
                           .arg(QFile::decodeName(folder), errorText(error)));
        return;
    }
    // A folder reached again through overlapping locations is not searched twice; it is only
    // walked for its subfolders when it was first searched without them.
    bool report = true;
    struct stat self {};
    if (fstat(fd, &self) == 0) {
        const auto [it, added] = m_listed.try_emplace({self.st_dev, self.st_ino}, subfolders);
        if (!added) {
            if (it->second || !subfolders) {
                closedir(dir);
                return;
            }
            it->second = true;
            report = false;
        }
    }
    if (report)
        events.FolderChange(QFile::decodeName(folder));
    bool fileSystemReadOnly = false, fsChecked = false;
    std::vector<QByteArray> children;
    while (!IsStopped()) {
        errno = 0;
        const struct dirent *entry = readdir(dir);
        if (!entry) {
            const int error = errno;
            if (error != 0)
                events.Problem(QStringLiteral("Cannot list folder \"%1\". %2")
                                   .arg(QFile::decodeName(folder), errorText(error)));
            break;
        }
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        const size_t length = std::strlen(name);
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st {};
            if (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0)
                type = S_ISDIR(st.st_mode)   ? DT_DIR
                       : S_ISLNK(st.st_mode) ? DT_LNK
                       : S_ISREG(st.st_mode) ? DT_REG
                                             : DT_UNKNOWN; // tested with a full status
        }
        if (subfolders && type == DT_DIR)
            children.emplace_back(name, qsizetype(length));
        if (!report)
            continue;
        bool matches = false;
        for (auto p = m_patterns.rbegin(); p != m_patterns.rend() && !matches; ++p)
            matches = p->Matches(name, length);
        if (matches &&
            testEntry(fd, name, length, type, folder, fileSystemReadOnly, fsChecked, events)) {
            const QByteArray path = joinPath(folder, name, length);
            events.FileMatch(QFile::decodeName(path), path);
        }
    }
    closedir(dir);
    for (const QByteArray &child : children) {
        if (IsStopped())
            break;
        searchFolder(joinPath(folder, child.constData(), size_t(child.size())), true, true, events);
    }
}

bool TFindFile::testEntry(int dirFd, const char *name, size_t nameLength, unsigned char type,
                          const QByteArray &folder, bool &fileSystemReadOnly, bool &fsChecked,
                          TFindFileEvents &events) {
    struct stat st {};
    bool haveStat = false;
    if (m_needStat || type == DT_LNK || type == DT_UNKNOWN) {
        // A link to a file is tested as that file; a dangling link as the link itself.
        haveStat = fstatat(dirFd, name, &st, 0) == 0 ||
                   fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0;
        if (!haveStat)
            return false; // gone since the listing
    }
    const bool isDir = haveStat ? S_ISDIR(st.st_mode) : type == DT_DIR;
    const bool isFile = haveStat ? S_ISREG(st.st_mode) : type == DT_REG;

    TFileAttributes attributes;
    if (name[0] == '.')
        attributes |= TFileAttribute::Hidden;
    if (isDir)
        attributes |= TFileAttribute::Directory;
    else if (isFile)
        attributes |= TFileAttribute::Archive;
    else
        attributes |= TFileAttribute::System;
    if (m_needReadOnly) {
        bool readOnlyMount;
        if (isDir) {
            // A subfolder may be another file system's mount point.
            const QByteArray path = joinPath(folder, name, nameLength);
            readOnlyMount = IsOnReadOnlyFileSystem(path);
        } else {
            if (!fsChecked) {
                fileSystemReadOnly = IsOnReadOnlyFileSystem(dirFd);
                fsChecked = true;
            }
            readOnlyMount = fileSystemReadOnly;
        }
        if (IsReadOnly(st, readOnlyMount))
            attributes |= TFileAttribute::ReadOnly;
    }
    if (m_criteria.Attributes.ExactMatch ? attributes != m_allowed
                                         : (attributes & ~m_allowed) != TFileAttributes())
        return false;

    // Sizes are 64-bit; a folder or a special file counts as empty.
    const qint64 size = isFile ? qint64(st.st_size) : 0;
    const TSizeCriteria &sizes = m_criteria.Sizes;
    if (sizes.SizeMin != 0 && size < sizes.SizeMin)
        return false;
    if (sizes.SizeMax != 0 && size > sizes.SizeMax)
        return false;

    if (m_hasDates && !passesDates(dirFd, name, st))
        return false;

    if (!m_phrase.IsEmpty()) {
        // Only regular files are read: a device or a pipe could block or never end.
        if (!isFile)
            return false;
        return passesContent(dirFd, name, joinPath(folder, name, nameLength), events);
    }
    return true;
}

bool TFindFile::passesDates(int dirFd, const char *name, const struct stat &st) const {
    const TDateTimeCriteria &d = m_criteria.Dates;
    if (!passesBounds(st.st_mtim, d.ModifiedBefore, d.ModifiedAfter) ||
        !passesBounds(st.st_atim, d.AccessedBefore, d.AccessedAfter))
        return false;
    if (d.CreatedBefore == 0 && d.CreatedAfter == 0)
        return true;
    // The birth time where the file system keeps one, else the last-write time.
    struct timespec created = st.st_mtim;
    struct statx sx {};
    if (statx(dirFd, name, 0, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME)) {
        created.tv_sec = sx.stx_btime.tv_sec;
        created.tv_nsec = sx.stx_btime.tv_nsec;
    }
    return passesBounds(created, d.CreatedBefore, d.CreatedAfter);
}

bool TFindFile::passesContent(int dirFd, const char *name, const QByteArray &path,
                              TFindFileEvents &events) {
    // O_NONBLOCK: opening a pipe that a link pointed to must not wait for a writer.
    const int fd = openat(dirFd, name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        events.Problem(QStringLiteral("Cannot open file \"%1\". %2")
                           .arg(QFile::decodeName(path), errorText(error)));
        return false;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    if (st.st_size < qint64(m_phrase.Length())) {
        ::close(fd);
        return false;
    }
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    const int found = m_phrase.FindInFile(fd, m_buffer, m_stop);
    const int error = errno;
    ::close(fd);
    if (found < 0) {
        events.Problem(QStringLiteral("Error reading file \"%1\". %2")
                           .arg(QFile::decodeName(path), errorText(error)));
        return false;
    }
    return found == 1 && !IsStopped();
}

} // namespace tarvin
