#include <gtest/gtest.h>

#include "operations/AddInsert.h"
#include "operations/Occurrence.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "tests/support/Compute.h"

namespace {

const std::string S(1, platform::kPathSeparator);


std::string Apply(CExecute& op, const std::string& name, int scope = 0, const std::string& folder = "dir") {
    CFileDescriptor fd(folder, name, scope);
    const CFileDescriptor before(fd);
    auto out = testing_support::CPass(op)(fd);
    // compute never touches what it was given
    EXPECT_EQ(fd.name(), before.name());
    EXPECT_EQ(fd.part(), before.part());
    EXPECT_TRUE(text::IsValid(out->name()) || !text::IsValid(name)) << out->name();
    return out->name();
}

TEST(AddInsert, AddAtBeginningAndEnd) {
    struct Case {
        const char* name;
        int scope;
        const char* text;
        const char* begin;
        const char* end;
    };
    const Case cases[] = {
        {"photo.jpg", 0, "x_", "x_photo.jpg", "photo.jpgx_"},
        {"photo.jpg", 1, "x_", "x_photo.jpg", "photox_.jpg"},
        {"photo.jpg", 2, "x", "photox.jpg", "photo.jpgx"},
        {"photo.jpg", 3, "x", "photo.xjpg", "photo.jpgx"},
        {"README", 3, "md", "READMEmd", "READMEmd"},
        {"photo.jpg", 1, "", "photo.jpg", "photo.jpg"},
        {"\xC3\xA9t\xC3\xA9.txt", 1, "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80\xC3\xA9t\xC3\xA9.txt",
         "\xC3\xA9t\xC3\xA9\xF0\x9F\x98\x80.txt"},
    };
    for (const auto& c : cases) {
        const int scope = c.scope;
        CAddAtBeginningExecute begin(CRunOptions{.scope = scope}, c.text);
        CAddAtEndExecute end(CRunOptions{.scope = scope}, c.text);
        EXPECT_EQ(Apply(begin, c.name, scope), c.begin) << c.name << " " << scope;
        EXPECT_EQ(Apply(end, c.name, scope), c.end) << c.name << " " << scope;
    }
}

TEST(AddInsert, InsertAtAnOccurrence) {
    struct Case {
        const char* part;
        const char* anchor;
        int occurrence;
        int after;
        const char* result;
    };
    const Case cases[] = {
        {"banana", "a", 1, 0, "banXana"},   // 2nd
        {"banana", "a", 6, 1, "bananaX"},   // last, after
        {"banana", "a", 7, 0, "banXana"},   // 2nd to last
        {"banana", "a", 3, 0, "banana"},    // 4th: not there
        {"banana", "a", 0, 0, "bXanana"},   // 1st
        {"banana", "a", 2, 1, "bananaX"},   // 3rd, after
        {"banana", "a", 8, 0, "bXanana"},   // 3rd to last
        {"banana", "a", 9, 0, "banana"},    // 4th to last: not there
        {"banana", "a", 12, 0, "banana"},   // outside the list
        {"banana", "a", -1, 0, "banana"},
        {"aaaa", "aa", 1, 0, "aaXaa"},      // no overlap: the 2nd is at 2, not 1
        {"aaa", "aa", 6, 0, "Xaaa"},        // last non-overlapping match from the start
        {"aaa", "aa", 7, 0, "aaa"},         // only one from the end
        {"ab", "abc", 0, 0, "ab"},          // anchor longer than the part
        {"banana", "", 0, 0, "banana"},     // an empty anchor is found nowhere
        {"Banana", "b", 0, 0, "Banana"},    // case-sensitive
        {"caf\xC3\xA9 au lait", "\xC3\xA9", 0, 1, "caf\xC3\xA9X au lait"},
        {"\xE6\x97\xA5\xE6\x9C\xAC\xE6\x97\xA5", "\xE6\x97\xA5", 6, 0, "\xE6\x97\xA5\xE6\x9C\xAC" "X\xE6\x97\xA5"},
    };
    for (const auto& c : cases) {
        const int scope = 0;
        CAddAnywhereExecute op(CRunOptions{.scope = scope}, CAddAnywhereExecute::kAtText, c.occurrence, c.anchor, c.after, "X");
        EXPECT_EQ(Apply(op, c.part), c.result) << c.part << " / " << c.anchor << " #" << c.occurrence;
    }
}

TEST(AddInsert, InsertAtAPosition) {
    struct Case {
        const char* part;
        int direction;
        const char* position;
        const char* result;
    };
    const Case cases[] = {
        {"abc", 0, "0", "Xabc"},
        {"abc", 0, "1", "aXbc"},
        {"abc", 0, "3", "abcX"},
        {"abc", 0, "10", "abcX"},   // beyond the end appends
        {"abc", 1, "0", "abcX"},
        {"abc", 1, "1", "abXc"},
        {"abc", 1, "5", "Xabc"},    // before the start inserts at the start
        {"abc", 0, "-2", "Xabc"},
        {"abc", 0, " 2", "abXc"},   // a decimal scan skips leading blanks
        {"abc", 0, "x", "Xabc"},    // and reads nothing as 0
        {"abc", 2, "1", "abc"},     // unknown direction
        // Positions count characters, never cutting inside one.
        {"\xC3\xA9t\xC3\xA9", 0, "1", "\xC3\xA9Xt\xC3\xA9"},
        {"\xC3\xA9t\xC3\xA9", 1, "1", "\xC3\xA9tX\xC3\xA9"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", 0, "1", "\xE6\x97\xA5X\xE6\x9C\xAC"},
        {"a\xF0\x9F\x98\x80" "b", 0, "2", "a\xF0\x9F\x98\x80Xb"},
        {"a\xF0\x9F\x98\x80" "b", 1, "2", "aX\xF0\x9F\x98\x80" "b"},
    };
    for (const auto& c : cases) {
        const int scope = 0;
        CAddAnywhereExecute op(CRunOptions{.scope = scope}, CAddAnywhereExecute::kAtPosition, c.direction, c.position, 0, "X");
        EXPECT_EQ(Apply(op, c.part), c.result) << c.part << " dir " << c.direction << " pos " << c.position;
    }
}

TEST(AddInsert, InsertWorksOnTheScopedPart) {
    const int scope = 1;
    CAddAnywhereExecute op(CRunOptions{.scope = scope}, CAddAnywhereExecute::kAtPosition, 1, "0", 0, "_v2");
    EXPECT_EQ(Apply(op, "report.final.pdf", scope), "report.final_v2.pdf");
    CAddAnywhereExecute ext(CRunOptions{.scope = 3}, CAddAnywhereExecute::kAtText, 0, "p", 1, "X");
    EXPECT_EQ(Apply(ext, "report.pdf", 3), "report.pXdf");
}

TEST(AddInsert, AddFolderAtBeginning) {
    struct Case {
        std::string folder;
        const char* name;
        int scope;
        int separator;
        const char* result;
    };
    const Case cases[] = {
        {"C:" + S + "Photos" + S + "Trip", "img.jpg", 0, 1, "Trip img.jpg"},
        {"C:" + S + "Photos" + S + "Trip", "img.jpg", 1, 0, "Tripimg.jpg"},
        {"C:" + S + "Photos" + S + "Trip", "img.jpg", 3, 0, "img.Tripjpg"},
        {"C:", "img.jpg", 0, 1, "img.jpg"},  // directly in a root: nothing to add
        {"", "img.jpg", 0, 1, "img.jpg"},
        {S + "home" + S + "\xC3\xA9t\xC3\xA9", "a", 0, 1, "\xC3\xA9t\xC3\xA9 a"},
    };
    for (const auto& c : cases) {
        const int scope = c.scope;
        CAddFolderAtBeginningExecute op(CRunOptions{.scope = scope}, c.separator);
        EXPECT_EQ(Apply(op, c.name, scope, c.folder), c.result) << c.folder;
    }
}

TEST(AddInsert, ManuallyRenameOffersEveryItemWithThePartSelected) {
    CManuallyExecute op(CRunOptions{.scope = 1}, "typed");
    EXPECT_TRUE(op.options().confirm);
    EXPECT_TRUE(op.OffersEveryItem());
    CFileDescriptor fd("dir", "\xC3\xA9t\xC3\xA9.draft.txt", 3);
    auto out = testing_support::CPass(op)(fd);
    EXPECT_EQ(out->name(), fd.name());
    CNameRequest request;
    op.FillDialog(request, fd, *out);
    EXPECT_EQ(request.oldName, "dir" + S + "\xC3\xA9t\xC3\xA9.draft.txt");
    EXPECT_EQ(request.computed, fd.name());
    EXPECT_EQ(request.newName, fd.name());
    EXPECT_EQ(request.highlight, "typed");
    EXPECT_EQ(request.highlightStart, 10);  // characters, not bytes: "été.draft." is 10
    EXPECT_EQ(request.highlightSpan, 3);
}

TEST(AddInsert, DefaultDialogFilling) {
    CAddAtEndExecute op(CRunOptions{.confirm = true, .scope = 1}, "!");
    CFileDescriptor fd("dir", "a.txt", 1);
    auto out = testing_support::CPass(op)(fd);
    CNameRequest request;
    op.FillDialog(request, fd, *out);
    EXPECT_EQ(request.oldName, fd.path());
    EXPECT_EQ(request.computed, "a!.txt");
    EXPECT_EQ(request.newName, "a!.txt");
    EXPECT_TRUE(request.highlight.empty());
}

TEST(Occurrence, SearchFromBothEnds) {
    EXPECT_EQ(FindOccurrence("abcabcabc", "abc", 0), 0);
    EXPECT_EQ(FindOccurrence("abcabcabc", "abc", 2), 6);
    EXPECT_EQ(FindOccurrence("abcabcabc", "abc", 6), 6);
    EXPECT_EQ(FindOccurrence("abcabcabc", "abc", 7), 3);
    EXPECT_EQ(FindOccurrence("abcabcabc", "abc", 8), 0);
    EXPECT_EQ(FindOccurrence("abcabcabc", "abc", 9), -1);
    EXPECT_EQ(FindOccurrence("xaaay", "aa", 7), -1);  // from the end: one match only, at 2
    EXPECT_EQ(FindNthFromEnd("xaaay", "aa", 1), 2);
}

#undef COMMON

}  // namespace
