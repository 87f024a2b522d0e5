#pragma once

#include <QByteArray>
#include <QString>
#include <sys/stat.h>

namespace tarvin {

// File attributes as the date conversion sees them on a POSIX file system.

// Hidden: the name starts with ".".
bool IsHiddenName(const QString &name);
bool IsHiddenName(const char *name);

// System: anything that is neither a regular file nor a folder (devices, sockets, pipes, and
// symbolic links when the status comes from lstat, as the conversion takes it).
bool IsSystemEntry(const struct stat &st);

// True when the current user may write a file with this status: root always may, otherwise
// the owner, group or other write bit that applies to the effective user and its groups.
bool CurrentUserCanWrite(const struct stat &st);

// Read-only: the owner's write bit is clear, or the current user cannot write the file, or
// `fileSystemReadOnly` (the file lies on a file system mounted read-only). Decided from the
// mode bits and not from access(W_OK), which root always passes.
bool IsReadOnly(const struct stat &st, bool fileSystemReadOnly);

// As above for a path; `nativePath` is the encoded file name. False when the file cannot be
// examined.
bool IsReadOnlyFile(const QByteArray &nativePath);

// True when the file system holding the path is mounted read-only.
bool IsOnReadOnlyFileSystem(const QByteArray &nativePath);
bool IsOnReadOnlyFileSystem(int fd);

} // namespace tarvin
