// The journal file on its own: what is written reads back as it was, a file
// cut short or damaged anywhere is trusted exactly as far as it is whole,
// and a journal never replaces a file nor outlives a failed write.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "core/Journal.h"
#include "core/JournalRecords.h"
#include "tests/core/JournalTestSupport.h"

using namespace journal_test;

namespace {

using FS = FaultyFileSystem;

CJournalHeader Header() {
    CJournalHeader h;
    h.kind = CJournalHeader::kUndo;
    h.time = 1700000000;
    h.what = "\"Add to beginning\"";
    h.where = "/where/it/ran";
    h.undone = "run-0000000007.qlj";
    return h;
}

// The journal written by `steps`, as bytes.
std::string Written(const std::function<void(CRunJournal&)>& steps) {
    TempDir state;
    CRunJournal journal(platform::RealFileSystem(), state.str(), Header());
    steps(journal);
    std::vector<std::string> files;
    EXPECT_EQ(ListJournals(platform::RealFileSystem(), state.str(), files), 0u);
    return files.empty() ? std::string() : ReadBytes(files.front());
}

CJournalRun Parsed(std::string_view bytes) {
    CJournalRun run;
    ParseJournal(bytes, run);
    return run;
}

// What a reader takes from a journal, comparable as a whole.
std::string Summary(const CJournalRun& run) {
    std::string out = run.readable ? "readable" : "unreadable";
    out += run.ended ? " ended" : "";
    out += " what=" + run.header.what + " folders=" + std::to_string(run.folders.size());
    for (const auto& item : run.items)
        out += " [" + std::to_string(item.index) + " " + run.folders[item.folder] + " " + item.oldName + ">" +
               item.newName + " " + std::to_string(static_cast<int>(item.state)) + "]";
    return out;
}

// Where each record of `bytes` starts, walked by the framing alone, and
// the end of the last one.
std::vector<size_t> Boundaries(const std::string& bytes) {
    std::vector<size_t> out{journal::kMagic.size()};
    size_t at = journal::kMagic.size();
    while (at + 8 <= bytes.size()) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
        const size_t length = p[0] | p[1] << 8 | p[2] << 16 | static_cast<size_t>(p[3]) << 24;
        at += 8 + length;
        out.push_back(at);
    }
    EXPECT_EQ(out.back(), bytes.size());
    return out;
}

// A run of a few items over two folders: renamed, skipped, one tried under
// a second name, and its end.
std::string ARun() {
    return Written([](CRunJournal& j) {
        const std::string a = "/one", b = "/two";
        for (uint32_t i = 0; i < 4; ++i) j.Reserve();
        j.Intend(0, a, "x", "x1", false);
        j.Intend(1, a, "y", "y1", true);
        j.Intend(2, b, "z", "z1", false);
        ASSERT_TRUE(j.Secure());
        j.Settled(0);
        j.Intend(2, b, "z", "z2", false);
        ASSERT_TRUE(j.Secure());
        j.NotDone(1, 5);
        j.Settled(2);
        j.Intend(3, b, "w", "w1", false);
        ASSERT_TRUE(j.Secure());
        j.Settled(3);
        ASSERT_TRUE(j.End(false));
    });
}

TEST(Journal, Crc32IsTheStandardOne) {
    EXPECT_EQ(journal::Crc32("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(journal::Crc32("", 0), 0u);
    // Eight bytes a step and one at a time agree, at every length and split.
    std::mt19937 random(7);
    std::string data(64, '\0');
    for (auto& c : data) c = static_cast<char>(random());
    for (size_t length = 0; length <= data.size(); ++length) {
        uint32_t bitwise = 0xFFFFFFFFu;
        for (size_t i = 0; i < length; ++i) {
            bitwise ^= static_cast<unsigned char>(data[i]);
            for (int k = 0; k < 8; ++k) bitwise = (bitwise & 1) ? 0xEDB88320u ^ (bitwise >> 1) : bitwise >> 1;
        }
        EXPECT_EQ(journal::Crc32(data.data(), length), ~bitwise) << length;
        const size_t split = length / 3;
        EXPECT_EQ(journal::Crc32(data.data() + split, length - split, journal::Crc32(data.data(), split)), ~bitwise);
    }
}

// Names are bytes: nothing in them is read as text or cut at a NUL.
TEST(Journal, NamesReadBackAsTheirBytes) {
    const std::vector<std::pair<std::string, std::string>> names = {
        {"plain.txt", "x_plain.txt"},
        {"with space", "WITH SPACE"},
        {"\xC3\xBCnic\xC3\xB6" "de", "u"},
        {"\xFF\xFE not UTF-8", "\x80"},
        {"new\nline", "tab\there"},
        {std::string("nul\0inside", 10), std::string("\0", 1)},
        {std::string(255, 'n'), std::string(255, 'm')},
    };
    const std::string bytes = Written([&](CRunJournal& j) {
        for (const auto& [from, to] : names) {
            const uint32_t item = j.Reserve();
            j.Intend(item, item % 2 ? "/odd" : "/even", from, to, item == 3);
        }
        ASSERT_TRUE(j.Secure());
        j.Settled(static_cast<uint32_t>(names.size() - 1));
        ASSERT_TRUE(j.End(false));
    });
    const CJournalRun run = Parsed(bytes);
    ASSERT_TRUE(run.readable && run.whole && run.ended);
    EXPECT_EQ(run.header.kind, CJournalHeader::kUndo);
    EXPECT_EQ(run.header.time, 1700000000);
    EXPECT_EQ(run.header.what, "\"Add to beginning\"");
    EXPECT_EQ(run.header.where, "/where/it/ran");
    EXPECT_EQ(run.header.undone, "run-0000000007.qlj");
    EXPECT_EQ(run.folders, (std::vector<std::string>{"/even", "/odd"}));
    ASSERT_EQ(run.items.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(run.items[i].oldName, names[i].first) << i;
        EXPECT_EQ(run.items[i].newName, names[i].second) << i;
        EXPECT_EQ(run.folders[run.items[i].folder], i % 2 ? "/odd" : "/even");
        EXPECT_EQ(run.items[i].isFolder, i == 3);
        EXPECT_EQ(run.items[i].state, CItemState::kRenamed);
    }
    EXPECT_EQ(run.renamed, names.size());
}

TEST(Journal, WhatEachItemEndedAs) {
    using S = CItemState;
    struct Case {
        const char* label;
        std::function<void(CRunJournal&)> steps;
        std::vector<S> states;
        std::vector<std::string> newNames;
        bool ended;
    };
    auto intend = [](CRunJournal& j, uint32_t item, const char* to) { j.Intend(item, "/f", "a" + std::to_string(item), to, false); };
    const Case cases[] = {
        {"settled, then the end",
         [&](CRunJournal& j) {
             intend(j, j.Reserve(), "b");
             j.Secure();
             j.Settled(0);
             j.End(false);
         },
         {S::kRenamed}, {"b"}, true},
        {"kept its name",
         [&](CRunJournal& j) {
             intend(j, j.Reserve(), "b");
             intend(j, j.Reserve(), "c");
             j.Secure();
             j.NotDone(0, 183);
             j.Settled(1);
             j.End(false);
         },
         {S::kNotRenamed, S::kRenamed}, {"b", "c"}, true},
        {"cut short after the flush: only the disk can tell",
         [&](CRunJournal& j) {
             intend(j, j.Reserve(), "b");
             j.Secure();
         },
         {S::kUnsure}, {"b"}, false},
        {"stopped before the second's turn",
         [&](CRunJournal& j) {
             intend(j, j.Reserve(), "b");
             intend(j, j.Reserve(), "c");
             j.Secure();
             j.Settled(0);
             j.End(true);
         },
         {S::kRenamed, S::kNotRenamed}, {"b", "c"}, true},
        {"a second name after the first failed: the last counts",
         [&](CRunJournal& j) {
             intend(j, j.Reserve(), "b");
             j.Secure();
             intend(j, 0, "b1");
             j.Secure();
             j.Settled(0);
             j.End(false);
         },
         {S::kRenamed}, {"b1"}, true},
        {"cut short while trying the second name",
         [&](CRunJournal& j) {
             intend(j, j.Reserve(), "b");
             j.Secure();
             intend(j, 0, "b1");
             j.Secure();
         },
         {S::kUnsure}, {"b1"}, false},
        {"an item that was only offered gets its name when it is typed",
         [&](CRunJournal& j) {
             const uint32_t offered = j.Reserve();
             intend(j, j.Reserve(), "c");
             j.Secure();
             intend(j, offered, "typed");
             j.Secure();
             j.Settled(1);
             j.End(false);
         },
         {S::kRenamed, S::kRenamed}, {"typed", "c"}, true},
        {"the settled mark comes with the next batch",
         [&](CRunJournal& j) {
             intend(j, j.Reserve(), "b");
             intend(j, j.Reserve(), "c");
             j.Secure();
             j.Settled(0);
             intend(j, j.Reserve(), "d");
             j.Secure();
         },
         {S::kRenamed, S::kUnsure, S::kUnsure}, {"b", "c", "d"}, false},
    };
    for (const auto& c : cases) {
        const CJournalRun run = Parsed(Written(c.steps));
        EXPECT_TRUE(run.whole) << c.label;
        EXPECT_EQ(run.ended, c.ended) << c.label;
        ASSERT_EQ(run.items.size(), c.states.size()) << c.label;
        for (size_t i = 0; i < c.states.size(); ++i) {
            EXPECT_EQ(run.items[i].state, c.states[i]) << c.label << " #" << i;
            EXPECT_EQ(run.items[i].newName, c.newNames[i]) << c.label << " #" << i;
        }
    }
}

// Power lost in the middle of a write leaves a file cut anywhere: every
// length reads as the records that are whole, and nothing of the rest.
TEST(Journal, ACutShortFileIsReadAsFarAsItIsWhole) {
    const std::string bytes = ARun();
    const std::vector<size_t> bounds = Boundaries(bytes);
    ASSERT_GE(bounds.size(), 10u);
    EXPECT_EQ(Summary(Parsed(bytes)),
              "readable ended what=\"Add to beginning\" folders=2 [0 /one x>x1 0] [1 /one y>y1 1] [2 /two z>z2 0] "
              "[3 /two w>w1 0]");
    for (size_t length = 0; length <= bytes.size(); ++length) {
        const CJournalRun run = Parsed(std::string_view(bytes).substr(0, length));
        size_t whole = 0;  // the end of the last whole record within the length
        for (size_t b : bounds)
            if (b <= length) whole = b;
        EXPECT_EQ(run.whole, whole == length && length > bounds.front()) << length;
        if (whole == 0) {
            EXPECT_FALSE(run.readable) << length;
            continue;
        }
        EXPECT_EQ(Summary(run), Summary(Parsed(std::string_view(bytes).substr(0, whole)))) << length;
        // What a cut-short journal says was renamed, the whole one says too.
        const CJournalRun full = Parsed(bytes);
        for (const auto& item : run.items)
            if (item.state != CItemState::kUnsure) {
                ASSERT_LT(item.index, full.items.size());
                EXPECT_EQ(item.state, full.items[item.index].state) << length;
            }
    }
}

// A damaged byte anywhere ends what is trusted at the start of its record.
TEST(Journal, ADamagedRecordEndsWhatIsTrusted) {
    const std::string bytes = ARun();
    const std::vector<size_t> bounds = Boundaries(bytes);
    for (size_t at = 0; at < bytes.size(); ++at) {
        for (unsigned char flip : {0x01, 0x80}) {
            std::string damaged = bytes;
            damaged[at] = static_cast<char>(damaged[at] ^ flip);
            const CJournalRun run = Parsed(damaged);
            EXPECT_FALSE(run.whole) << at;
            if (at < journal::kMagic.size()) {
                EXPECT_FALSE(run.readable) << at;
                EXPECT_TRUE(run.items.empty()) << at;
                continue;
            }
            size_t start = 0;  // of the record that holds the damaged byte
            for (size_t b : bounds)
                if (b <= at) start = b;
            EXPECT_EQ(Summary(run), Summary(Parsed(std::string_view(bytes).substr(0, start))))
                << "byte " << at << " flipped by " << int(flip);
        }
    }
}

TEST(Journal, ALengthBeyondTheFileOrTheLimitIsDamage) {
    const std::string bytes = ARun();
    const size_t second = Boundaries(bytes)[1];
    for (uint32_t length : {0u, journal::kMaxBody + 1, 0xFFFFFFF0u, static_cast<uint32_t>(bytes.size())}) {
        std::string damaged = bytes;
        for (int i = 0; i < 4; ++i) damaged[second + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
        const CJournalRun run = Parsed(damaged);
        EXPECT_TRUE(run.readable) << length;
        EXPECT_FALSE(run.whole) << length;
        EXPECT_TRUE(run.items.empty() && run.folders.empty()) << length;
    }
}

TEST(Journal, ARunThatAnnouncesNothingLeavesNoFile) {
    TempDir state;
    FaultyFileSystem fs;
    CRunJournal journal(fs, state.str(), Header());
    journal.Reserve();
    EXPECT_TRUE(journal.Secure());
    EXPECT_TRUE(journal.End(true));
    EXPECT_FALSE(journal.made());
    EXPECT_EQ(fs.Count(FS::kCreateAppend), 0);
    EXPECT_EQ(state.Snapshot(), Snap{});
}

// Whatever lies in the folder, a journal is a new file, and the journals
// beyond the last twenty go, nothing else.
TEST(Journal, NewJournalsReplaceNothingAndTheLastTwentyAreKept) {
    TempDir state;
    state.File("run-0000000002.qlj", "not ours");
    state.Folder("run-0000000003.qlj");
    state.File("notes.txt", "n");
    state.File("run-x.qlj", "x");
    auto make = [&] {
        CRunJournal journal(platform::RealFileSystem(), state.str(), Header());
        journal.Intend(journal.Reserve(), "/f", "a", "b", false);
        EXPECT_TRUE(journal.Secure());
        EXPECT_TRUE(journal.End(false));
        return journal.path();
    };
    EXPECT_EQ(make(), state / "run-0000000004.qlj");
    EXPECT_EQ(state.Read("run-0000000002.qlj"), "not ours");
    for (int i = 0; i < 24; ++i) make();
    std::vector<std::string> files;
    ASSERT_EQ(ListJournals(platform::RealFileSystem(), state.str(), files), 0u);
    ASSERT_EQ(files.size(), kJournalsKept + 1);
    EXPECT_EQ(files.front(), state / "run-0000000028.qlj");
    EXPECT_EQ(files[kJournalsKept - 1], state / "run-0000000009.qlj");
    // Not journals: kept.
    EXPECT_EQ(files.back(), state / "run-0000000002.qlj");
    EXPECT_EQ(state.Read("run-0000000002.qlj"), "not ours");
    EXPECT_TRUE(state.Exists("notes.txt"));
    EXPECT_TRUE(state.Exists("run-x.qlj"));
    EXPECT_TRUE(state.Exists("run-0000000003.qlj"));
}

// Which journals make room for new ones: only those of runs that are over.
// A run still going, or cut short and never taken back, keeps its journal
// however many runs follow; undos are counted apart from runs; a run that
// renamed nothing leaves no journal to stand in front of the one before.
TEST(Journal, OnlyJournalsOfRunsThatAreOverMakeRoom) {
    using Kind = CJournalHeader::Kind;
    auto make = [](const TempDir& state, Kind kind, bool end, bool renamed = true, std::string undone = {}) {
        CJournalHeader header = Header();
        header.kind = kind;
        header.undone = std::move(undone);
        CRunJournal journal(platform::RealFileSystem(), state.str(), header);
        const uint32_t item = journal.Reserve();
        journal.Intend(item, "/where/it", "a", "b", false);
        EXPECT_TRUE(journal.Secure());
        if (!renamed) journal.NotDone(item, platform::kErrorAlreadyExists);
        journal.Settled(item);
        if (end) {
            EXPECT_TRUE(journal.End(false));
        }
        return journal.path();
    };
    auto name = [](const std::string& path) { return path.substr(path.find_last_of(platform::kPathSeparator) + 1); };
    struct Case {
        const char* label;
        std::function<std::vector<std::string>(const TempDir&)> steps;  ///< the journals that must stay
    };
    const Case cases[] = {
        {"a run still going when twenty more end",
         [&](const TempDir& state) {
             const std::string going = make(state, Kind::kRun, false);
             for (size_t i = 0; i < kJournalsKept + 5; ++i) make(state, Kind::kRun, true);
             return std::vector<std::string>{going};
         }},
        {"a run cut short goes once a kept undo took it back",
         [&](const TempDir& state) {
             const std::string cut = make(state, Kind::kRun, false);
             const std::string undo = make(state, Kind::kUndo, true, true, name(cut));
             for (size_t i = 0; i < kJournalsKept + 5; ++i) make(state, Kind::kRun, true);
             EXPECT_FALSE(state.Exists(name(cut)));
             return std::vector<std::string>{undo};
         }},
        {"undos never push runs out",
         [&](const TempDir& state) {
             std::vector<std::string> runs;
             for (size_t i = 0; i < kJournalsKept; ++i) runs.push_back(make(state, Kind::kRun, true));
             for (size_t i = 0; i < kJournalsKept + 5; ++i) make(state, Kind::kUndo, true);
             return runs;
         }},
        {"a run that renamed nothing leaves no journal",
         [&](const TempDir& state) {
             const std::string before = make(state, Kind::kRun, true);
             EXPECT_FALSE(state.Exists(name(make(state, Kind::kRun, true, false))));
             return std::vector<std::string>{before};
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir state;
        for (const auto& kept : c.steps(state)) EXPECT_TRUE(state.Exists(name(kept))) << kept;
        std::vector<std::string> files;
        ASSERT_EQ(ListJournals(platform::RealFileSystem(), state.str(), files), 0u);
        EXPECT_LE(files.size(), 2 * kJournalsKept + 1);
    }
}

// An entry named with the highest number a name can carry leaves no number
// above it: the next journal takes one below, which the reader still lists.
TEST(Journal, AnOddNumberHidesNoLaterJournal) {
    for (const char* odd : {"run-999999999999999999.qlj", "run-999999999999999998.qlj"}) {
        SCOPED_TRACE(odd);
        TempDir state;
        state.File(odd, "not a journal");
        state.File("run-0000000007.qlj", "nor this");
        CRunJournal journal(platform::RealFileSystem(), state.str(), Header());
        journal.Intend(journal.Reserve(), "/f", "a", "b", false);
        ASSERT_TRUE(journal.Secure());
        ASSERT_TRUE(journal.End(false));
        std::vector<std::string> files;
        ASSERT_EQ(ListJournals(platform::RealFileSystem(), state.str(), files), 0u);
        EXPECT_NE(std::find(files.begin(), files.end(), journal.path()), files.end()) << journal.path();
        CJournalRun run;
        ASSERT_EQ(ReadJournal(platform::RealFileSystem(), journal.path(), run), 0u);
        EXPECT_TRUE(run.readable && run.ended);
    }
}

// A journal that failed once is never written again: what follows a record
// that may be cut short would never be read.
TEST(Journal, AFailedWriteIsTheJournalsLast) {
    struct Case {
        FS::Call call;
        uint32_t code;
        bool madeFirst;  // the failure comes with the second batch
    };
    const Case cases[] = {
        {FS::kListFolder, platform::kErrorAccessDenied, false},
        {FS::kCreateAppend, platform::kErrorDiskFull, false},
        {FS::kCreateAppend, platform::kErrorAccessDenied, false},
        {FS::kAppend, platform::kErrorDiskFull, false},
        {FS::kFlush, platform::kErrorDiskFull, false},
        {FS::kAppend, platform::kErrorDiskFull, true},
        {FS::kFlush, platform::kErrorWriteProtect, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "call " << c.call << " code " << c.code << " second " << c.madeFirst);
        TempDir state;
        FaultyFileSystem fs;
        CRunJournal journal(fs, state.str(), Header());
        journal.Intend(journal.Reserve(), "/f", "a", "b", false);
        if (c.madeFirst) {
            ASSERT_TRUE(journal.Secure());
            journal.Settled(0);
            journal.Intend(journal.Reserve(), "/f", "c", "d", false);
        }
        fs.Fail(c.call, "", c.code, 1);
        EXPECT_FALSE(journal.Secure());
        EXPECT_TRUE(journal.failed());
        EXPECT_EQ(journal.error(), c.code);
        const int writes = fs.Count(FS::kAppend) + fs.Count(FS::kFlush);
        journal.Intend(journal.Reserve(), "/f", "e", "f", false);
        EXPECT_FALSE(journal.Secure());
        EXPECT_FALSE(journal.End(false));
        EXPECT_EQ(fs.Count(FS::kAppend) + fs.Count(FS::kFlush), writes) << "written after the failure";
        // What reached the file reads as far as it is whole: the first batch
        // when it was put on the disk, never the half of a record.
        std::vector<std::string> files;
        EXPECT_EQ(ListJournals(platform::RealFileSystem(), state.str(), files), 0u);
        if (files.empty()) continue;
        CJournalRun run;
        EXPECT_EQ(ReadJournal(platform::RealFileSystem(), files.front(), run), 0u);
        EXPECT_FALSE(run.ended);
        for (const auto& item : run.items) EXPECT_TRUE(item.oldName == "a" || item.oldName == "c") << item.oldName;
        if (c.madeFirst) {
            EXPECT_GE(run.items.size(), 1u);
        }
    }
}

}  // namespace
