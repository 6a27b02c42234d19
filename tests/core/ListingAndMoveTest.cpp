// Large folders are read without a status call per entry, where the listing
// tells each entry's kind, and renamed through a handle on their folder.
// Neither may change what a run does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "core/Execute.h"
#include "core/RenameRun.h"
#include "core/Sort.h"
#include "operations/AddInsert.h"
#include "platform/FileSystem.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/NoJournalFileSystem.h"
#include "tests/support/TempDir.h"

using testing_support::FaultyFileSystem;
using testing_support::TempDir;

namespace {

using Snap = std::set<std::string>;

TEST(ListingAndMove, TheListingTellsFilesFromFolders) {
    TempDir dir;
    dir.File("file.txt");
    dir.Folder("folder");
    std::map<std::string, platform::EntryKind> seen;
    ASSERT_EQ(platform::RealFileSystem().ListFolderEntries(
                  dir.str(), [&](const std::string& name, platform::EntryKind kind) { seen[name] = kind; }),
              platform::kErrorSuccess);
    ASSERT_EQ(seen.size(), 2u) << "no \".\" or \"..\"";
    // A platform may not tell; when it does, it tells right.
    EXPECT_NE(seen.at("file.txt"), platform::EntryKind::kFolder);
    EXPECT_NE(seen.at("folder"), platform::EntryKind::kFile);
    int calls = 0;
    EXPECT_NE(platform::RealFileSystem().ListFolderEntries(dir / "missing",
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
        FaultyFileSystem fs;
        if (hide) {
            fs.HideKind(dir / "sub");
            fs.HideKind(dir / "sub/deep/c.txt");
        }
        CAddAtBeginningExecute op(CRunOptions{.folders = false}, "x_");
        (void)CRenameRun(op.options(), fs, SkippingPrompts()).Run({dir.str()}, op);
        EXPECT_EQ(dir.Snapshot(), (Snap{"x_a.txt=a", "sub/", "sub/x_b.txt=b", "sub/deep/", "sub/deep/x_c.txt=c"}))
            << "hidden: " << hide;
        // The given folder, and the entries that the listing did not tell.
        EXPECT_EQ(fs.Count(FaultyFileSystem::kGetAttributes), hide ? 3 : 1);
        EXPECT_EQ(fs.Count(FaultyFileSystem::kGetAttributes, dir.str()), 1);
        if (hide) {
            EXPECT_EQ(fs.Count(FaultyFileSystem::kGetAttributes, dir / "sub"), 1);
            EXPECT_EQ(fs.Count(FaultyFileSystem::kGetAttributes, dir / "sub/deep/c.txt"), 1);
        }
    }
}

TEST(ListingAndMove, RenamesInOneFolderAfterTheFolderMoved) {
    TempDir dir;
    for (const char* name : {"a/1", "a/2", "a/3", "a/4"}) dir.File(name, name);
    platform::IFileSystem& fs = platform::RealFileSystem();
    ASSERT_EQ(testing_support::MoveByPaths(fs, dir / "a/1", dir / "a/one"), platform::kErrorSuccess);
    ASSERT_EQ(testing_support::MoveByPaths(fs, dir / "a/2", dir / "a/two"), platform::kErrorSuccess);
    EXPECT_EQ(testing_support::MoveByPaths(fs, dir / "a/two", dir / "a/one"), platform::kErrorAlreadyExists) << "never replaces";
    // The folder is renamed: its old path leads nowhere any more.
    ASSERT_EQ(testing_support::MoveByPaths(fs, dir / "a", dir / "b"), platform::kErrorSuccess);
    EXPECT_EQ(testing_support::MoveByPaths(fs, dir / "a/3", dir / "a/three"), platform::kErrorPathNotFound);
    ASSERT_EQ(testing_support::MoveByPaths(fs, dir / "b/3", dir / "b/three"), platform::kErrorSuccess);
    // A folder of the same name made anew is that new folder.
    dir.File("a/5", "a/5");
    ASSERT_EQ(testing_support::MoveByPaths(fs, dir / "a/5", dir / "a/five"), platform::kErrorSuccess);
    ASSERT_EQ(testing_support::MoveByPaths(fs, dir / "b/4", dir / "b/four"), platform::kErrorSuccess);
    EXPECT_EQ(testing_support::MoveByPaths(fs, dir / "b/gone", dir / "b/x"), platform::kErrorFileNotFound);
    // Moved by someone else, and made anew: the path names the new folder.
    std::filesystem::rename(testing_support::U8(dir / "b"), testing_support::U8(dir / "c"));
    dir.File("b/6", "b/6");
    ASSERT_EQ(testing_support::MoveByPaths(fs, dir / "b/6", dir / "b/six"), platform::kErrorSuccess);
    EXPECT_EQ(dir.Snapshot(), (Snap{"a/", "a/five=a/5", "b/", "b/six=b/6", "c/", "c/one=a/1", "c/two=a/2",
                                    "c/three=a/3", "c/four=a/4"}));
}

// Everything below `folder` as relative paths, folders ending in '/', links
// to folders in '@', at most `depth` levels down.
void Walk(const std::string& folder, const std::string& prefix, int depth, std::vector<std::string>& out) {
    platform::IFileSystem& fs = platform::RealFileSystem();
    std::vector<std::string> names;
    ASSERT_EQ(testing_support::ListNames(fs, folder, names), platform::kErrorSuccess) << folder;
    for (const auto& name : names) {
        const std::string path = folder + platform::kPathSeparator + name;
        platform::Attributes attributes;
        ASSERT_EQ(fs.GetAttributes(path, attributes), platform::kErrorSuccess) << path;
        const bool folderItself = attributes.kind == platform::EntryKind::kFolder;
        const bool link = attributes.kind == platform::EntryKind::kFolderLink;
        out.push_back(prefix + name + (folderItself ? "/" : link ? "@" : ""));
        if (folderItself && depth > 0) Walk(path, prefix + name + "/", depth - 1, out);
    }
}

// A link to a folder is renamed as itself and never entered: one link here
// leads back up (a loop without end), one out of the selection. For the
// Files/Folders choice it is a folder. The Windows tree cannot make links
// under Wine, so its test build makes them on the host beforehand, a tree for
// each case, and names the place in QLN_LINK_TREES. Wine's rename of such a
// link moves the folder it points to (Windows renames the link), so there
// only the case that leaves links alone is run.
TEST(ListingAndMove, LinksToFoldersAreRenamedAsFoldersAndNotEntered) {
    struct Case {
        bool files, folders;
        std::vector<std::string> after;
    };
    // The given folder is renamed too, where folders are.
    const Case cases[] = {
        {true, true,
         {"outside/", "outside/o.txt", "x_tree/", "x_tree/x_out@", "x_tree/x_sub/", "x_tree/x_sub/x_f.txt",
          "x_tree/x_sub/x_loop@"}},
        {false, true,
         {"outside/", "outside/o.txt", "x_tree/", "x_tree/x_out@", "x_tree/x_sub/", "x_tree/x_sub/f.txt",
          "x_tree/x_sub/x_loop@"}},
        {true, false,
         {"outside/", "outside/o.txt", "tree/", "tree/out@", "tree/sub/", "tree/sub/loop@", "tree/sub/x_f.txt"}},
    };
    const char* given = std::getenv("QLN_LINK_TREES");
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        if (given && c.folders) continue;
        TempDir made;
        std::string root;
        if (given) {
            root = std::string(given) + platform::kPathSeparator + "case" + std::to_string(i);
        } else {
            made.File("tree/sub/f.txt", "f");
            made.File("outside/o.txt", "o");
            std::filesystem::create_directory_symlink("..", testing_support::U8(made / "tree/sub/loop"));
            std::filesystem::create_directory_symlink("../outside", testing_support::U8(made / "tree/out"));
            root = made.str();
        }
        CAddAtBeginningExecute op(CRunOptions{.files = c.files, .folders = c.folders, .sortEachFolder = false}, "x_");
        (void)CRenameRun(op.options(), platform::RealFileSystem(), SkippingPrompts())
            .Run({root + platform::kPathSeparator + "tree"}, op);
        std::vector<std::string> seen;
        Walk(root, "", 3, seen);
        std::sort(seen.begin(), seen.end());
        EXPECT_EQ(seen, c.after) << "files " << c.files << ", folders " << c.folders;
    }
}

// One folder whose listing hands over its entries in a chosen order: a file
// system may give them in any order, and a large folder is put in name order
// before its descriptors are made. Entries listed as of unknown kind are
// files, but for "unsure", a folder.
class ScriptedListing final : public NoJournalFileSystem {
public:
    std::string top = std::string("top");
    std::vector<std::pair<std::string, platform::EntryKind>> entries;
    std::map<std::string, int64_t> modified;  // by name

    uint32_t GetAttributes(const std::string& path, platform::Attributes& out) override {
        const bool folder = path == top || path == top + platform::kPathSeparator + "unsure";
        out.kind = folder ? platform::EntryKind::kFolder : platform::EntryKind::kFile;
        return platform::kErrorSuccess;
    }
    uint32_t ListFolderEntries(const std::string& folder,
                               const std::function<void(const std::string&, platform::EntryKind)>& each) override {
        if (folder == top)
            for (const auto& [name, kind] : entries) each(name, kind);
        return platform::kErrorSuccess;
    }
    uint32_t Move(const std::string&, const std::string&, const std::string&) override {
        return platform::kErrorAccessDenied;
    }
    void Paused() override {}
    uint32_t GetWorkingFolder(std::string& out) override {
        out = top;
        return platform::kErrorSuccess;
    }
    uint32_t SetWorkingFolder(const std::string&) override { return platform::kErrorSuccess; }
    uint32_t GetTimes(const std::string& path, platform::FileTimes& out) override {
        out.modification = modified[path.substr(path.find_last_of(platform::kPathSeparator) + 1)];
        return platform::kErrorSuccess;
    }
    std::unique_ptr<platform::IReadStream> OpenRead(const std::string&, uint32_t& error) override {
        error = platform::kErrorAccessDenied;
        return nullptr;
    }
    uint32_t WriteFile(const std::string&, const std::string&) override { return platform::kErrorAccessDenied; }
};

TEST(ListingAndMove, EntriesKeepTheirKindsInEveryOrder) {
    using platform::EntryKind;
    const std::string ete = "\xC3\xA9t\xC3\xA9";  // after every ASCII name
    const std::vector<std::pair<std::string, EntryKind>> listed = {
        {"zeta", EntryKind::kFolder},    {"b.txt", EntryKind::kFile}, {"Alpha", EntryKind::kFolderLink},
        {"unsure", EntryKind::kUnknown}, {"B.TXT", EntryKind::kFile}, {"a.txt", EntryKind::kFile},
        {ete, EntryKind::kUnknown},
    };
    struct Case {
        int order;
        bool reversed;                  ///< the listing hands the entries over last first
        std::vector<std::string> seen;  ///< name and kind: file, directory, link
    };
    // Names equal but for case keep the order of the listing.
    const Case cases[] = {
        {kSortNameAscending, false, {"a.txt f", "Alpha l", "b.txt f", "B.TXT f", "unsure d", "zeta d", ete + " f"}},
        {kSortNameAscending, true, {"a.txt f", "Alpha l", "B.TXT f", "b.txt f", "unsure d", "zeta d", ete + " f"}},
        {kSortNameDescending, false, {ete + " f", "zeta d", "unsure d", "b.txt f", "B.TXT f", "Alpha l", "a.txt f"}},
        {kSortNameDescending, true, {ete + " f", "zeta d", "unsure d", "B.TXT f", "b.txt f", "Alpha l", "a.txt f"}},
        // Not by name: the listing is not put in order first.
        {kSortModifiedNewerFirst,
         false,
         {ete + " f", "a.txt f", "B.TXT f", "unsure d", "Alpha l", "b.txt f", "zeta d"}},
    };
    for (const Case& c : cases) {
        ScriptedListing fs;
        fs.entries = listed;
        if (c.reversed) std::reverse(fs.entries.begin(), fs.entries.end());
        for (size_t i = 0; i < listed.size(); ++i) fs.modified[listed[i].first] = static_cast<int64_t>(i);
        CAddAtBeginningExecute op(CRunOptions{.sortOrder = c.order}, "x_");
        CRenameRun run(op.options(), fs, SkippingPrompts());
        CSelection selection = run.Collect(std::vector<std::string>{fs.top});
        run.Arrange(selection);
        std::vector<std::string> seen;
        for (const auto& fd : selection.lists()[0])
            seen.push_back(fd->name() + (fd->isEnterable() ? " d" : fd->isFolder() ? " l" : " f"));
        EXPECT_EQ(seen, c.seen) << "order " << c.order << ", reversed " << c.reversed;
        ASSERT_EQ(selection.lists()[1].size(), 1u);
        EXPECT_EQ(selection.lists()[1][0]->name(), "") << "the given folder, all folder and no name";
    }
}

}  // namespace
