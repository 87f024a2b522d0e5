#include "util/FileTime.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace tarvin {

namespace {

// The access time left alone and the last-write time set to `value` as if it were UTC.
struct TTimes {
    explicit TTimes(TDateTime value) {
        const qint64 msecs = DateTimeToUnixMSecs(value);
        qint64 seconds = msecs / 1000;
        qint64 remainder = msecs % 1000;
        if (remainder < 0) { // keep the nanoseconds in 0..999999999 before the epoch
            remainder += 1000;
            --seconds;
        }
        times[0].tv_sec = 0;
        times[0].tv_nsec = UTIME_OMIT;
        times[1].tv_sec = static_cast<time_t>(seconds);
        times[1].tv_nsec = static_cast<long>(remainder * 1000000);
    }
    timespec times[2];
};

} // namespace

bool SetLastWriteTime(const QByteArray &nativePath, TDateTime value) {
    const TTimes t(value);
    // A link is never followed: its target may lie anywhere.
    return utimensat(AT_FDCWD, nativePath.constData(), t.times, AT_SYMLINK_NOFOLLOW) == 0;
}

bool SetLastWriteTime(int fd, TDateTime value) {
    const TTimes t(value);
    return futimens(fd, t.times) == 0;
}

} // namespace tarvin
