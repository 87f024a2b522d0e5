#pragma once

#include "util/DateTime.h"
#include "util/FileTime.h"

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

} // namespace tarvin
