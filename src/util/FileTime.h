#pragma once

#include "util/DateTime.h"

#include <QByteArray>

namespace tarvin {

// Sets the last-write time of the file to the value taken as if it were UTC, leaving the
// access time alone; a symbolic link is changed itself, never its target. Returns false when
// the time could not be set, with errno telling why.
bool SetLastWriteTime(const QByteArray &nativePath, TDateTime value);

// The same for a file that is open (`fd`).
bool SetLastWriteTime(int fd, TDateTime value);

} // namespace tarvin
