#include "convert/FileTimes.h"

#include "base/Error.h"

#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace tarvin {

double CurrentUtcOffsetDays() {
    time_t now = time(nullptr);
    struct tm local;
    if (now == static_cast<time_t>(-1) || !localtime_r(&now, &local))
        throw Error(
            QStringLiteral("Error converting to UTC time. Time zone could not be determined"));
    return static_cast<double>(local.tm_gmtoff) / 86400.0;
}

TDateTime LocalToUtcWithCurrentOffset(TDateTime value) {
    return value - CurrentUtcOffsetDays();
}

bool SetLastWriteTime(const QByteArray &nativePath, TDateTime value) {
    qint64 msecs = DateTimeToUnixMSecs(value);
    qint64 seconds = msecs / 1000;
    qint64 remainder = msecs % 1000;
    if (remainder < 0) { // keep the nanoseconds in 0..999999999 before the epoch
        remainder += 1000;
        --seconds;
    }
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(seconds);
    times[1].tv_nsec = static_cast<long>(remainder * 1000000);
    // A link is never followed: its target may lie anywhere.
    return utimensat(AT_FDCWD, nativePath.constData(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

} // namespace tarvin
