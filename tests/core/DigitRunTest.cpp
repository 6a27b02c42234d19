#include <gtest/gtest.h>

#include "core/DigitRun.h"

namespace {

TEST(DigitRun, FindsTheFirstRunFromAPosition) {
    struct Case {
        const char* text;
        size_t from;
        long first;
        long end;
    };
    const Case cases[] = {
        {"abc", 0, -1, -1},
        {"", 0, -1, -1},
        {"a12b3", 0, 1, 3},
        {"a12b3", 2, 2, 3},   // a start inside a run finds the rest of it
        {"a12b3", 3, 4, 5},
        {"a12b3", 5, -1, -1},
        {"a12b3", 100, -1, -1},
        {"2024", 0, 0, 4},
        {"\xC3\xA9" "12", 0, 2, 4},                 // after a two-byte letter
        {"\xEF\xBC\x91\xEF\xBC\x92" "3", 0, 6, 7},  // full-width digits are not digits
        {"\xD9\xA3" "4", 0, 2, 3},                  // nor are Arabic-Indic ones
        {"\xFF" "12\xFE", 0, 1, 3},                 // stray bytes pass by untouched
        {"1 2", 0, 0, 1},
    };
    for (const auto& c : cases) {
        const CDigitRun run = FindDigitRun(c.text, c.from);
        EXPECT_EQ(run.first, c.first) << c.text << " from " << c.from;
        EXPECT_EQ(run.end, c.end) << c.text << " from " << c.from;
        EXPECT_EQ(run.found(), c.first >= 0);
    }
}

TEST(DigitRun, SearchesTheScopedPartOnly) {
    struct Case {
        const char* name;
        int scope;
        long first;
        long end;
    };
    const Case cases[] = {
        {"file10.mp3", 0, 4, 6},
        {"file10.mp3", 1, 4, 6},
        {"file10.mp3", 3, 2, 3},  // positions are in the part "mp3"
        {"file10.txt", 2, -1, -1},
        {"README", 3, -1, -1},
    };
    for (const auto& c : cases) {
        const CFileDescriptor fd("dir", c.name, c.scope);
        const CDigitRun run = FindDigitRun(fd, 0);
        EXPECT_EQ(run.first, c.first) << c.name << " scope " << c.scope;
        EXPECT_EQ(run.end, c.end) << c.name << " scope " << c.scope;
    }
}

TEST(DigitRun, ReadsValuesThatFitAndRefusesTheRest) {
    struct Case {
        const char* digits;
        bool fits;
        int64_t value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"007", true, 7},
        {"2147483648", true, 2147483648LL},  // past 32 bits is still a number
        {"20240115123000", true, 20240115123000LL},
        {"9223372036854775807", true, INT64_MAX},
        {"00000000000000000000009223372036854775807", true, INT64_MAX},
        {"9223372036854775808", false, 0},
        {"99999999999999999999", false, 0},
        {"12a", false, 0},
    };
    for (const auto& c : cases) {
        int64_t value = -42;
        EXPECT_EQ(ReadDigitRun(c.digits, value), c.fits) << c.digits;
        EXPECT_EQ(value, c.fits ? c.value : -42) << c.digits;
    }
}

TEST(DigitRun, ComparesValuesOfAnyLength) {
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"9", "10", -1},
        {"10", "9", 1},
        {"007", "7", 0},
        {"0", "000", 0},
        {"12", "13", -1},
        {"099", "1", 1},
        {"100000000000000000000000", "99999999999999999999999", 1},
        {"99999999999999999999999", "000000000000099999999999999999999999", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareDigitValues(c.a, c.b), c.sign) << c.a << " vs " << c.b;
        EXPECT_EQ(CompareDigitValues(c.b, c.a), -c.sign) << c.b << " vs " << c.a;
    }
}

}  // namespace
