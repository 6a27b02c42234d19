// A descriptor keeps little so that millions fit in memory: the folder is
// shared, the path made on demand, the entire-name part is the name. None of
// it may show in what the descriptor answers.
#include <gtest/gtest.h>

#include "core/FileDescriptor.h"
#include "platform/FileSystem.h"

namespace {

const std::string S(1, platform::kPathSeparator);

// What every accessor answers, in one string, so that two descriptors can be
// compared whole.
std::string Answers(const CFileDescriptor& fd) {
    return fd.folder() + "|" + fd.path() + "|" + fd.name() + "|" + fd.part() + "|" + std::to_string(fd.start()) + "|" +
           std::to_string(fd.scope()) + "|" + (fd.isFolder() ? "folder" : "file");
}

TEST(FileDescriptorSharing, SetPartAndSetNameInEveryScope) {
    struct Case {
        int scope;
        const char* part;     // given to SetPart
        const char* name;     // then the name
        const char* renamed;  // given to SetName after that
        const char* kept;     // the part SetName leaves
    };
    const Case cases[] = {
        {0, "new.txt", "new.txt", "other.txt", "new.txt"},
        {1, "new", "new.txt", "other.txt", "new"},
        {2, ".md", "a.b.md", "x", ".md"},
        {3, "md", "a.b.md", "x", "md"},
        {0, "", "", "back", ""},
    };
    for (const auto& c : cases) {
        CFileDescriptor fd("dir", "a.b.txt", c.scope);
        const std::string label = "scope " + std::to_string(c.scope);
        CFileDescriptor before(fd);
        fd.SetPart(c.part);
        EXPECT_EQ(fd.part(), c.part) << label;
        EXPECT_EQ(fd.name(), c.name) << label;
        EXPECT_EQ(fd.path(), "dir" + S + fd.name()) << label;
        fd.SetName(c.renamed);
        EXPECT_EQ(fd.name(), c.renamed) << label;
        EXPECT_EQ(fd.part(), c.kept) << label << ": SetName leaves the part";
        EXPECT_EQ(fd.path(), "dir" + S + c.renamed) << label;
        // The copy made before is untouched, and a copy now answers the same.
        EXPECT_EQ(before.name(), "a.b.txt") << label;
        EXPECT_EQ(Answers(CFileDescriptor(fd)), Answers(fd)) << label;
    }
}

TEST(FileDescriptorSharing, ThePathIsMadeWhenAskedAndFollowsTheName) {
    CFileDescriptor fd("some" + S + "folder", "f.txt", 0);
    CFileDescriptor copy(fd);  // copied before the path was made
    EXPECT_EQ(copy.path(), "some" + S + "folder" + S + "f.txt");
    EXPECT_EQ(fd.path(), copy.path());
    const std::string& path = fd.path();
    EXPECT_EQ(&path, &fd.path()) << "the same string each time";
    fd.SetName("g.txt");
    EXPECT_EQ(fd.path(), "some" + S + "folder" + S + "g.txt");
    EXPECT_EQ(CFileDescriptor(fd).path(), fd.path());
    std::string copied = "left over";
    fd.CopyPathTo(copied);
    EXPECT_EQ(copied, fd.path());
    CFileDescriptor fresh("f", "n", 1);
    fresh.CopyPathTo(copied);
    EXPECT_EQ(copied, "f" + S + "n");
    // A path as given stays as given.
    CFileDescriptor given("a" + S + S + "b", 0);
    given.CopyPathTo(copied);
    EXPECT_EQ(copied, "a" + S + S + "b");
    CFileDescriptor bare("bare", 0);
    bare.CopyPathTo(copied);
    EXPECT_EQ(copied, "bare");
    EXPECT_EQ(given.path(), "a" + S + S + "b");
    EXPECT_EQ(given.folder(), "a" + S);
    EXPECT_EQ(given.name(), "b");
}

TEST(FileDescriptorSharing, EntriesOfAFolderShareItsPath) {
    CFileDescriptor a("dir" + S + "sub", "a", 0);
    CFileDescriptor b("dir" + S + "sub", "b", 1);
    CFileDescriptor c(b);
    CFileDescriptor other("dir" + S + "other", "a", 0);
    EXPECT_EQ(&a.folder(), &b.folder());
    EXPECT_EQ(&b.folder(), &c.folder());
    EXPECT_EQ(other.folder(), "dir" + S + "other");
    EXPECT_EQ(a.folder(), "dir" + S + "sub") << "still there after another folder was made";
}

}  // namespace
