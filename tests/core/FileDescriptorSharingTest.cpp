// A descriptor keeps little so that millions fit in memory: the folder is
// shared, the path made on demand, the entire-name part is the name. None of
// it may show in what the descriptor answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

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
    const auto folder = std::make_shared<const std::string>("dir" + S + "sub");
    CFileDescriptor a(folder, "a", 0);
    CFileDescriptor b(folder, "b", 1);
    CFileDescriptor c(b);
    CFileDescriptor other("dir" + S + "other", "a", 0);
    EXPECT_EQ(&a.folder(), &b.folder());
    EXPECT_EQ(&b.folder(), &c.folder());
    EXPECT_EQ(other.folder(), "dir" + S + "other");
    EXPECT_EQ(b.path(), "dir" + S + "sub" + S + "b");
}

// Sizes around the radix's bucket count and a large shuffled list: every
// descriptor comes back, once, in address order.
TEST(FileDescriptorSharing, SortingByAddressKeepsEveryDescriptor) {
    for (size_t count : {size_t{0}, size_t{1}, size_t{2}, size_t{2047}, size_t{2049}, size_t{100000}}) {
        CFileList list;
        for (size_t i = 0; i < count; ++i) list.push_back(std::make_unique<CFileDescriptor>("dir", std::to_string(i), 0));
        std::mt19937 random(static_cast<unsigned>(count));
        std::shuffle(list.begin(), list.end(), random);
        std::vector<const CFileDescriptor*> before;
        for (const auto& fd : list) before.push_back(fd.get());
        SortByAddress(list);
        ASSERT_EQ(list.size(), count);
        std::vector<const CFileDescriptor*> after;
        for (const auto& fd : list) after.push_back(fd.get());
        EXPECT_TRUE(std::is_sorted(after.begin(), after.end(), std::less<>())) << count;
        std::sort(before.begin(), before.end(), std::less<>());
        EXPECT_EQ(after, before) << count;
        ReleaseFileList(list);
        EXPECT_TRUE(list.empty());
    }
}

}  // namespace
