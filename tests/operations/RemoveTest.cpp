#include <gtest/gtest.h>

#include "operations/Remove.h"
#include "tests/operations/TextOpsSupport.h"

namespace {

using textops::Apply;
using textops::Make;

TEST(Remove, CountsFromEitherEndAndTruncate) {
    struct Case {
        const char* part;
        const char* n;
        const char* begin;
        const char* end;
        const char* truncate;
    };
    const Case cases[] = {
        {"abc", "3", "abc", "abc", "abc"},  // all of it: the name stays
        {"abcd", "3", "d", "a", "abc"},
        {"abc", "5", "abc", "abc", "abc"},
        {"abc", "0", "abc", "abc", ""},
        {"abc", "-2", "abc", "abc", "abc"},
        {"abc", " 1", "bc", "ab", "a"},
        {"éclair", "1", "clair", "éclai", "é"},
        {"日本語", "2", "語", "日", "日本"},
        {"a😀b", "2", "b", "a", "a😀"},
        {"holiday-photo", "8", "photo", "holid", "holiday-"},
        {"holiday-photo", "20", "holiday-photo", "holiday-photo", "holiday-photo"},
    };
    for (const auto& c : cases) {
        auto begin = Make<CRemoveAtBeginningExecute>(std::string(c.n));
        auto end = Make<CRemoveAtEndExecute>(std::string(c.n));
        auto truncate = Make<CTruncateToExecute>(std::string(c.n));
        EXPECT_EQ(Apply(begin, c.part), c.begin) << c.part << " " << c.n;
        EXPECT_EQ(Apply(end, c.part), c.end) << c.part << " " << c.n;
        EXPECT_EQ(Apply(truncate, c.part), c.truncate) << c.part << " " << c.n;
    }
    auto truncate = Make<CTruncateToExecute>(std::string("2"));
    EXPECT_EQ(Apply(truncate, "été.txt", 1), "ét.txt");
}

TEST(Remove, Extensions) {
    auto op = Make<CRemoveExtensionsExecute>();
    EXPECT_EQ(Apply(op, "a.tar.gz"), "a.tar");
    EXPECT_EQ(Apply(op, "README"), "README");
    EXPECT_EQ(Apply(op, "a.tar.gz", 1), "a.gz");
    EXPECT_EQ(Apply(op, "été.日本"), "été");
}

TEST(Remove, Vowels) {
    struct Case {
        const char* part;
        const char* result;
    };
    const Case cases[] = {
        {"Beautiful Day", "Btfl Dy"},
        {"aeiou", "aeiou"},  // nothing would be left
        {"Ärger über Öl", "rgr br l"},
        {"ÀÁÂÃÄ ÈÉÊË ÌÍÎÏ ÒÓÔÕÖ ÙÚÛÜ x", "    ÙÚ x"},  // ù and ú are not in the set
        {"àáâãä èéêë ìíîï òóôõö ùúûü y", "    ùú y"},
        {"Noe\xCC\x88l", "Nl"},          // a decomposed ë goes with its mark
        {"N\xCC\x88oel", "N\xCC\x88l"},  // a mark on a consonant stays
        // A letter and its accent are treated as the one character they
        // make: ü and Ä go, as their precomposed forms do; ú stays, as ú does.
        {"u\xCC\x88" "ber", "br"},
        {"A\xCC\x88rger", "rgr"},
        {"u\xCC\x81no", "u\xCC\x81n"},
        {"\xC3\xBAno", "\xC3\xBAn"},
        // A vowel with more accents than its own is another letter.
        {"e\xCC\x81\xCC\x81t", "e\xCC\x81\xCC\x81t"},
        {"\xC3\xA9\xCC\x81t", "\xC3\xA9\xCC\x81t"},
        {"日本語", "日本語"},
        {"ÿ œ å", "ÿ œ å"},
    };
    for (const auto& c : cases) {
        auto op = Make<CRemoveVowelsExecute>();
        EXPECT_EQ(Apply(op, c.part), c.result) << c.part;
    }
}

TEST(Remove, Anywhere) {
    enum { kText = 0, kPos = 1 };                    // start kinds
    enum { kEndPos = 0, kEndText = 1, kCount = 2 };  // end kinds
    struct Case {
        const char* name;
        int scope;
        int startKind, startValue;
        const char* start;
        int endKind, endValue;
        const char* end;
        int edge;
        const char* result;
    };
    const Case cases[] = {
        {"song (live).mp3", 1, kText, 0, "(", kEndText, 0, ")", 1, "song .mp3"},
        {"song (live).mp3", 1, kText, 0, "(", kEndText, 0, ")", 0, "song ).mp3"},
        {"song (live.mp3", 1, kText, 0, "(", kEndText, 0, ")", 1, "song (live.mp3"},
        {"x)(y", 0, kText, 0, "(", kEndText, 0, ")", 1, "x)(y"},  // end text only before the start
        {"abc", 0, kText, 0, "z", kEndPos, 0, "2", -1, "abc"},
        {"abcdef", 0, kPos, 0, "2", kCount, 0, "3", -1, "abf"},
        {"abcdef", 0, kPos, 0, "2", kCount, 1, "3", -1, "cdef"},  // held at the start
        {"abcdef", 0, kPos, 0, "4", kCount, 0, "9", -1, "abcd"},
        {"abcdef", 0, kPos, 0, "10", kCount, 1, "3", -1, "abcdef"},  // starts past the end
        {"abcdef", 0, kPos, 0, "2", kCount, 0, "0", -1, "abcdef"},
        {"abcdef", 0, kPos, 0, "2", kCount, 0, "-1", -1, "abcdef"},
        {"abcdef", 0, kPos, 0, "2", kCount, 2, "1", -1, "abcdef"},
        {"abcdef", 0, kPos, 0, "1", kEndPos, 1, "1", -1, "af"},
        {"abcdef", 0, kPos, 1, "2", kEndPos, 0, "10", -1, "abcd"},
        {"abcdef", 0, kPos, 1, "10", kEndPos, 0, "2", -1, "cdef"},  // before the start counts as 0
        {"abcdef", 0, kPos, 0, "4", kEndPos, 0, "2", -1, "abcdef"},
        {"abcdef", 0, kPos, 0, "1", kEndPos, 5, "2", -1, "abcdef"},
        {"abcdef", 0, kPos, 0, "1", 3, 0, "2", -1, "abcdef"},
        {"aaaa", 0, kText, 1, "aa", kCount, 0, "1", -1, "aaa"},
        {"été à Paris", 0, kText, 0, "à", kCount, 0, "2", -1, "été Paris"},
        {"éclair été", 0, kPos, 0, "0", kEndText, 6, "é", 0, "é"},
        {"日本の日本語", 0, kText, 7, "日本", kEndText, 6, "本", 1, "語"},
        {"a(b)c(d)e", 0, kText, 6, "(", kEndText, 6, ")", 1, "a(b)ce"},
    };
    for (const auto& c : cases) {
        auto op = Make<CRemoveAnywhereExecute>(c.startKind, c.startValue, std::string(c.start), c.endKind, c.endValue,
                                               std::string(c.end), c.edge);
        EXPECT_EQ(Apply(op, c.name, c.scope), c.result) << c.name << " from " << c.start << " to " << c.end;
    }
}

}  // namespace
