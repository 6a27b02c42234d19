// Compiled into both trees: the same expectations hold natively and under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

#include "platform/FileSystem.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempDir.h"

using platform::RealFileSystem;
using testing_support::TempDir;

namespace {

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

TEST(FileSystem, MoveNeverReplacesAnExistingFile) {
    TempDir dir;
    dir.File("a.txt", "alpha");
    dir.File("b.txt", "beta");
    EXPECT_EQ(testing_support::MoveByPaths(RealFileSystem(), dir / "a.txt", dir / "b.txt"), platform::kErrorAlreadyExists);
    EXPECT_EQ(dir.Read("a.txt"), "alpha");
    EXPECT_EQ(dir.Read("b.txt"), "beta");
}

TEST(FileSystem, MoveNeverReplacesAnExistingFolder) {
    TempDir dir;
    dir.File("one/x", "1");
    dir.Folder("two");
    EXPECT_EQ(testing_support::MoveByPaths(RealFileSystem(), dir / "one", dir / "two"), platform::kErrorAlreadyExists);
    EXPECT_EQ(dir.Snapshot(), (std::set<std::string>{"one/", "one/x=1", "two/"}));
}

#ifndef _WIN32
// Renaming onto another name of the same file changes nothing, so it must
// not be reported as done: the target exists. (Windows refuses such a move
// itself; Wine passes it to the host's rename, which is why this runs
// natively only.)
TEST(FileSystem, MoveOntoAHardLinkOfTheSameFileIsRefused) {
    for (const char* target : {"b.txt", "A.txt"}) {
        TempDir dir;
        dir.File("a.txt", "alpha");
        std::filesystem::create_hard_link(testing_support::U8(dir / "a.txt"), testing_support::U8(dir / target));
        EXPECT_EQ(testing_support::MoveByPaths(RealFileSystem(), dir / "a.txt", dir / target), platform::kErrorAlreadyExists) << target;
        EXPECT_EQ(dir.Snapshot(), (std::set<std::string>{"a.txt=alpha", std::string(target) + "=alpha"})) << target;
    }
}
#endif

// A case-only rename must not need more room than the name itself: a name
// at the length limit can still change its case.
TEST(FileSystem, CaseOnlyRenameOfALongName) {
    for (const size_t length : {size_t{1}, size_t{200}, size_t{255}}) {
        TempDir dir;
        const std::string name = length < 4 ? std::string(length, 'a') : std::string(length - 4, 'a') + ".txt";
        std::string upper = name;
        for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        dir.File(name, "x");
        EXPECT_EQ(testing_support::MoveByPaths(RealFileSystem(), dir / name, dir / upper), platform::kErrorSuccess) << length;
        EXPECT_EQ(dir.Snapshot(), (std::set<std::string>{upper + "=x"})) << length;
    }
}

TEST(FileSystem, MoveErrorCodes) {
    struct Case {
        const char* from;
        const char* to;
        uint32_t code;
    };
    const Case cases[] = {
        {"missing.txt", "new.txt", platform::kErrorFileNotFound},
        {"nofolder/a.txt", "nofolder/new.txt", platform::kErrorPathNotFound},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.File("a.txt", "alpha");
        EXPECT_EQ(testing_support::MoveByPaths(RealFileSystem(), dir / c.from, dir / c.to), c.code) << c.from << " -> " << c.to;
        EXPECT_EQ(dir.Snapshot(), (std::set<std::string>{"a.txt=alpha"}));
    }
}

TEST(FileSystem, MoveRenamesAndChangesCaseOnly) {
    TempDir dir;
    dir.File("a.txt", "alpha");
    ASSERT_EQ(testing_support::MoveByPaths(RealFileSystem(), dir / "a.txt", dir / "b.txt"), 0u);
    ASSERT_EQ(testing_support::MoveByPaths(RealFileSystem(), dir / "b.txt", dir / "B.txt"), 0u);
    EXPECT_EQ(dir.Snapshot(), (std::set<std::string>{"B.txt=alpha"}));
}

TEST(FileSystem, Utf8NamesRoundTripThroughListingAndMoving) {
    TempDir dir;
    const std::vector<std::string> names = {"\xC3\xA9t\xC3\xA9.txt", "\xE6\x97\xA5\xE6\x9C\xAC.doc",
                                            "smile \xF0\x9F\x98\x80.png"};
    for (const auto& n : names) dir.File(n, n);
    std::vector<std::string> listed;
    ASSERT_EQ(testing_support::ListNames(RealFileSystem(), dir.str(), listed), 0u);
    EXPECT_EQ(Sorted(listed), Sorted(names));

    const std::string target = "\xF0\x9F\x98\x80 \xC3\x89T\xC3\x89.txt";
    ASSERT_EQ(testing_support::MoveByPaths(RealFileSystem(), dir / names[0], dir / target), 0u);
    EXPECT_EQ(dir.Read(target), names[0]);
    platform::Attributes attrs;
    EXPECT_EQ(RealFileSystem().GetAttributes(dir / target, attrs), 0u);
    EXPECT_EQ(RealFileSystem().GetAttributes(dir / names[0], attrs), platform::kErrorFileNotFound);
}

TEST(FileSystem, ListingSkipsDotEntriesAndReportsMissingFolders) {
    TempDir dir;
    dir.File("f");
    dir.Folder("sub");
    std::vector<std::string> listed;
    ASSERT_EQ(testing_support::ListNames(RealFileSystem(), dir.str(), listed), 0u);
    EXPECT_EQ(Sorted(listed), (std::vector<std::string>{"f", "sub"}));
    listed.clear();
    EXPECT_NE(testing_support::ListNames(RealFileSystem(), dir / "nothere", listed), 0u);
    EXPECT_TRUE(listed.empty());
}

TEST(FileSystem, Attributes) {
    TempDir dir;
    dir.File("f");
    dir.Folder("sub");
    struct Case {
        const char* rel;
        uint32_t code;
        bool folder;
    };
    const Case cases[] = {{"f", 0, false},
                          {"sub", 0, true},
                          {"missing", platform::kErrorFileNotFound, false},
                          {"nofolder/missing", platform::kErrorPathNotFound, false}};
    for (const auto& c : cases) {
        platform::Attributes attrs;
        EXPECT_EQ(RealFileSystem().GetAttributes(dir / c.rel, attrs), c.code) << c.rel;
        if (c.code == 0) {
            EXPECT_EQ(attrs.isFolder(), c.folder) << c.rel;
        }
    }
}

#ifndef _WIN32
// A link to a folder is a folder to the Files/Folders choice, but one that a
// run never enters; a link to a file, or to nothing, is a file.
TEST(FileSystem, LinksAreTheirOwnKind) {
    TempDir dir;
    dir.File("folder/f", "f");
    dir.File("file", "x");
    std::filesystem::create_directory_symlink("folder", testing_support::U8(dir / "to-folder"));
    std::filesystem::create_symlink("file", testing_support::U8(dir / "to-file"));
    std::filesystem::create_symlink("nothing", testing_support::U8(dir / "dangling"));
    const std::map<std::string, platform::EntryKind> expected = {
        {"folder", platform::EntryKind::kFolder},     {"file", platform::EntryKind::kFile},
        {"to-folder", platform::EntryKind::kFolderLink}, {"to-file", platform::EntryKind::kFile},
        {"dangling", platform::EntryKind::kFile}};
    std::map<std::string, platform::EntryKind> listed;
    ASSERT_EQ(RealFileSystem().ListFolderEntries(
                  dir.str(), [&](const std::string& name, platform::EntryKind kind) { listed[name] = kind; }),
              0u);
    EXPECT_EQ(listed, expected);
    for (const auto& [name, kind] : expected) {
        platform::Attributes attrs;
        ASSERT_EQ(RealFileSystem().GetAttributes(dir / name, attrs), 0u) << name;
        EXPECT_EQ(attrs.kind, kind) << name;
    }
}
#endif

TEST(FileSystem, CurrentDirectoryRoundTrip) {
    TempDir dir;
    dir.Folder("\xC3\xA9l\xC3\xA8ve");
    std::string before;
    ASSERT_EQ(RealFileSystem().GetWorkingFolder(before), 0u);
    ASSERT_EQ(RealFileSystem().SetWorkingFolder(dir / "\xC3\xA9l\xC3\xA8ve"), 0u);
    std::string now;
    ASSERT_EQ(RealFileSystem().GetWorkingFolder(now), 0u);
    EXPECT_EQ(std::filesystem::equivalent(testing_support::U8(now), testing_support::U8(dir / "\xC3\xA9l\xC3\xA8ve")),
              true);
    EXPECT_NE(RealFileSystem().SetWorkingFolder(dir / "missing"), 0u);
    ASSERT_EQ(RealFileSystem().SetWorkingFolder(before), 0u);
}

TEST(FileSystem, TimesAreSecondsSince1970) {
    TempDir dir;
    dir.File("f");
    namespace stdfs = std::filesystem;
    // 2004-03-05 14:07:09 UTC, and one far past 2038.
    for (const int64_t when : {int64_t{1078495629}, int64_t{4102444800} + 12345}) {
        const auto sys = std::chrono::system_clock::time_point(std::chrono::seconds(when));
        stdfs::last_write_time(testing_support::U8(dir / "f"), stdfs::file_time_type::clock::from_sys(sys));
        platform::FileTimes times;
        ASSERT_EQ(RealFileSystem().GetTimes(dir / "f", times), 0u);
        EXPECT_EQ(times.modification, when);
    }
    platform::FileTimes times;
    EXPECT_EQ(RealFileSystem().GetTimes(dir / "missing", times), platform::kErrorFileNotFound);
}

TEST(FileSystem, WriteReplacesAndReadReturnsTheBytes) {
    TempDir dir;
    dir.File("list.txt", "old contents that are longer");
    const std::string data = "a\r\nb\r\n\xC3\xA9\r\n";
    ASSERT_EQ(RealFileSystem().WriteFile(dir / "list.txt", data), 0u);
    uint32_t err = 1;
    auto in = RealFileSystem().OpenRead(dir / "list.txt", err);
    ASSERT_TRUE(in);
    EXPECT_EQ(err, 0u);
    std::string back(64, '\0');
    back.resize(in->Read(back.data(), back.size()));
    EXPECT_EQ(back, data);
    EXPECT_FALSE(RealFileSystem().OpenRead(dir / "missing", err));
    EXPECT_EQ(err, platform::kErrorFileNotFound);
    EXPECT_EQ(RealFileSystem().WriteFile(dir / "nofolder/x.txt", data), platform::kErrorPathNotFound);
}

TEST(FileSystem, ErrorMessagesAreText) {
    for (const uint32_t code : {2u, 3u, 5u, 123u, 183u, 206u}) {
        const std::string text = platform::ErrorMessage(code);
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_NE(text.back(), '\n') << code;
    }
}

}  // namespace
