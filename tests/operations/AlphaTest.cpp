#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "operations/Alpha.h"
#include "tests/support/Compute.h"

namespace {

using Names = std::vector<std::string>;

Names Sequence(CExecute& op, const Names& names, int scope = 0) {
    Names out;
    testing_support::CPass pass(op);
    for (const auto& name : names) out.push_back(pass(CFileDescriptor("dir", name, scope))->name());
    return out;
}

TEST(Alpha, LettersOfAValue) {
    struct Case {
        int64_t value;
        const char* letters;
    };
    const Case cases[] = {
        {0, "a"},     {1, "b"},       {25, "z"},     {26, "ba"},          {27, "bb"},
        {675, "zz"},  {676, "baa"},   {-1, "-b"},    {-26, "-ba"},        {2147483647, "gytisyx"},
        {INT64_MIN, "-dsqyomtlwmkgii"},
    };
    for (const auto& c : cases) EXPECT_EQ(LettersOf(c.value), c.letters) << c.value;
}

TEST(Alpha, Sequences) {
    struct Case {
        int kind;  // 0 beginning, 1 end, 2 list
        const char* start;
        const char* step;
        const char* digits;
        int uppercase;
        Names in;
        Names out;
    };
    const Case cases[] = {
        {0, "0", "1", "0", 0, {"f", "f", "f", "f"}, {"af", "bf", "cf", "df"}},
        {1, "24", "1", "2", 1, {"x", "x", "x"}, {"xAY", "xAZ", "xBA"}},
        {0, "1", "1", "3", 0, {"f"}, {"aabf"}},
        {0, "26", "1", "0", 0, {"f"}, {"baf"}},  // "ba" starts at "ba", not at "z"
        {2, "0", "1", "0", 0, {"x.jpg", "y.jpg"}, {"Part a", "Part b"}},
        {2, "0", "1", "0", 1, {"x"}, {"Part A"}},  // only the letters are raised
        {0, "25", "-13", "0", 0, {"f", "f"}, {"zf", "mf"}},
        // Below zero: a sign before the padded letters, every name still its own.
        {1, "1", "-1", "2", 0, {"x", "x", "x", "x"}, {"xab", "xaa", "x-ab", "x-ac"}},
        {1, "-1", "1", "0", 1, {"x"}, {"x-B"}},
    };
    for (const auto& c : cases) {
        std::unique_ptr<CAddNumberExecute> op;
        if (c.kind == 0)
            op = std::make_unique<CAddAlphaAtBeginningExecute>(CRunOptions{}, c.start, c.step, c.digits,
                                                               c.uppercase);
        else if (c.kind == 1)
            op = std::make_unique<CAddAlphaAtEndExecute>(CRunOptions{}, c.start, c.step, c.digits, c.uppercase);
        else
            op = std::make_unique<CProduceAlphabeticalListExecute>(CRunOptions{}, c.start, c.step, c.digits,
                                                                   "Part ", "", c.uppercase);
        EXPECT_EQ(Sequence(*op, c.in), c.out) << "start " << c.start << " step " << c.step << " digits " << c.digits;
    }
}

TEST(Alpha, TheTwentySeventhFileGetsBa) {
    CAddAlphaAtBeginningExecute op(CRunOptions{.scope = 1}, "0", "1", "0", 0);
    Names names;
    testing_support::CPass pass(op);
    for (int i = 0; i < 27; ++i) names.push_back(pass(CFileDescriptor("dir", "pic.jpg", 1))->name());
    EXPECT_EQ(names[0], "apic.jpg");
    EXPECT_EQ(names[25], "zpic.jpg");
    EXPECT_EQ(names[26], "bapic.jpg");
}

TEST(Alpha, StartLettersFilter) {
    struct Case {
        const char* typed;
        const char* kept;
        bool changed;
    };
    const Case cases[] = {
        {"abc", "abc", false}, {"", "", false},          {"aBc1-z", "acz", true},
        {"ABC", "", true},     {"\xC3\xA9t\xC3\xA9", "t", true}, {"a b", "ab", true},
    };
    for (const auto& c : cases) {
        std::string text = c.typed;
        EXPECT_EQ(FilterStartLetters(text), c.changed) << c.typed;
        EXPECT_EQ(text, c.kept) << c.typed;
    }
}

TEST(Alpha, StartLettersValue) {
    struct Case {
        std::string letters;
        int value;
        bool overflow;
    };
    const Case cases[] = {
        {"", 0, false},
        {"a", 0, false},
        {"z", 25, false},
        {"ba", 26, false},
        {"zz", 675, false},
        {"baa", 676, false},
        {"aaaaaaaaaaaaaaaaaaaaaab", 1, false},  // leading zero letters cost nothing
        {"gytisyx", INT_MAX, false},
        {"gytisyy", INT_MAX, true},
        {"zzzzzzz", INT_MAX, true},
        {std::string(10000, 'z'), INT_MAX, true},
    };
    for (const auto& c : cases) {
        bool overflow = !c.overflow;
        EXPECT_EQ(StartLettersValue(c.letters, &overflow), c.value) << c.letters.substr(0, 20);
        EXPECT_EQ(overflow, c.overflow) << c.letters.substr(0, 20);
    }
    // The value is the inverse of the letters, so a sequence starts exactly
    // where the user typed.
    for (int v : {0, 1, 25, 26, 27, 675, 676, 17575, 17576, 123456789, INT_MAX})
        EXPECT_EQ(StartLettersValue(LettersOf(v)), v) << v;
}

}  // namespace
