#pragma once

#include <cstdint>
#include <ctime>

namespace platform {

/// Conversions between time stamps (seconds since 1970-01-01 UTC, 64-bit, so
/// no 2038 limit) and local calendar time by the system's time-zone rules for
/// that date. The std::tm fields have their usual meaning: years since 1900,
/// months 0-11.
///
/// The local time of `seconds`; false when the system cannot represent it (on
/// Windows: before 1601 or past year 30827).
bool ToLocalTime(int64_t seconds, std::tm& out);

/// The time stamp of a local calendar time, whether daylight saving applies
/// being left to the system (as mktime with tm_isdst -1). Fields must be in
/// range (see isValidCalendarTime): nothing is normalised, so a month 0 or a
/// 31 April is refused instead of quietly becoming another day.
bool FromLocalTime(const std::tm& local, int64_t& seconds);

/// True when year (1-9999), month, day (for that month and year), hour,
/// minute and second (0-59) describe a real calendar time.
bool IsValidCalendarTime(const std::tm& t);

/// Days in `month` (1-12) of `year`, by the Gregorian rules; 0 for a bad month.
int DaysInMonth(int year, int month);

}  // namespace platform
