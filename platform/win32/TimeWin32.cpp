#include <windows.h>

#include "platform/Time.h"

namespace platform {

namespace {

// FILETIME counts 100-ns ticks from 1601-01-01 UTC.
constexpr int64_t kSecondsFrom1601To1970 = 11644473600LL;
constexpr int64_t kTicksPerSecond = 10000000LL;
// FileTimeToSystemTime refuses ticks at or above 2^63.
constexpr int64_t kMaxSecondsSince1601 = INT64_MAX / kTicksPerSecond;

// The zone's rules for `year`: daylight saving dates have moved over the
// years, and a date in another year must get that year's dates, not this
// year's. The system's current rules where it keeps none for that year.
bool ZoneForYear(WORD year, TIME_ZONE_INFORMATION& zone) {
    if (::GetTimeZoneInformationForYear(year, nullptr, &zone)) return true;
    return ::GetTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID;
}

int DayOfYear(int year, int month, int day) {
    int days = day - 1;
    for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
    return days;
}

}  // namespace

bool ToLocalTime(int64_t seconds, std::tm& out) {
    if (seconds < -kSecondsFrom1601To1970 || seconds > kMaxSecondsSince1601 - kSecondsFrom1601To1970) return false;
    const uint64_t ticks = static_cast<uint64_t>(seconds + kSecondsFrom1601To1970) * kTicksPerSecond;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    SYSTEMTIME utc, local;
    if (!::FileTimeToSystemTime(&ft, &utc)) return false;
    TIME_ZONE_INFORMATION zone;
    if (!ZoneForYear(utc.wYear, zone)) return false;
    if (!::SystemTimeToTzSpecificLocalTime(&zone, &utc, &local)) return false;

    out = std::tm{};
    out.tm_year = local.wYear - 1900;
    out.tm_mon = local.wMonth - 1;
    out.tm_mday = local.wDay;
    out.tm_hour = local.wHour;
    out.tm_min = local.wMinute;
    out.tm_sec = local.wSecond;
    out.tm_wday = local.wDayOfWeek;
    out.tm_yday = DayOfYear(local.wYear, local.wMonth, local.wDay);
    // Offset actually applied versus the zone's standard offset.
    FILETIME localFt;
    if (::SystemTimeToFileTime(&local, &localFt)) {
        const int64_t localTicks = (static_cast<int64_t>(localFt.dwHighDateTime) << 32) | localFt.dwLowDateTime;
        const int64_t offsetMinutes = (localTicks - static_cast<int64_t>(ticks)) / (kTicksPerSecond * 60);
        out.tm_isdst = offsetMinutes != -(static_cast<int64_t>(zone.Bias) + zone.StandardBias) ? 1 : 0;
    } else {
        out.tm_isdst = -1;
    }
    return true;
}

bool FromLocalTime(const std::tm& local, int64_t& seconds) {
    if (!IsValidCalendarTime(local)) return false;
    if (local.tm_year + 1900 < 1601) return false;
    SYSTEMTIME lt{};
    lt.wYear = static_cast<WORD>(local.tm_year + 1900);
    lt.wMonth = static_cast<WORD>(local.tm_mon + 1);
    lt.wDay = static_cast<WORD>(local.tm_mday);
    lt.wHour = static_cast<WORD>(local.tm_hour);
    lt.wMinute = static_cast<WORD>(local.tm_min);
    lt.wSecond = static_cast<WORD>(local.tm_sec);
    TIME_ZONE_INFORMATION zone;
    if (!ZoneForYear(lt.wYear, zone)) return false;
    SYSTEMTIME utc;
    if (!::TzSpecificLocalTimeToSystemTime(&zone, &lt, &utc)) return false;
    FILETIME ft;
    if (!::SystemTimeToFileTime(&utc, &ft)) return false;
    const uint64_t ticks = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    seconds = static_cast<int64_t>(ticks / kTicksPerSecond) - kSecondsFrom1601To1970;
    return true;
}

}  // namespace platform
