#include "convert/FileAttributes.h"

#include <grp.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace tarvin {

namespace {

bool isMemberOfGroup(gid_t gid) {
    if (gid == getegid())
        return true;
    int count = getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    count = getgroups(count, groups.data());
    for (int i = 0; i < count; ++i)
        if (groups[static_cast<size_t>(i)] == gid)
            return true;
    return false;
}

} // namespace

bool IsHiddenName(const QString &name) {
    return name.startsWith(QLatin1Char('.'));
}

bool IsHiddenName(const char *name) {
    return name && name[0] == '.';
}

bool IsSystemEntry(const struct stat &st) {
    return !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

bool CurrentUserCanWrite(const struct stat &st) {
    uid_t uid = geteuid();
    if (uid == 0)
        return true;
    if (uid == st.st_uid)
        return (st.st_mode & S_IWUSR) != 0;
    if (isMemberOfGroup(st.st_gid))
        return (st.st_mode & S_IWGRP) != 0;
    return (st.st_mode & S_IWOTH) != 0;
}

bool IsReadOnly(const struct stat &st, bool fileSystemReadOnly) {
    return (st.st_mode & S_IWUSR) == 0 || !CurrentUserCanWrite(st) || fileSystemReadOnly;
}

bool IsReadOnlyFile(const QByteArray &nativePath) {
    struct stat st;
    if (stat(nativePath.constData(), &st) != 0)
        return false;
    return IsReadOnly(st, IsOnReadOnlyFileSystem(nativePath));
}

bool IsOnReadOnlyFileSystem(const QByteArray &nativePath) {
    struct statvfs vfs;
    return statvfs(nativePath.constData(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0;
}

bool IsOnReadOnlyFileSystem(int fd) {
    struct statvfs vfs;
    return fstatvfs(fd, &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0;
}

} // namespace tarvin
