#include "util/WorkFolder.h"

#include "base/Error.h"
#include "util/NativePath.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvin {

namespace {

QString systemErrorText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

bool lstatPath(const QString &path, struct stat &st) {
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

bool isHexDigits(QStringView text) {
    for (QChar c : text) {
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
              (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'))))
            return false;
    }
    return true;
}

QString tempFolderOrDefault(const QString &tempFolder) {
    return tempFolder.isEmpty() ? PrivateTempFolder() : WithTrailingSlash(tempFolder);
}

} // namespace

QString PrivateTempFolderPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return WithoutTrailingSlash(runtime) + QStringLiteral("/tarvin");
    return WithoutTrailingSlash(QDir::tempPath()) +
           QStringLiteral("/tarvin-%1").arg(static_cast<qulonglong>(::geteuid()));
}

QString EnsurePrivateFolder(const QString &path) {
    const QString folder = WithoutTrailingSlash(path);
    const QByteArray encoded = QFile::encodeName(folder);
    if (::mkdir(encoded.constData(), 0700) != 0 && errno != EEXIST)
        throw Error(QStringLiteral("Cannot create the private temporary folder '%1': %2")
                        .arg(folder, systemErrorText(errno)));
    // lstat, not stat: a link planted at this name must not lead us elsewhere.
    struct stat st {};
    if (::lstat(encoded.constData(), &st) != 0)
        throw Error(QStringLiteral("Cannot use the private temporary folder '%1': %2")
                        .arg(folder, systemErrorText(errno)));
    if (S_ISLNK(st.st_mode))
        throw Error(QStringLiteral("The private temporary folder '%1' is a symbolic link; it is "
                                   "not used.")
                        .arg(folder));
    if (!S_ISDIR(st.st_mode))
        throw Error(QStringLiteral("The private temporary folder '%1' is not a folder; it is not "
                                   "used.")
                        .arg(folder));
    if (st.st_uid != ::geteuid())
        throw Error(QStringLiteral("The private temporary folder '%1' belongs to another user; "
                                   "it is not used.")
                        .arg(folder));
    if ((st.st_mode & 07777) != 0700 && ::chmod(encoded.constData(), 0700) != 0)
        throw Error(QStringLiteral("Cannot make the temporary folder '%1' private: %2")
                        .arg(folder, systemErrorText(errno)));
    return folder + QLatin1Char('/');
}

QString PrivateTempFolder() {
    return EnsurePrivateFolder(PrivateTempFolderPath());
}

// Numbering rule. The number is one more than the highest number among the existing folders
// named `prefix` followed by hexadecimal digits, where a folder named exactly `prefix` counts as
// 0; with no such folder it is 0. Three choices make sure a name already in use is never
// handed out:
// - the highest number is taken by value, not from the last name in text order (text order
//   puts "_vwr10000" before "_vwrffff" and would hand out "_vwr10000" again);
// - names whose rest is not a hexadecimal number ("_vwr-old", "_vwrx") are left out instead of
//   being read as 0, which would restart the numbering at 1 over existing folders;
// - when the chosen name is held by any entry at all (a plain file such as "_vwr0005", a link),
//   the number goes up until the name is free.
// Prefix and digits compare without regard to case, so "_VWR000A" counts as number 10.
QString NewTempFolderName(const QString &prefix, const QString &tempFolder) {
    const QString base = tempFolderOrDefault(tempFolder) + prefix;
    const QDir dir(WithoutTrailingSlash(tempFolderOrDefault(tempFolder)));
    const QStringList names =
        dir.entryList(QStringList{prefix + QLatin1Char('*')},
                      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    bool found = false;
    qulonglong highest = 0;
    for (const QString &name : names) {
        if (!name.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        const QStringView rest = QStringView(name).mid(prefix.size());
        // Only hexadecimal numbers that can be counted up to take part.
        if (!isHexDigits(rest) || rest.size() > 15)
            continue;
        struct stat st {};
        if (!lstatPath(dir.filePath(name), st) || !S_ISDIR(st.st_mode))
            continue; // plain files and links do not count
        const qulonglong number = rest.isEmpty() ? 0 : rest.toULongLong(nullptr, 16);
        if (!found || number > highest)
            highest = number;
        found = true;
    }
    qulonglong number = found ? highest + 1 : 0;
    for (;;) {
        const QString candidate = base + QStringLiteral("%1").arg(number, 4, 16, QLatin1Char('0'));
        struct stat st {};
        if (lstatPath(candidate, st)) {
            ++number; // held by any entry at all
            continue;
        }
        if (errno == ENOENT)
            return candidate;
        // Not a name that is taken: the folder cannot be looked into (ENOTDIR, EACCES, ...),
        // and every further number would fail the same way.
        throw Error(QStringLiteral("Cannot choose a work folder name in '%1': %2")
                        .arg(WithoutTrailingSlash(tempFolderOrDefault(tempFolder)),
                             systemErrorText(errno)));
    }
}

// Written by hand rather than with QDir::removeRecursively: entries of a folder without write
// permission cannot be removed, so each folder gets its owner's permissions back before its
// entries are removed, and links are removed without following them. On this system a file's
// own read-only state does not stop its removal.
bool DeleteTree(const QString &folder) {
    const QString path = WithoutTrailingSlash(folder);
    const QByteArray encoded = QFile::encodeName(path);
    struct stat st {};
    // A folder that is not there was not removed by this call.
    if (::lstat(encoded.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    if ((st.st_mode & S_IRWXU) != S_IRWXU)
        ::chmod(encoded.constData(), (st.st_mode & 07777) | S_IRWXU);

    bool allRemoved = true;
    if (DIR *dir = ::opendir(encoded.constData())) {
        QList<QByteArray> entries;
        while (const dirent *entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                entries.append(QByteArray(entry->d_name));
        }
        ::closedir(dir);
        for (const QByteArray &name : entries) {
            const QByteArray child = encoded + '/' + name;
            struct stat childStat {};
            if (::lstat(child.constData(), &childStat) != 0) {
                allRemoved = allRemoved && errno == ENOENT;
                continue;
            }
            bool removed = S_ISDIR(childStat.st_mode) ? DeleteTree(QFile::decodeName(child))
                                                      : ::unlink(child.constData()) == 0;
            allRemoved = allRemoved && removed;
        }
    } else {
        allRemoved = false;
    }
    if (!allRemoved)
        return false;
    return ::rmdir(encoded.constData()) == 0;
}

void DeleteTempFolders(const QString &pattern, const QString &tempFolder) {
    QString folder;
    try {
        folder = tempFolderOrDefault(tempFolder);
    } catch (const Error &) {
        return;
    }
    const QDir dir(WithoutTrailingSlash(folder));
    const QStringList names =
        dir.entryList(QStringList{pattern},
                      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        try {
            // A link with a matching name is not one of our folders: leave what it points to.
            const QByteArray path = QFile::encodeName(dir.filePath(name));
            const int fd =
                ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (fd < 0)
                continue;
            // The folder of a frame that is still alive (here or in another Tarvin beside this
            // one) is share-locked by its holder.
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
                DeleteTree(dir.filePath(name));
            ::close(fd);
        } catch (...) {
        }
    }
}

TWorkFolder::TWorkFolder(QString ownerClassName, QString tempFolder)
    : m_ownerClassName(std::move(ownerClassName)), m_tempFolder(std::move(tempFolder)) {}

TWorkFolder::~TWorkFolder() {
    if (m_path.isEmpty())
        return;
    try {
        DeleteTree(m_path);
    } catch (...) {
    }
    releaseFolder();
}

void TWorkFolder::holdFolder() {
    releaseFolder();
    m_holdFd = ::open(QFile::encodeName(WithoutTrailingSlash(m_path)).constData(),
                      O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (m_holdFd >= 0)
        ::flock(m_holdFd, LOCK_SH | LOCK_NB);
}

void TWorkFolder::releaseFolder() {
    if (m_holdFd >= 0)
        ::close(m_holdFd);
    m_holdFd = -1;
}

QString TWorkFolder::Path() {
    auto cannotCreate = [this]() {
        return Error(QStringLiteral("%1.GetWorkFolder: Cannot create directory '%2'")
                         .arg(m_ownerClassName, m_path));
    };
    if (m_path.isEmpty()) {
        const QString temp = tempFolderOrDefault(m_tempFolder);
        // The name is chosen and the folder made in one step; mkdir refuses a name that another
        // process took in between, and then the next free name is chosen.
        for (int attempt = 0;; ++attempt) {
            const QString name = NewTempFolderName(QString::fromLatin1(kPrefix), temp);
            if (::mkdir(QFile::encodeName(name).constData(), 0700) == 0) {
                m_path = name + QLatin1Char('/');
                holdFolder();
                return m_path;
            }
            if (errno != EEXIST || attempt == 99) {
                m_path = name + QLatin1Char('/');
                throw cannotCreate();
            }
        }
    }
    struct stat st {};
    if (lstatPath(WithoutTrailingSlash(m_path), st) && S_ISDIR(st.st_mode))
        return m_path;
    if (::mkdir(QFile::encodeName(WithoutTrailingSlash(m_path)).constData(), 0700) != 0)
        throw cannotCreate();
    holdFolder();
    return m_path;
}

} // namespace tarvin
