#include <gtest/gtest.h>

#include "operations/Case.h"
#include "tests/operations/TextOpsSupport.h"

namespace {

using textops::Apply;
using textops::Make;

TEST(Case, LowerUpperAndFirstLetter) {
    struct Case {
        const char* part;
        const char* lower;
        const char* upper;
        const char* capital;
    };
    const Case cases[] = {
        {"ÉTÉ", "été", "ÉTÉ", "Été"},
        {"éclair", "éclair", "ÉCLAIR", "Éclair"},
        {"hELLO wORLD", "hello world", "HELLO WORLD", "Hello world"},
        {"1st Place", "1st place", "1ST PLACE", "1st place"},  // only the first character is raised
        {"", "", "", ""},
        {"Ärger über Öl", "ärger über öl", "ÄRGER ÜBER ÖL", "Ärger über öl"},
        {"ΣΟΦΊΑ", "σοφία", "ΣΟΦΊΑ", "Σοφία"},
        {"日本語 Mix", "日本語 mix", "日本語 MIX", "日本語 mix"},
        {"İstanbul", "istanbul", "İSTANBUL", "Istanbul"},  // length-changing mappings are fine here
        {"\377aB", "\377ab", "\377AB", "\377ab"},          // a stray byte survives untouched
    };
    for (const auto& c : cases) {
        auto lower = Make<CLowercaseExecute>();
        auto upper = Make<CUppercaseExecute>();
        auto capital = Make<CCapitalExecute>();
        EXPECT_EQ(Apply(lower, c.part), c.lower) << c.part;
        EXPECT_EQ(Apply(upper, c.part), c.upper) << c.part;
        EXPECT_EQ(Apply(capital, c.part), c.capital) << c.part;
    }
}

TEST(Case, OnlyThePartChanges) {
    auto upper = Make<CUppercaseExecute>();
    EXPECT_EQ(Apply(upper, "été.jpg", 1), "ÉTÉ.jpg");
    EXPECT_EQ(Apply(upper, "été.jpg", 3), "été.JPG");
    auto capital = Make<CCapitalExecute>();
    EXPECT_EQ(Apply(capital, "README", 2), "README");  // no extension: nothing to change
}

TEST(Case, TitleAndProperCase) {
    const char* kDefaultWords = "a an the and or of";
    struct Case {
        const char* part;
        int delimiters;
        const char* words;  // null: Proper Case
        const char* result;
    };
    const Case cases[] = {
        {"THE LORD OF THE RINGS", 0, kDefaultWords, "The Lord of the Rings"},
        {"a tale of two cities", 0, kDefaultWords, "A Tale of Two Cities"},  // a small word at the start is raised
        {"best of (the) year", 1, kDefaultWords, "Best of (the) Year"},
        {"rock-and-roll of the year", 0, kDefaultWords, "Rock-and-roll of the Year"},
        {"rock-and-roll of the year", 1, kDefaultWords, "Rock-and-Roll of the Year"},
        {"end of the road", 0, "The Of", "End Of The Road"},  // capitals in the list never match
        {"rock'n'roll-star", 0, nullptr, "Rock'n'roll-star"},
        {"rock'n'roll-star", 1, nullptr, "Rock'N'Roll-Star"},
        {"rock'n'roll-star", 2, nullptr, "Rock'n'roll-Star"},
        {"rock'n'roll-star", 7, nullptr, "Rock'n'roll-star"},  // an unknown choice splits at spaces only
        {"élan vital d'été", 1, nullptr, "Élan Vital D'Été"},
        {"élan vital d'été", 2, nullptr, "Élan Vital D'été"},
        {"été–hiver", 0, nullptr, "Été–hiver"},  // an en dash is punctuation
        {"été–hiver", 1, nullptr, "Été–Hiver"},
        {"abc　def", 0, nullptr, "Abc　Def"},  // an ideographic space is a space
        {"  two  spaces ", 0, nullptr, "  Two  Spaces "},
        {"'twas night", 2, nullptr, "'twas Night"},
        {"", 1, kDefaultWords, ""},
        {"the.of.a", 1, kDefaultWords, "The.of.a"},
        // µ, ª and º are letters, inside a word; € and ™ are punctuation
        {"10\xC2\xB5m filter", 1, nullptr, "10\xC2\xB5m Filter"},
        {"n\xC2\xBA" "5 and 1\xC2\xAA edici\xC3\xB3n", 1, nullptr, "N\xC2\xBA" "5 And 1\xC2\xAA Edici\xC3\xB3n"},
        {"\xE2\x82\xAC" "uro deal\xE2\x84\xA2" "x", 1, nullptr, "\xE2\x82\xAC" "Uro Deal\xE2\x84\xA2" "X"},
    };
    for (const auto& c : cases) {
        if (c.words) {
            auto op = Make<CTitlecaseExecute>(c.delimiters, std::string(c.words));
            EXPECT_EQ(Apply(op, c.part), c.result) << c.part << " / " << c.delimiters;
        } else {
            auto op = Make<CPropercaseExecute>(c.delimiters);
            EXPECT_EQ(Apply(op, c.part), c.result) << c.part << " / " << c.delimiters;
        }
    }
}

TEST(Case, SmallWordList) {
    using Words = std::vector<std::string>;
    EXPECT_EQ(CTitlecaseExecute::ParseSmallWords("a an the and or of"), (Words{"a", "an", "the", "and", "or", "of"}));
    EXPECT_EQ(CTitlecaseExecute::ParseSmallWords("  a   of\t\n"), (Words{"a", "of"}));
    // Only spaces cut words; other white space is trimmed at the ends only.
    EXPECT_EQ(CTitlecaseExecute::ParseSmallWords("a \t an\tthe"), (Words{"a", "an\tthe"}));
    EXPECT_EQ(CTitlecaseExecute::ParseSmallWords("   "), Words{});
    EXPECT_EQ(CTitlecaseExecute::ParseSmallWords("de"), Words{"de"});
    EXPECT_TRUE(Make<CPropercaseExecute>(0).smallWords().empty());
}

}  // namespace
