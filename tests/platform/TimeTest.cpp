#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "platform/Time.h"

namespace {

std::tm Calendar(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return t;
}

bool IsUtc() {
    std::tm t{};
    return platform::ToLocalTime(0, t) && t.tm_hour == 0 && platform::ToLocalTime(15552000, t) && t.tm_hour == 0;
}

// Known instants, checked in UTC (the test run sets TZ=UTC; Wine follows it).
TEST(Time, KnownInstantsInUtc) {
    if (!IsUtc()) GTEST_SKIP() << "needs TZ=UTC";
    struct Case {
        int64_t seconds;
        int year, month, day, hour, minute, second, weekday, yearDay;
    };
    const Case cases[] = {
        {0, 1970, 1, 1, 0, 0, 0, 4, 0},
        {-1, 1969, 12, 31, 23, 59, 59, 3, 364},
        {1078495629, 2004, 3, 5, 14, 7, 9, 5, 64},
        {2147483647, 2038, 1, 19, 3, 14, 7, 2, 18},
        {2147483648, 2038, 1, 19, 3, 14, 8, 2, 18},
        {4102444800, 2100, 1, 1, 0, 0, 0, 5, 0},
        {4107542400, 2100, 3, 1, 0, 0, 0, 1, 59},  // 2100 is no leap year
        {32503680000, 3000, 1, 1, 0, 0, 0, 3, 0},
        {253402300799, 9999, 12, 31, 23, 59, 59, 5, 364},
        {-11644473600, 1601, 1, 1, 0, 0, 0, 1, 0},
    };
    for (const auto& c : cases) {
        std::tm t{};
        ASSERT_TRUE(platform::ToLocalTime(c.seconds, t)) << c.seconds;
        EXPECT_EQ(t.tm_year + 1900, c.year) << c.seconds;
        EXPECT_EQ(t.tm_mon + 1, c.month) << c.seconds;
        EXPECT_EQ(t.tm_mday, c.day) << c.seconds;
        EXPECT_EQ(t.tm_hour, c.hour) << c.seconds;
        EXPECT_EQ(t.tm_min, c.minute) << c.seconds;
        EXPECT_EQ(t.tm_sec, c.second) << c.seconds;
        EXPECT_EQ(t.tm_wday, c.weekday) << c.seconds;
        EXPECT_EQ(t.tm_yday, c.yearDay) << c.seconds;
        int64_t back = 0;
        ASSERT_TRUE(platform::FromLocalTime(Calendar(c.year, c.month, c.day, c.hour, c.minute, c.second), back));
        EXPECT_EQ(back, c.seconds);
    }
}

// Whatever the zone: local time and back gives the same instant, far past
// 2038 too (times of day away from any daylight saving change).
TEST(Time, RoundTripInAnyZone) {
    const std::tm cases[] = {
        Calendar(2004, 3, 5, 14, 7, 9),   Calendar(2038, 1, 19, 12, 0, 0), Calendar(2041, 12, 31, 23, 59, 58),
        Calendar(2099, 7, 1, 12, 30, 0),  Calendar(2500, 6, 15, 15, 0, 0), Calendar(1999, 12, 31, 13, 0, 0),
        Calendar(2000, 2, 29, 16, 45, 1),
    };
    for (const auto& c : cases) {
        int64_t seconds = 0;
        ASSERT_TRUE(platform::FromLocalTime(c, seconds)) << c.tm_year + 1900;
        std::tm back{};
        ASSERT_TRUE(platform::ToLocalTime(seconds, back));
        EXPECT_EQ(back.tm_year, c.tm_year);
        EXPECT_EQ(back.tm_mon, c.tm_mon);
        EXPECT_EQ(back.tm_mday, c.tm_mday);
        EXPECT_EQ(back.tm_hour, c.tm_hour);
        EXPECT_EQ(back.tm_min, c.tm_min);
        EXPECT_EQ(back.tm_sec, c.tm_sec);
    }
    int64_t a = 0, b = 0;
    ASSERT_TRUE(platform::FromLocalTime(Calendar(2100, 1, 1, 12), a));
    ASSERT_TRUE(platform::FromLocalTime(Calendar(2100, 1, 2, 12), b));
    EXPECT_EQ(b - a, 86400) << "64-bit seconds, no wrap";
}

TEST(Time, RefusesImpossibleCalendarTimes) {
    const std::tm cases[] = {
        Calendar(2004, 0, 5),           Calendar(2004, 13, 5), Calendar(2004, 4, 31),    Calendar(2001, 2, 29),
        Calendar(1900, 2, 29),          Calendar(2004, 3, 0),  Calendar(2004, 3, 5, 24), Calendar(2004, 3, 5, 0, 60),
        Calendar(2004, 3, 5, 0, 0, 60), Calendar(0, 1, 1),     Calendar(10000, 1, 1),    Calendar(2004, 3, 5, -1),
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(platform::IsValidCalendarTime(c)) << c.tm_year + 1900 << "-" << c.tm_mon + 1 << "-" << c.tm_mday;
        int64_t seconds = 12345;
        EXPECT_FALSE(platform::FromLocalTime(c, seconds));
        EXPECT_EQ(seconds, 12345) << "nothing written on failure";
    }
    EXPECT_TRUE(platform::IsValidCalendarTime(Calendar(2000, 2, 29, 23, 59, 59)));
    EXPECT_TRUE(platform::IsValidCalendarTime(Calendar(1, 1, 1)));
    EXPECT_TRUE(platform::IsValidCalendarTime(Calendar(9999, 12, 31)));
}

#ifndef _WIN32
// POSIX follows TZ; Windows uses the zone of the system, which a test cannot
// change.
class ScopedZone {
public:
    explicit ScopedZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedZone() {
        if (old_)
            ::setenv("TZ", old_->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> old_;
};

TEST(Time, FollowsTheZoneAndItsDaylightSavingRules) {
    ScopedZone zone("EST5EDT,M3.2.0,M11.1.0");
    struct Case {
        std::tm local;
        int64_t utc;
    };
    const Case cases[] = {
        {Calendar(2004, 3, 5, 14, 7, 9), 1078495629 + 5 * 3600},    // winter: UTC-5
        {Calendar(2004, 7, 1, 12, 0, 0), 1088683200 + 4 * 3600},    // summer: UTC-4
        {Calendar(2040, 7, 1, 12, 0, 0), 2224756800LL + 4 * 3600},  // summer rules past 2038
    };
    for (const auto& c : cases) {
        int64_t seconds = 0;
        ASSERT_TRUE(platform::FromLocalTime(c.local, seconds));
        EXPECT_EQ(seconds, c.utc);
        std::tm back{};
        ASSERT_TRUE(platform::ToLocalTime(c.utc, back));
        EXPECT_EQ(back.tm_hour, c.local.tm_hour);
        EXPECT_EQ(back.tm_isdst, c.local.tm_mon == 6 ? 1 : 0);
    }
    // 02:30 on the spring day does not exist; the system picks a neighbour.
    int64_t gap = 0;
    EXPECT_TRUE(platform::FromLocalTime(Calendar(2004, 3, 14, 2, 30, 0), gap));
}
#endif

TEST(Time, DaysInMonth) {
    struct Case {
        int year, month, days;
    };
    const Case cases[] = {{2004, 2, 29}, {2003, 2, 28},  {1900, 2, 28}, {2000, 2, 29}, {2100, 2, 28},
                          {2004, 4, 30}, {2004, 12, 31}, {2004, 0, 0},  {2004, 13, 0}};
    for (const auto& c : cases) EXPECT_EQ(platform::DaysInMonth(c.year, c.month), c.days) << c.year << "-" << c.month;
}

}  // namespace
