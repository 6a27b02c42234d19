// Large folders are read without a status call per entry, where the listing
// tells each entry's kind, and renamed through a handle on their folder.
// Neither may change what a run does.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/Execute.h"
#include "operations/AddInsert.h"
#include "platform/FileSystem.h"
#include "tests/support/TempDir.h"

using testing_support::TempDir;

namespace {

using Snap = std::set<std::string>;

// The real file system, with the kinds of chosen entries hidden, counting the
// status calls.
class KindCounter final : public platform::IFileSystem {
public:
    platform::IFileSystem& real = platform::realFileSystem();
    std::set<std::string> hidden;  ///< names listed with an unknown kind
    std::vector<std::string> statted;
    int unknown = 0;  ///< entries passed on without a kind

    uint32_t getAttributes(const std::string& path, platform::Attributes& out) override {
        statted.push_back(path);
        return real.getAttributes(path, out);
    }
    uint32_t listFolder(const std::string& folder, std::vector<std::string>& out) override {
        return real.listFolder(folder, out);
    }
    uint32_t listFolderEntries(const std::string& folder,
                               const std::function<void(const std::string&, platform::EntryKind)>& each) override {
        return real.listFolderEntries(folder, [&](const std::string& name, platform::EntryKind kind) {
            if (hidden.count(name)) kind = platform::EntryKind::kUnknown;
            if (kind == platform::EntryKind::kUnknown) ++unknown;
            each(name, kind);
        });
    }
    uint32_t move(const std::string& from, const std::string& to) override { return real.move(from, to); }
    uint32_t getCurrentDirectory(std::string& out) override { return real.getCurrentDirectory(out); }
    uint32_t setCurrentDirectory(const std::string& path) override { return real.setCurrentDirectory(path); }
    uint32_t getTimes(const std::string& path, platform::FileTimes& out) override { return real.getTimes(path, out); }
    std::unique_ptr<platform::IReadStream> openRead(const std::string& path, uint32_t& error) override {
        return real.openRead(path, error);
    }
    uint32_t writeFile(const std::string& path, const std::string& data) override { return real.writeFile(path, data); }
};

TEST(ListingAndMove, TheListingTellsFilesFromFolders) {
    TempDir dir;
    dir.File("file.txt");
    dir.Folder("folder");
    std::map<std::string, platform::EntryKind> seen;
    ASSERT_EQ(platform::realFileSystem().listFolderEntries(
                  dir.str(), [&](const std::string& name, platform::EntryKind kind) { seen[name] = kind; }),
              platform::kErrorSuccess);
    ASSERT_EQ(seen.size(), 2u) << "no \".\" or \"..\"";
    // A platform may not tell; when it does, it tells right.
    EXPECT_NE(seen.at("file.txt"), platform::EntryKind::kFolder);
    EXPECT_NE(seen.at("folder"), platform::EntryKind::kFile);
    int calls = 0;
    EXPECT_NE(platform::realFileSystem().listFolderEntries(dir / "missing",
                                                           [&](const std::string&, platform::EntryKind) { ++calls; }),
              platform::kErrorSuccess);
    EXPECT_EQ(calls, 0);
}

TEST(ListingAndMove, OnlyEntriesOfUnknownKindAreRead) {
    for (bool hide : {false, true}) {
        TempDir dir;
        dir.File("a.txt", "a");
        dir.File("sub/b.txt", "b");
        dir.File("sub/deep/c.txt", "c");
        KindCounter fs;
        if (hide) fs.hidden = {"sub", "c.txt"};
        CAddAtBeginningExecute op(1, 0, 1, 0, 0, 0, 1, "x_");
        op.setFileSystem(fs);
        const std::vector<std::string> paths = {dir.str()};
        op.run(paths, 1, nullptr);
        EXPECT_EQ(dir.Snapshot(), (Snap{"x_a.txt=a", "sub/", "sub/x_b.txt=b", "sub/deep/", "sub/deep/x_c.txt=c"}))
            << "hidden: " << hide;
        // The given folder, and the entries that the listing did not tell.
        EXPECT_EQ(static_cast<int>(fs.statted.size()), 1 + fs.unknown) << "hidden: " << hide;
        EXPECT_EQ(fs.statted.front(), dir.str());
        if (hide) {
            EXPECT_GE(fs.unknown, 2);
        }
    }
}

TEST(ListingAndMove, RenamesInOneFolderAfterTheFolderMoved) {
    TempDir dir;
    for (const char* name : {"a/1", "a/2", "a/3", "a/4"}) dir.File(name, name);
    platform::IFileSystem& fs = platform::realFileSystem();
    ASSERT_EQ(fs.move(dir / "a/1", dir / "a/one"), platform::kErrorSuccess);
    ASSERT_EQ(fs.move(dir / "a/2", dir / "a/two"), platform::kErrorSuccess);
    EXPECT_EQ(fs.move(dir / "a/two", dir / "a/one"), platform::kErrorAlreadyExists) << "never replaces";
    // The folder is renamed: its old path leads nowhere any more.
    ASSERT_EQ(fs.move(dir / "a", dir / "b"), platform::kErrorSuccess);
    EXPECT_EQ(fs.move(dir / "a/3", dir / "a/three"), platform::kErrorPathNotFound);
    ASSERT_EQ(fs.move(dir / "b/3", dir / "b/three"), platform::kErrorSuccess);
    // A folder of the same name made anew is that new folder.
    dir.File("a/5", "a/5");
    ASSERT_EQ(fs.move(dir / "a/5", dir / "a/five"), platform::kErrorSuccess);
    ASSERT_EQ(fs.move(dir / "b/4", dir / "b/four"), platform::kErrorSuccess);
    EXPECT_EQ(fs.move(dir / "b/gone", dir / "b/x"), platform::kErrorFileNotFound);
    // Moved by someone else, and made anew: the path names the new folder.
    std::filesystem::rename(testing_support::U8(dir / "b"), testing_support::U8(dir / "c"));
    dir.File("b/6", "b/6");
    ASSERT_EQ(fs.move(dir / "b/6", dir / "b/six"), platform::kErrorSuccess);
    EXPECT_EQ(dir.Snapshot(), (Snap{"a/", "a/five=a/5", "b/", "b/six=b/6", "c/", "c/one=a/1", "c/two=a/2",
                                    "c/three=a/3", "c/four=a/4"}));
}

}  // namespace
