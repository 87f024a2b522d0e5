#pragma once

#include <QDateTime>
#include <QString>

namespace tarvin {

// A local date-time without zone: days since 1899-12-30 00:00, the time of day as the
// fraction. 0 stands for "no date" where a caller says so. For days before the epoch the
// fraction still counts forward from midnight (-1.25 is 1899-12-29 06:00).
using TDateTime = double;

constexpr TDateTime kUnixEpochDays = 25569.0; // 1970-01-01 as a TDateTime

// True and the value when the fields form a valid date-time (year 1..9999).
bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec,
                       TDateTime &result);
// As above; raises Error("Invalid argument to date encode") for an invalid date-time.
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int msec = 0);

struct DateTimeParts {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0, msec = 0;
};
// Splits a value into its fields, rounded to the nearest millisecond.
DateTimeParts DecodeDateTime(TDateTime value);

// The wall-clock fields of the value as a QDateTime of the given spec (no zone arithmetic).
QDateTime DateTimeToQDateTime(TDateTime value, Qt::TimeSpec spec = Qt::LocalTime);
// The wall-clock fields of a QDateTime as a value (no zone arithmetic).
TDateTime QDateTimeToDateTime(const QDateTime &value);

// The value taken as if it were UTC, as milliseconds since 1970-01-01 00:00 UTC, and back.
qint64 DateTimeToUnixMSecs(TDateTime value);
TDateTime UnixMSecsToDateTime(qint64 msecs);

// Display formats of the desktop's locale: its short date format, and its long time format
// without any time-zone field.
QString ShortDateFormat();
QString LongTimeFormat();
QString FormatShortDate(TDateTime value);
QString FormatLongTime(TDateTime value);
// Short date, a blank and the long time; the time is left out at exactly midnight.
QString FormatDisplayDateTime(TDateTime value);

} // namespace tarvin
