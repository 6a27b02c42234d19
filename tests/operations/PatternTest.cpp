#include <gtest/gtest.h>

#include "operations/Pattern.h"
#include "tests/operations/TextOpsSupport.h"

namespace {

using textops::Apply;

TEST(Pattern, ReplacesWhatItMatches) {
    struct Case {
        const char* name;
        const char* pattern;
        const char* with;
        bool ignoreCase;
        bool all;
        int scope;
        const char* result;
    };
    const Case cases[] = {
        {"IMG_0042.jpg", R"(IMG_(\d+))", "Photo $1", false, true, 1, "Photo 0042.jpg"},
        {"IMG_0042.jpg", R"(img_(\d+))", "Photo $1", false, true, 1, "IMG_0042.jpg"},  // case counts
        {"IMG_0042.jpg", R"(img_(\d+))", "Photo $1", true, true, 1, "Photo 0042.jpg"},
        {"2024-05-17 trip", R"((?<y>\d{4})-(?<m>\d\d)-(?<d>\d\d))", "${d}.${m}.${y}", false, true, 0,
         "17.05.2024 trip"},
        {"a-b-c", "-", "_", false, true, 0, "a_b_c"},
        {"a-b-c", "-", "_", false, false, 0, "a_b-c"},  // the first match only
        {"Ärger über Öl", R"(\b(\w))", "[$1]", false, true, 0, "[Ä]rger [ü]ber [Ö]l"},  // letters, not bytes
        {"ÉTÉ", "été", "summer", true, true, 0, "summer"},
        {"日本語.txt", "^.", "X", false, true, 1, "X本語.txt"},  // one character, three bytes
        {"report.TXT", "txt", "md", true, true, 3, "report.md"},
        {"price $5", R"(\$(\d))", "$$$1", false, true, 0, "price $5"},
        {"abc", "x*", "-", false, true, 0, "-a-b-c-"},  // empty matches, as Perl makes them
        {"no match", "zzz", "y", false, true, 0, "no match"},
    };
    for (const auto& c : cases) {
        CReplaceByPatternExecute op(CRunOptions{}, c.pattern, c.with, c.ignoreCase, c.all);
        EXPECT_EQ(Apply(op, c.name, c.scope), c.result) << c.name << " / " << c.pattern;
        EXPECT_EQ(op.Problem(), "") << c.pattern;
    }
}

TEST(Pattern, ABrokenPatternSaysWhereAndRenamesNothing) {
    struct Case {
        const char* pattern;
        size_t position;  // in characters, from 1
    };
    const Case cases[] = {{"(abc", 5}, {"ab)", 3}, {"é[", 3}, {"a{2,1}", 6}, {"(?<n>a)(?<n>b)", 13}};
    for (const auto& c : cases) {
        const CPattern pattern(c.pattern, false);
        EXPECT_FALSE(pattern.ok()) << c.pattern;
        EXPECT_FALSE(pattern.error().empty()) << c.pattern;
        EXPECT_EQ(pattern.errorPosition(), c.position) << c.pattern << ": " << pattern.error();
    }
}

TEST(Pattern, WorkWithoutEndIsStoppedAndTold) {
    // Nested repeats over a name that almost matches: exponential
    // backtracking, which the match limit cuts short.
    CReplaceByPatternExecute op(CRunOptions{}, "^(a+)+$", "x", false, true);
    const std::string name(40, 'a');
    EXPECT_EQ(Apply(op, name + "!"), name + "!");
    EXPECT_NE(op.Problem().find("too much work on 1 name"), std::string::npos) << op.Problem();
    // A new pass starts its count afresh.
    testing_support::CPass pass(op);
    const CFileDescriptor fine("dir", "aaa", 0);
    EXPECT_EQ(pass(fine)->name(), "x");
    EXPECT_EQ(op.Problem(), "");
}

TEST(Pattern, AReplacementThatNamesNoGroupIsTold) {
    CReplaceByPatternExecute op(CRunOptions{}, "(a)", "${missing}", false, true);
    EXPECT_EQ(Apply(op, "abc"), "abc");
    EXPECT_NE(op.Problem().find("1 name keeps its name"), std::string::npos) << op.Problem();
}

}  // namespace
