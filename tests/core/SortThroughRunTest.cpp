// The sorting orders as the run applies them, on real temporary folders: a
// numbering action numbers items in the order the run hands them to compute.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>

#include "core/Sort.h"
#include "operations/Numbers.h"
#include "tests/support/Previews.h"
#include "tests/support/TempDir.h"

using testing_support::TempDir;

namespace {

using Snap = std::set<std::string>;
using Names = std::vector<std::string>;

std::vector<std::string> Paths(const TempDir& dir, const Names& names) {
    std::vector<std::string> paths;
    for (const auto& n : names) paths.push_back(dir / n);
    return paths;
}

void SetModified(const TempDir& dir, const std::string& name, int64_t when) {
    const auto sys = std::chrono::system_clock::time_point(std::chrono::seconds(when));
    std::filesystem::last_write_time(testing_support::U8(dir / name),
                                     std::filesystem::file_time_type::clock::from_sys(sys));
}

void RunOn(CExecute& op, const TempDir& dir, const Names& names) {
    (void)CRenameRun(op.options(), platform::RealFileSystem(), SkippingPrompts()).Run(Paths(dir, names), op);
}

TEST(SortThroughRun, NumberingFollowsTheOrder) {
    struct Case {
        int order;
        Snap after;
    };
    const Case cases[] = {
        {kSortExistingNumber, {"1file9.txt=9", "2file10.txt=10", "3notes.txt=n"}},
        {kSortNameAscending, {"1file10.txt=10", "2file9.txt=9", "3notes.txt=n"}},
        {kSortNameDescending, {"1notes.txt=n", "2file9.txt=9", "3file10.txt=10"}},
        {kSortModifiedOlderFirst, {"1notes.txt=n", "2file10.txt=10", "3file9.txt=9"}},
        {kSortModifiedNewerFirst, {"1file9.txt=9", "2file10.txt=10", "3notes.txt=n"}},
        {99, {"1file10.txt=10", "2notes.txt=n", "3file9.txt=9"}},  // no order: as given
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.File("file10.txt", "10");
        dir.File("file9.txt", "9");
        dir.File("notes.txt", "n");
        SetModified(dir, "notes.txt", 1600000000);
        SetModified(dir, "file10.txt", 1600000100);
        SetModified(dir, "file9.txt", 1600000200);
        CAddNumberAtBeginningExecute op(CRunOptions{.subfolders = false, .scope = CFileDescriptor::kNameOnly, .sortOrder = c.order, .sortEachFolder = false}, "1", "1", "0");
        RunOn(op, dir, {"file10.txt", "notes.txt", "file9.txt"});
        EXPECT_EQ(dir.Snapshot(), c.after) << "order " << c.order;
    }
}

TEST(SortThroughRun, RenumberInExistingNumberOrder) {
    TempDir dir;
    dir.File("img10.jpg", "10");
    dir.File("x.jpg", "x");
    dir.File("img9.jpg", "9");
    CRenumberExecute op(CRunOptions{.subfolders = false, .scope = CFileDescriptor::kNameOnly, .sortOrder = kSortExistingNumber, .sortEachFolder = false}, "1", "1", "2");
    RunOn(op, dir, {"img10.jpg", "x.jpg", "img9.jpg"});
    EXPECT_EQ(dir.Snapshot(), (Snap{"img01.jpg=9", "img02.jpg=10", "x.jpg=x"}));
}

TEST(SortThroughRun, EachFolderIsSortedWhenExpanded) {
    for (const int eachFolder : {1, 0}) {
        TempDir dir;
        dir.File("set/file10", "10");
        dir.File("set/file9", "9");
        dir.File("set/file100", "100");
        dir.File("top5", "5");
        CAddNumberAtEndExecute op(CRunOptions{.folders = false, .scope = CFileDescriptor::kEntireName, .sortOrder = kSortExistingNumber, .sortEachFolder = eachFolder != 0}, "1", "1",
                                  "0");
        RunOn(op, dir, {"set", "top5"});
        // Folder by folder, the contents come first; sorted as one list, top5
        // takes its place among the others.
        const Snap expected = eachFolder
                                  ? Snap{"set/", "set/file91=9", "set/file102=10", "set/file1003=100", "top54=5"}
                                  : Snap{"set/", "top51=5", "set/file92=9", "set/file103=10", "set/file1004=100"};
        EXPECT_EQ(dir.Snapshot(), expected) << "each folder " << eachFolder;
    }
}

TEST(SortThroughRun, RandomOrderIsTheSameInEveryPreviewAndTheRun) {
    TempDir dir;
    Names names;
    for (int i = 0; i < 12; ++i) {
        names.push_back("f" + std::to_string(i));
        dir.File(names.back(), names.back());
    }
    const auto preview = [&](uint64_t seed) {
        CAddNumberAtBeginningExecute op(
            CRunOptions{.scope = CFileDescriptor::kEntireName, .sortOrder = kSortRandom, .randomSeed = seed}, "1", "1",
            "2");
        return testing_support::NewNames(testing_support::PreviewNames(op, Paths(dir, names)));
    };
    const Names first = preview(1234);
    EXPECT_EQ(preview(1234), first);
    EXPECT_NE(preview(1235), first);
    Names given;
    for (const auto& n : first) given.push_back(n.substr(2));
    EXPECT_NE(given, names);  // a shuffle, not the list as given

    CAddNumberAtBeginningExecute op(
        CRunOptions{.scope = CFileDescriptor::kEntireName, .sortOrder = kSortRandom, .randomSeed = 1234}, "1", "1", "2");
    RunOn(op, dir, names);
    Snap expected;
    for (const auto& n : first) expected.insert(n + "=" + n.substr(2));
    EXPECT_EQ(dir.Snapshot(), expected);
}

}  // namespace
