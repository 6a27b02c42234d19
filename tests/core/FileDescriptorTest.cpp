#include <gtest/gtest.h>

#include "core/FileDescriptor.h"
#include "platform/FileSystem.h"

namespace {

const std::string S(1, platform::kPathSeparator);

TEST(FileDescriptor, ScopesSplitTheName) {
    struct Case {
        const char* name;
        int scope;
        const char* part;
        int start;
    };
    const Case cases[] = {
        {"archive.tar.gz", 0, "archive.tar.gz", 0},
        {"archive.tar.gz", 1, "archive.tar", 0},
        {"archive.tar.gz", 2, ".gz", 11},
        {"archive.tar.gz", 3, "gz", 12},
        {"README", 1, "README", 0},
        {"README", 2, "", 6},
        {"README", 3, "", 6},
        {".profile", 1, "", 0},
        {".profile", 3, "profile", 1},
        {"trailing.", 3, "", 9},
        {"trailing.", 2, ".", 8},
        {"v1.2", 3, "2", 3},
        {"\xC3\xA9t\xC3\xA9.jpg", 1, "\xC3\xA9t\xC3\xA9", 0},
        {"\xE6\x97\xA5\xE6\x9C\xAC.\xF0\x9F\x98\x80", 3, "\xF0\x9F\x98\x80", 7},
        {"", 0, "", 0},
    };
    for (const auto& c : cases) {
        CFileDescriptor fd("dir" + S + c.name, c.scope);
        EXPECT_EQ(fd.part(), c.part) << c.name << " scope " << c.scope;
        EXPECT_EQ(fd.start(), c.start) << c.name << " scope " << c.scope;
        EXPECT_EQ(fd.name(), c.name);
        EXPECT_EQ(fd.folder(), "dir");
        EXPECT_FALSE(fd.isFolder());
    }
}

TEST(FileDescriptor, SetPartReplacesOnlyTheScope) {
    struct Case {
        const char* name;
        int scope;
        const char* part;
        const char* result;
    };
    const Case cases[] = {
        {"a.b.c", 1, "x", "x.c"},
        {"a.b.c", 2, ".txt", "a.b.txt"},
        {"a.b.c", 3, "", "a.b."},
        {"a.b.c", 0, "z", "z"},
        {"README", 3, "txt", "READMEtxt"},
        {"README", 2, ".md", "README.md"},
        {".profile", 1, "dot", "dot.profile"},
        {"\xC3\xA9t\xC3\xA9.jpg", 1, "\xE6\x97\xA5", "\xE6\x97\xA5.jpg"},
        {"photo.JPG", 3, "\xF0\x9F\x98\x80", "photo.\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) {
        CFileDescriptor fd("dir", c.name, c.scope);
        fd.SetPart(c.part);
        EXPECT_EQ(fd.name(), c.result) << c.name;
        EXPECT_EQ(fd.path(), "dir" + S + c.result);
        EXPECT_EQ(fd.part(), c.part);
    }
}

TEST(FileDescriptor, SetPartRepeatedlyKeepsWorkingOnTheCurrentName) {
    CFileDescriptor fd("dir", "a.txt", 1);
    fd.SetPart("abc.def");  // the new part brings a dot of its own
    EXPECT_EQ(fd.name(), "abc.def.txt");
    fd.SetPart("z");  // the range is recomputed on the current name
    EXPECT_EQ(fd.name(), "z.txt");
}

TEST(FileDescriptor, CreatorsSplitAndJoinPaths) {
    CFileDescriptor fromPath("root" + S + "sub" + S + "file.txt", 0);
    EXPECT_EQ(fromPath.folder(), "root" + S + "sub");
    EXPECT_EQ(fromPath.name(), "file.txt");

    CFileDescriptor noSeparator("justaname", 0);
    EXPECT_EQ(noSeparator.folder(), "justaname");
    EXPECT_EQ(noSeparator.name(), "");
    EXPECT_EQ(noSeparator.part(), "");
    EXPECT_EQ(noSeparator.path(), "justaname");

    CFileDescriptor trailing("dir" + S, 1);
    EXPECT_EQ(trailing.folder(), "dir");
    EXPECT_EQ(trailing.name(), "");

    CFileDescriptor joined("a" + S + "b", "c.d", 3);
    EXPECT_EQ(joined.path(), "a" + S + "b" + S + "c.d");
    EXPECT_EQ(joined.part(), "d");
}

TEST(FileDescriptor, SetNameLeavesPartAndStart) {
    CFileDescriptor fd("dir", "old.txt", 1);
    fd.SetName("brand new.doc");
    EXPECT_EQ(fd.name(), "brand new.doc");
    EXPECT_EQ(fd.path(), "dir" + S + "brand new.doc");
    EXPECT_EQ(fd.part(), "old");
    EXPECT_EQ(fd.start(), 0);
}

TEST(FileDescriptor, CopyIsIndependent) {
    CFileDescriptor fd("dir", "a.txt", 1);
    fd.SetIsFolder(true);
    CFileDescriptor copy(fd);
    copy.SetPart("b");
    EXPECT_EQ(fd.name(), "a.txt");
    EXPECT_EQ(copy.name(), "b.txt");
    EXPECT_TRUE(copy.isFolder());
    EXPECT_EQ(copy.scope(), 1);
    EXPECT_EQ(copy.pictureInfo(), nullptr);
}

}  // namespace
