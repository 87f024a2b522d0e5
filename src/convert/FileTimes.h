#pragma once

#include "util/DateTime.h"

#include <QByteArray>
#include <QString>

namespace tarvin {

// The current offset of local time from UTC in days (positive east of Greenwich), as the
// time zone gives it at this moment, daylight saving included. Raises "Error converting to
// UTC time. Time zone could not be determined" when the zone cannot be told.
double CurrentUtcOffsetDays();

// A local clock value turned into UTC with the current offset: the same offset applies
// whatever season the value lies in.
TDateTime LocalToUtcWithCurrentOffset(TDateTime value);

// Sets the last-write time of the file to the value taken as if it were UTC, leaving the
// access time alone; a symbolic link is changed itself, never its target. Returns false when
// the time could not be set, with errno telling why.
bool SetLastWriteTime(const QByteArray &nativePath, TDateTime value);

} // namespace tarvin
