#include "convert/FileTimes.h"

#include "base/Error.h"

#include <ctime>

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

} // namespace tarvin
