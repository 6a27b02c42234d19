#include "platform/Time.h"

namespace platform {

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2 && (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0))) return 29;
    return kDays[month - 1];
}

bool IsValidCalendarTime(const std::tm& t) {
    // tm_year counts from 1900; compare in that frame so nothing can overflow.
    if (t.tm_year < 1 - 1900 || t.tm_year > 9999 - 1900) return false;
    if (t.tm_mon < 0 || t.tm_mon > 11) return false;
    if (t.tm_mday < 1 || t.tm_mday > DaysInMonth(t.tm_year + 1900, t.tm_mon + 1)) return false;
    return t.tm_hour >= 0 && t.tm_hour <= 23 && t.tm_min >= 0 && t.tm_min <= 59 && t.tm_sec >= 0 && t.tm_sec <= 59;
}

}  // namespace platform
