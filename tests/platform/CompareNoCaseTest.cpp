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
        i += text::decode(a, i, ca, &va);
        j += text::decode(b, j, cb, &vb);
        const uint32_t ka = va ? text::upper(ca) : 0x110000u + ca;
        const uint32_t kb = vb ? text::upper(cb) : 0x110000u + cb;
        if (ka != kb) return ka < kb ? -1 : 1;
    }
    return i < a.size() ? 1 : (j < b.size() ? -1 : 0);
}

TEST(CompareNoCase, AgreesWithTheComparisonByCodePoints) {
    const std::vector<std::string> pieces = {"a", "A", "z", "Z", "_", "[", "`", "{", "0", "9", ".", " ", "~",
                                             "\x7F", "\xC3\xA9", "\xC3\x89", "\xC3\x9F", "\xE2\x82\xAC", "\xFF",
                                             "\xC3"};
    std::mt19937 random(7);
    auto name = [&] {
        std::string s;
        const int n = static_cast<int>(random() % 6);
        for (int k = 0; k < n; ++k) s += pieces[random() % pieces.size()];
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string a = name(), b = round % 3 ? name() : a + name();
        ASSERT_EQ(Sign(text::compareNoCase(a, b)), Reference(a, b)) << a << " | " << b;
        ASSERT_EQ(Sign(text::compareNoCase(b, a)), Reference(b, a)) << b << " | " << a;
    }
    for (int c = 0; c < 128; ++c)
        for (int d = 0; d < 128; ++d) {
            const std::string a(1, static_cast<char>(c)), b(1, static_cast<char>(d));
            ASSERT_EQ(Sign(text::compareNoCase(a, b)), Reference(a, b)) << c << " " << d;
        }
}

}  // namespace
