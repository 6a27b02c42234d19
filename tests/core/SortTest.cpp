#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <iterator>
#include <fstream>
#include <optional>
#include <random>
#include <set>

#include "core/RenameRun.h"
#include "core/Sort.h"
#include "operations/AddInsert.h"
#include "operations/Numbers.h"
#include "platform/FileSystem.h"
#include "tests/support/Jpeg.h"
#include "tests/support/TempDir.h"
#include "tests/support/NoJournalFileSystem.h"

namespace {

using Names = std::vector<std::string>;
using testing_support::TempDir;

CFileList ListOf(const Names& names, int scope = 0, const std::string& folder = "dir") {
    CFileList list;
    for (const auto& n : names) list.push_back(std::make_unique<CFileDescriptor>(folder, n, scope));
    return list;
}

Names NamesOf(const CFileList& list) {
    Names out;
    for (const auto& fd : list) out.push_back(fd->name());
    return out;
}

// Serves file times from a table, and counts how often it is asked. A name
// without an entry cannot be read (access denied); an entry without a
// creation time is what many POSIX file systems report.
class TimesFileSystem final : public NoJournalFileSystem {
public:
    std::map<std::string, platform::FileTimes> times;  // by name
    int timeQueries = 0;
    int opens = 0;

    uint32_t GetAttributes(const std::string& p, platform::Attributes& out) override {
        return real().GetAttributes(p, out);
    }
    uint32_t ListFolderEntries(const std::string& f,
                               const std::function<void(const std::string&, platform::EntryKind)>& each) override {
        return real().ListFolderEntries(f, each);
    }
    uint32_t Move(const std::string&, const std::string&, const std::string&) override {
        return platform::kErrorAccessDenied;
    }
    void Paused() override {}
    uint32_t GetWorkingFolder(std::string& out) override { return real().GetWorkingFolder(out); }
    uint32_t SetWorkingFolder(const std::string& p) override { return real().SetWorkingFolder(p); }
    uint32_t GetTimes(const std::string& path, platform::FileTimes& out) override {
        ++timeQueries;
        const auto it = times.find(path.substr(path.find_last_of(platform::kPathSeparator) + 1));
        if (it == times.end()) return platform::kErrorAccessDenied;
        out = it->second;
        return 0;
    }
    std::unique_ptr<platform::IReadStream> OpenRead(const std::string& p, uint32_t& error) override {
        ++opens;
        return real().OpenRead(p, error);
    }
    uint32_t WriteFile(const std::string&, const std::string&) override { return platform::kErrorAccessDenied; }

private:
    static platform::IFileSystem& real() { return platform::RealFileSystem(); }
};

Names Sorted(const Names& names, int order, int scope = 0, uint64_t seed = 0) {
    CFileList list = ListOf(names, scope);
    SortFileList(list, order, seed, platform::RealFileSystem());
    return NamesOf(list);
}

TEST(Sort, ByName) {
    struct Case {
        int order;
        Names in;
        Names out;
    };
    const Case cases[] = {
        {kSortNameAscending, {"file9", "file10", "B", "a"}, {"a", "B", "file10", "file9"}},
        {kSortNameDescending, {"file9", "file10", "B", "a"}, {"file9", "file10", "B", "a"}},
        {kSortNameAscending,
         {"\xC3\xA9t\xC3\xA9", "\xC3\x89t\xC3\xA9 2", "zoo"},
         {"zoo", "\xC3\xA9t\xC3\xA9", "\xC3\x89t\xC3\xA9 2"}},
        // Names equal but for case keep their list order, both ways.
        {kSortNameAscending, {"b", "A.txt", "a.txt"}, {"A.txt", "a.txt", "b"}},
        {kSortNameAscending, {"b", "a.txt", "A.txt"}, {"a.txt", "A.txt", "b"}},
        {kSortNameDescending, {"a.txt", "b", "A.txt"}, {"b", "a.txt", "A.txt"}},
        {kSortNameAscending, {}, {}},
        // Long names alike in their first bytes are told apart further on,
        // and long names equal but for case still keep their list order.
        {kSortNameAscending,
         {"holiday-2026-08-02-b.jpg", "HOLIDAY-2026-08-02-A.jpg", "holiday-2026-08-01.jpg"},
         {"holiday-2026-08-01.jpg", "HOLIDAY-2026-08-02-A.jpg", "holiday-2026-08-02-b.jpg"}},
        {kSortNameDescending,
         {"Holiday-2026-08-01.jpg", "holiday-2026-08-02.jpg", "HOLIDAY-2026-08-01.JPG"},
         {"holiday-2026-08-02.jpg", "Holiday-2026-08-01.jpg", "HOLIDAY-2026-08-01.JPG"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Sorted(c.in, c.order), c.out) << "order " << c.order;
}

// A listing is put in name order before its descriptors are made; the run
// sorts the descriptors again, so both must agree, ties included.
TEST(Sort, ListedNamesTakeTheOrderOfTheirItems) {
    std::mt19937 random(7);
    const char* const parts[] = {"a", "A",  "b", "B", "\xC3\xA9", "\xC3\x89",
                                 "1", "10", "2", ".", " ",        "holiday-2026-08-0"};
    for (int round = 0; round < 20; ++round) {
        Names names;
        std::set<std::string> unique;
        while (names.size() < 40) {
            std::string name;
            for (int k = 1 + static_cast<int>(random() % 4); k > 0; --k) name += parts[random() % std::size(parts)];
            if (unique.insert(name).second) names.push_back(name);
        }
        for (const int order : {kSortNameAscending, kSortNameDescending}) {
            std::vector<CListedName> listed;
            for (size_t i = 0; i < names.size(); ++i) listed.push_back({names[i], static_cast<uint32_t>(i)});
            SortListedNames(listed, order);
            Names got;
            for (const auto& l : listed) {
                got.push_back(std::string(l.name));
                EXPECT_EQ(names[l.position], l.name);
            }
            EXPECT_EQ(got, Sorted(names, order)) << "round " << round << ", order " << order;
        }
    }
}

TEST(Sort, ByExistingNumber) {
    struct Case {
        int scope;
        Names in;
        Names out;
    };
    const Case cases[] = {
        {0, {"file10", "file9"}, {"file9", "file10"}},
        // Items without digits go last, in list order; equal numbers keep theirs.
        {0, {"notes", "file10", "x7y1", "a", "img007", "file9"}, {"x7y1", "img007", "file9", "file10", "notes", "a"}},
        {0, {"n100000000000000000000000", "n99999999999999999999", "n5"},
         {"n5", "n99999999999999999999", "n100000000000000000000000"}},
        {1, {"b.mp3", "a2.mp3"}, {"a2.mp3", "b.mp3"}},  // the extension's digit is out of scope
        // The number is read from the part, wherever the part starts.
        {3, {"a10.mp4", "b99.mp3", "c.txt"}, {"b99.mp3", "a10.mp4", "c.txt"}},
        {0, {"\xEF\xBC\x91", "b2", "\xC3\xA9" "1"}, {"\xC3\xA9" "1", "b2", "\xEF\xBC\x91"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Sorted(c.in, kSortExistingNumber, c.scope), c.out) << "scope " << c.scope;
}

TEST(Sort, ByFileTimes) {
    using T = platform::FileTimes;
    TimesFileSystem fs;
    fs.times = {
        {"old", T{1000, 0, 5000}},       {"mid", T{2000, 0, 4000}},  {"new", T{3000, 0, 3000}},
        {"mid-too", T{2000, 0, 4000}},   {"no-birth", T{2500, 0, std::nullopt}},
    };
    struct Case {
        int order;
        Names in;
        Names out;
    };
    const Case cases[] = {
        {kSortModifiedOlderFirst, {"new", "old", "mid"}, {"old", "mid", "new"}},
        {kSortModifiedNewerFirst, {"new", "old", "mid"}, {"new", "mid", "old"}},
        {kSortModifiedOlderFirst, {"mid-too", "new", "mid"}, {"mid-too", "mid", "new"}},  // ties keep list order
        {kSortModifiedNewerFirst, {"mid", "old", "mid-too"}, {"mid", "mid-too", "old"}},
        // Unreadable status: after the others, in list order, either way.
        {kSortModifiedOlderFirst, {"locked2", "new", "locked1", "old"}, {"old", "new", "locked2", "locked1"}},
        {kSortModifiedNewerFirst, {"locked2", "old", "locked1", "new"}, {"new", "old", "locked2", "locked1"}},
        {kSortCreatedOlderFirst, {"old", "mid", "new"}, {"new", "mid", "old"}},
        {kSortCreatedNewerFirst, {"new", "mid", "old"}, {"old", "mid", "new"}},
        // No creation time counts as unreadable, not as 1970.
        {kSortCreatedOlderFirst, {"no-birth", "old", "locked", "new"}, {"new", "old", "no-birth", "locked"}},
        {kSortCreatedNewerFirst, {"no-birth", "new", "old"}, {"old", "new", "no-birth"}},
        {kSortModifiedOlderFirst, {"no-birth", "new", "old"}, {"old", "no-birth", "new"}},
    };
    for (const auto& c : cases) {
        CFileList list = ListOf(c.in);
        fs.timeQueries = 0;
        SortFileList(list, c.order, 0, fs);
        EXPECT_EQ(NamesOf(list), c.out) << "order " << c.order << " from " << c.in[0];
        // Each key is read once per item, never once per comparison.
        EXPECT_EQ(fs.timeQueries, static_cast<int>(c.in.size()));
    }
}

TEST(Sort, ByModificationTimeOnDisk) {
    TempDir dir;
    const std::pair<const char*, int64_t> files[] = {{"c", 1700000300}, {"a", 1700000100}, {"b", 1700000200}};
    Names names;
    for (const auto& [name, when] : files) {
        dir.File(name);
        const auto sys = std::chrono::system_clock::time_point(std::chrono::seconds(when));
        std::filesystem::last_write_time(testing_support::U8(dir / name),
                                         std::filesystem::file_time_type::clock::from_sys(sys));
        names.push_back(name);
    }
    names.push_back("vanished");
    CFileList list = ListOf(names, 0, dir.str());
    SortFileList(list, kSortModifiedNewerFirst, 0, platform::RealFileSystem());
    EXPECT_EQ(NamesOf(list), (Names{"c", "b", "a", "vanished"}));
}

TEST(Sort, ByPictureTakenDate) {
    TempDir dir;
    using testing_support::CameraJpeg;
    const std::pair<const char*, std::string> files[] = {
        {"late.jpg", CameraJpeg("2004:03:05 14:07:09")},
        {"plain.jpg", "not a picture"},
        {"early.jpg", CameraJpeg("2001:01:01 00:00:00", true)},
        {"no-date.jpg", CameraJpeg("")},
        {"same-as-late.jpg", CameraJpeg("2004:03:05 14:07:09")},
        {"unset-clock.jpg", CameraJpeg("0000:00:00 00:00:00")},
        {"epoch.jpg", CameraJpeg("1970:01:01 00:00:00")},  // a real date, not "none"
        {"a-second-later.jpg", CameraJpeg("2004:03:05 14:07:10")},
    };
    Names names;
    for (const auto& [name, data] : files) {
        dir.File(name, data);
        names.push_back(name);
    }
    names.push_back("vanished.jpg");
    struct Case {
        int order;
        Names out;
    };
    const Case cases[] = {
        // Undated first oldest-first, in list order; equal dates keep theirs.
        {kSortPictureOlderFirst,
         {"plain.jpg", "no-date.jpg", "unset-clock.jpg", "vanished.jpg", "epoch.jpg", "early.jpg", "late.jpg",
          "same-as-late.jpg", "a-second-later.jpg"}},
        // And last newest-first, still in list order.
        {kSortPictureNewerFirst,
         {"a-second-later.jpg", "late.jpg", "same-as-late.jpg", "early.jpg", "epoch.jpg", "plain.jpg", "no-date.jpg",
          "unset-clock.jpg", "vanished.jpg"}},
    };
    for (const auto& c : cases) {
        TimesFileSystem fs;
        CFileList list = ListOf(names, 0, dir.str());
        SortFileList(list, c.order, 0, fs);
        EXPECT_EQ(NamesOf(list), c.out) << "order " << c.order;
        EXPECT_EQ(fs.opens, static_cast<int>(names.size()));  // each file read once
    }
}

// Photos and videos of every kind in one folder, by the moment each was
// taken: a picture's offset and a video's UTC time put shots from other time
// zones in their place, so three taken at 08:00 UTC tie (and keep their list
// order) however their clocks read. Files without a date go first
// oldest-first and last newest-first.
TEST(Sort, ByDateTakenOverEveryKindOfFile) {
    TempDir dir;
    const std::pair<const char*, const char*> files[] = {
        {"a-video.mp4", "mp4-v0.mp4"},          // 2023-05-01 08:00 UTC
        {"b-photo.jpg", "jpeg-digitized.jpg"},  // 2022-06-02 11:30 at -05:30: 17:00 UTC
        {"c-nothing.png", "png-no-date.png"},
        {"d-raw.tif", "tiff-be.tif"},           // 2021-07-03 12:45:30 at +09:00: 03:45:30 UTC
        {"e-phone.heic", "heic-exif.heic"},     // 2023-05-01 10:00 at +02:00: 08:00 UTC, as the video
        {"f-photo.webp", "webp-exif.webp"},     // 2023-05-01 10:00 at +02:00: 08:00 UTC too
    };
    Names names;
    for (const auto& [name, fixture] : files) {
        std::ifstream in(std::string(QLN_FIXTURE_DIR) + "/media/" + fixture, std::ios::binary);
        dir.File(name, std::string(std::istreambuf_iterator<char>(in), {}));
        names.push_back(name);
    }
    names.push_back("g-notes.txt");
    dir.File("g-notes.txt", "no picture");
    const Names oldest = {"c-nothing.png", "g-notes.txt", "d-raw.tif",    "b-photo.jpg",
                          "a-video.mp4",   "e-phone.heic", "f-photo.webp"};
    const Names newest = {"a-video.mp4", "e-phone.heic", "f-photo.webp", "b-photo.jpg",
                          "d-raw.tif",   "c-nothing.png", "g-notes.txt"};
    for (const auto& [order, want] : {std::pair{kSortTakenOlderFirst, oldest}, {kSortTakenNewerFirst, newest}}) {
        CFileList list = ListOf(names, 0, dir.str());
        SortFileList(list, order, 0, platform::RealFileSystem());
        EXPECT_EQ(NamesOf(list), want) << "order " << order;
    }
}

TEST(Sort, RandomIsAShuffleFixedPerSeed) {
    Names names;
    for (int i = 0; i < 20; ++i) names.push_back("f" + std::to_string(i));
    Names reversed(names.rbegin(), names.rend());

    const Names first = Sorted(names, kSortRandom, 0, 42);
    // Preview and run of one call agree, whatever order the items come in.
    EXPECT_EQ(Sorted(names, kSortRandom, 0, 42), first);
    EXPECT_EQ(Sorted(reversed, kSortRandom, 0, 42), first);
    Names sortedBack = first;
    std::sort(sortedBack.begin(), sortedBack.end());
    Names expected = names;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sortedBack, expected);  // nothing lost or doubled
    EXPECT_NE(first, names);
    EXPECT_NE(Sorted(names, kSortRandom, 0, 43), first);  // another call, another shuffle
}

TEST(Sort, UnknownOrdersLeaveTheList) {
    const Names names = {"b", "c", "a"};
    for (int order : {-1, static_cast<int>(kSortOrderCount), 99}) EXPECT_EQ(Sorted(names, order), names) << order;
}

// The run sorts by the order of its options, whatever the action, reading
// the keys through its own file system.
TEST(Sort, TheRunSortsByTheOrderOfItsOptions) {
    TimesFileSystem fs;
    fs.times = {{"old", {1000, 0, 1000}}, {"new", {2000, 0, 2000}}};
    const std::pair<int, Names> cases[] = {
        {kSortNameDescending, {"old", "new"}},
        {kSortModifiedOlderFirst, {"old", "new"}},
        {kSortModifiedNewerFirst, {"new", "old"}},
    };
    for (const auto& [order, expected] : cases) {
        CRenameRun run(CRunOptions{.subfolders = false, .sortOrder = order, .sortEachFolder = false}, fs,
                       SkippingPrompts());
        const std::string folder = std::string("x") + platform::kPathSeparator;
        CSelection selection = run.Collect(std::vector<std::string>{folder + "new", folder + "old"});
        run.Arrange(selection);
        Names seen;
        for (const auto& fd : selection.lists()[1]) seen.push_back(fd->name());
        EXPECT_EQ(seen, expected) << order;
    }
}

}  // namespace
