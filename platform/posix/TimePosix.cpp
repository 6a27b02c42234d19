#include <time.h>

#include <limits>

#include "platform/Time.h"

namespace platform {

bool ToLocalTime(int64_t seconds, std::tm& out) {
    if (seconds < std::numeric_limits<time_t>::min() || seconds > std::numeric_limits<time_t>::max()) return false;
    const time_t t = static_cast<time_t>(seconds);
    // localtime_r need not look at TZ again; tzset makes a changed zone count.
    ::tzset();
    return ::localtime_r(&t, &out) != nullptr;
}

bool FromLocalTime(const std::tm& local, int64_t& seconds) {
    if (!IsValidCalendarTime(local)) return false;
    std::tm copy = local;
    copy.tm_isdst = -1;
    // mktime answers -1 both for failure and for 1969-12-31 23:59:59 UTC; it
    // fills tm_wday only on success, so that tells the two apart.
    copy.tm_wday = -1;
    const time_t t = ::mktime(&copy);
    if (t == static_cast<time_t>(-1) && copy.tm_wday == -1) return false;
    seconds = static_cast<int64_t>(t);
    return true;
}

}  // namespace platform
