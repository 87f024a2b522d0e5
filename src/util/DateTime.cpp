#include "util/DateTime.h"

#include "base/Error.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace tarvin {

namespace {

constexpr qint64 kMSecsPerDay = 86400000;

// Day number of 1899-12-30 in QDate's Julian day count.
qint64 epochJulianDay() {
    static const qint64 jd = QDate(1899, 12, 30).toJulianDay();
    return jd;
}

// Days and milliseconds of the day, with the sign rule for dates before the epoch.
void splitValue(TDateTime value, qint64 &days, qint64 &msecOfDay) {
    double whole = std::trunc(value);
    double fraction = std::fabs(value - whole);
    days = static_cast<qint64>(whole);
    msecOfDay = static_cast<qint64>(std::llround(fraction * kMSecsPerDay));
    if (msecOfDay >= kMSecsPerDay) { // rounding reached the next midnight
        msecOfDay -= kMSecsPerDay;
        days += value < 0 ? -1 : 1;
    }
}

TDateTime joinValue(qint64 days, qint64 msecOfDay) {
    double fraction = static_cast<double>(msecOfDay) / kMSecsPerDay;
    return days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
}

QString stripZoneFields(QString format) {
    // Remove time-zone designators ("t", "tt", "ttt", "tttt") and the blanks before them.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    return format.remove(zone).trimmed();
}

} // namespace

bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec,
                       TDateTime &result) {
    if (year < 1 || year > 9999 || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59 || msec < 0 || msec > 999)
        return false;
    QDate date(year, month, day);
    if (!date.isValid())
        return false;
    qint64 days = date.toJulianDay() - epochJulianDay();
    qint64 ms = ((hour * 60LL + minute) * 60 + second) * 1000 + msec;
    result = joinValue(days, ms);
    return true;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
    TDateTime result = 0;
    if (!TryEncodeDateTime(year, month, day, hour, minute, second, msec, result))
        throw ConvertError(QStringLiteral("Invalid argument to date encode"));
    return result;
}

DateTimeParts DecodeDateTime(TDateTime value) {
    qint64 days = 0, ms = 0;
    splitValue(value, days, ms);
    QDate date = QDate::fromJulianDay(epochJulianDay() + days);
    DateTimeParts parts;
    parts.year = date.year();
    parts.month = date.month();
    parts.day = date.day();
    parts.hour = static_cast<int>(ms / 3600000);
    parts.minute = static_cast<int>(ms / 60000 % 60);
    parts.second = static_cast<int>(ms / 1000 % 60);
    parts.msec = static_cast<int>(ms % 1000);
    return parts;
}

QDateTime DateTimeToQDateTime(TDateTime value, Qt::TimeSpec spec) {
    DateTimeParts p = DecodeDateTime(value);
    return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second, p.msec),
                     spec);
}

TDateTime QDateTimeToDateTime(const QDateTime &value) {
    QDate d = value.date();
    QTime t = value.time();
    TDateTime result = 0;
    TryEncodeDateTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec(),
                      result);
    return result;
}

qint64 DateTimeToUnixMSecs(TDateTime value) {
    qint64 days = 0, ms = 0;
    splitValue(value, days, ms);
    return (days - static_cast<qint64>(kUnixEpochDays)) * kMSecsPerDay + ms;
}

TDateTime UnixMSecsToDateTime(qint64 msecs) {
    qint64 days = msecs / kMSecsPerDay;
    qint64 ms = msecs % kMSecsPerDay;
    if (ms < 0) {
        ms += kMSecsPerDay;
        --days;
    }
    return joinValue(days + static_cast<qint64>(kUnixEpochDays), ms);
}

QString ShortDateFormat() {
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

QString LongTimeFormat() {
    return stripZoneFields(QLocale::system().timeFormat(QLocale::LongFormat));
}

QString FormatShortDate(TDateTime value) {
    return QLocale::system().toString(DateTimeToQDateTime(value).date(), ShortDateFormat());
}

QString FormatLongTime(TDateTime value) {
    return QLocale::system().toString(DateTimeToQDateTime(value).time(), LongTimeFormat());
}

QString FormatDisplayDateTime(TDateTime value) {
    DateTimeParts p = DecodeDateTime(value);
    if (p.hour == 0 && p.minute == 0 && p.second == 0 && p.msec == 0)
        return FormatShortDate(value);
    return FormatShortDate(value) + QLatin1Char(' ') + FormatLongTime(value);
}

} // namespace tarvin
