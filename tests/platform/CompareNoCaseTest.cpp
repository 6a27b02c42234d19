// The name comparison of the sorting orders has a fast path for ASCII; it
// must order every pair of names as the comparison by folded code points.
#include <gtest/gtest.h>

#include <random>

#include "platform/Text.h"

namespace {

int Sign(int v) {
    return (v > 0) - (v < 0);
}

// By code points, upper-cased; stray bytes after every character.
int Reference(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        char32_t ca, cb;
        bool va, vb;
        i += text::Decode(a, i, ca, &va);
        j += text::Decode(b, j, cb, &vb);
        const uint32_t ka = va ? text::Upper(ca) : 0x110000u + ca;
        const uint32_t kb = vb ? text::Upper(cb) : 0x110000u + cb;
        if (ka != kb) return ka < kb ? -1 : 1;
    }
    return i < a.size() ? 1 : (j < b.size() ? -1 : 0);
}

// Fewer than `most` pieces, drawn at random.
std::string RandomName(std::mt19937& random, const std::vector<std::string>& pieces, unsigned most) {
    std::string s;
    const unsigned n = random() % most;
    for (unsigned k = 0; k < n; ++k) s += pieces[random() % pieces.size()];
    return s;
}

TEST(CompareNoCase, AgreesWithTheComparisonByCodePoints) {
    const std::vector<std::string> pieces = {"a", "A", "z", "Z", "_", "[", "`", "{", "0", "9", ".", " ", "~",
                                             "\x7F", "\xC3\xA9", "\xC3\x89", "\xC3\x9F", "\xE2\x82\xAC", "\xFF",
                                             "\xC3"};
    std::mt19937 random(7);
    auto name = [&] { return RandomName(random, pieces, 6); };
    for (int round = 0; round < 20000; ++round) {
        const std::string a = name(), b = round % 3 ? name() : a + name();
        ASSERT_EQ(Sign(text::CompareNoCase(a, b)), Reference(a, b)) << a << " | " << b;
        ASSERT_EQ(Sign(text::CompareNoCase(b, a)), Reference(b, a)) << b << " | " << a;
    }
    for (int c = 0; c < 128; ++c)
        for (int d = 0; d < 128; ++d) {
            const std::string a(1, static_cast<char>(c)), b(1, static_cast<char>(d));
            ASSERT_EQ(Sign(text::CompareNoCase(a, b)), Reference(a, b)) << c << " " << d;
        }
}

// The sort's name keys decide most comparisons by themselves; where they do,
// they must decide as the comparison of the whole names.
TEST(CompareNoCase, NameKeysThatDifferOrderAsTheNames) {
    const std::vector<std::string> pieces = {"a", "A", "z", "Z", "_", "0", ".", std::string(1, '\0'), "\x7F",
                                             "\xC3\xA9", "\xC3\x89", "\xDF\xBF", "\xE2\x82\xAC", "\xEF\xBF\xBF",
                                             "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF", "\xFF", "\xC3", "\x80"};
    std::mt19937 random(11);
    auto name = [&] { return RandomName(random, pieces, 12); };
    int decided = 0;
    const int rounds = 40000;
    for (int round = 0; round < rounds; ++round) {
        const std::string a = name(), b = round % 3 ? name() : a + name();
        const auto ka = text::MakeNoCaseKey(a), kb = text::MakeNoCaseKey(b);
        if (ka == kb) continue;
        ++decided;
        ASSERT_EQ(ka < kb ? -1 : 1, Reference(a, b)) << a << " | " << b;
    }
    // Keys that were always equal would pass the loop above and help nobody.
    EXPECT_GT(decided, rounds / 2);

    const struct {
        const char* a;
        const char* b;
        int order;  // of the keys: -1, 0 (undecided), 1
    } cases[] = {
        {"IMG_0001.jpg", "img_0002.JPG", -1},
        {"file", "FILE", 0},
        {"abc", "abcd", -1},
        {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89", 0},
        {"a\xFF", "a\xC3\xA9", 1},
        {"z", "\xC3\xA9", -1},
        // Equal in their first sixteen bytes: left to the full comparison.
        {"holiday-2026-08-01.jpg", "holiday-2026-08-02.jpg", 0},
    };
    for (const auto& c : cases) {
        const auto ka = text::MakeNoCaseKey(c.a), kb = text::MakeNoCaseKey(c.b);
        EXPECT_EQ(ka == kb ? 0 : (ka < kb ? -1 : 1), c.order) << c.a << " | " << c.b;
    }
}

}  // namespace
