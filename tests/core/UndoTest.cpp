// Taking a run back from its journal: every item renamed back, the last
// first; nothing overwritten; an item changed since left alone and said so;
// a journal cut short or damaged trusted as far as it is whole.
#include <gtest/gtest.h>

#include <cstring>

#include "core/JournalRecords.h"
#include "tests/core/JournalTestSupport.h"

using namespace journal_test;

namespace {

using FS = FaultyFileSystem;

// a, b and c holding A, B and C, renamed to x_a, x_b and x_c.
struct ThreeRenamed : Journaled {
    ThreeRenamed() {
        dir.File("a", "A");
        dir.File("b", "B");
        dir.File("c", "C");
        PrefixExecute op("x_", Options());
        EXPECT_TRUE(Run(op, {"a", "b", "c"}));
        EXPECT_EQ(dir.Snapshot(), (Snap{"x_a=A", "x_b=B", "x_c=C"}));
    }
};

TEST(Undo, TakesARunBackFoldersAfterTheirContents) {
    Journaled j;
    j.dir.File("a.txt", "a");
    j.dir.File("sub/b.txt", "b");
    j.dir.File("sub/deep/c.txt", "c");
    const Snap before = j.dir.Snapshot();
    PrefixExecute op("x_", Options());
    ASSERT_TRUE(j.Run(op, {"a.txt", "sub"}));
    ASSERT_EQ(j.dir.Snapshot(), (Snap{"x_a.txt=a", "x_sub/", "x_sub/x_b.txt=b", "x_sub/x_deep/", "x_sub/x_deep/x_c.txt=c"}));
    const CJournalRun run = j.Read();
    EXPECT_EQ(UndoCount(run), 5u);
    const CUndoResult undo = j.Undo(run);
    EXPECT_EQ(undo.renamedBack, 5u);
    EXPECT_EQ(UndoSummary(undo), "renamed back 5, left alone 0, failed 0");
    EXPECT_EQ(j.dir.Snapshot(), before);
}

// Without "Sort each subfolder separately" a folder goes before what it
// holds: what it holds is renamed in it under its new name, whatever that
// turns out to be, and the undo brings back every name.
TEST(Undo, AFolderRenamedBeforeItsContentsTakesThemAlongAndBack) {
    struct Case {
        const char* label;
        int folderAnswer;  ///< to the folder's name being taken; 0: it is free
        Snap after;
    };
    const Case cases[] = {
        {"free", 0, {"x_d/", "x_d/x_a=a", "x_d/x_e/", "x_d/x_e/x_b=b", "x_d/x_e/x_f/", "x_d/x_e/x_f/x_c=c"}},
        {"numbered",
         kAnswerAddNumber,
         {"x_d/", "x_d1/", "x_d1/x_a=a", "x_d1/x_e/", "x_d1/x_e/x_b=b", "x_d1/x_e/x_f/", "x_d1/x_e/x_f/x_c=c"}},
        {"skipped",
         kAnswerSkip,
         {"x_d/", "d/", "d/x_a=a", "d/x_e/", "d/x_e/x_b=b", "d/x_e/x_f/", "d/x_e/x_f/x_c=c"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Journaled j;
        for (const char* f : {"d/a", "d/e/b", "d/e/f/c"}) j.dir.File(f, std::string(1, f[std::strlen(f) - 1]));
        if (c.folderAnswer) j.dir.Folder("x_d");
        const Snap before = j.dir.Snapshot();
        if (c.folderAnswer) j.prompts.Then(ScriptedPrompts::kDuplicate, c.folderAnswer);
        CRunOptions options = Options();
        options.sortEachFolder = false;
        PrefixExecute op("x_", options);
        ASSERT_TRUE(j.Run(op, {"d"}));
        EXPECT_EQ(j.dir.Snapshot(), c.after);
        EXPECT_TRUE(j.prompts.Done());
        EXPECT_EQ(j.prompts.requests.size(), c.folderAnswer ? 1u : 0u);
        const CUndoResult undo = j.Undo(j.Read());
        EXPECT_EQ(UndoSummary(undo), c.folderAnswer == kAnswerSkip ? "renamed back 5, left alone 0, failed 0"
                                                                    : "renamed back 6, left alone 0, failed 0");
        EXPECT_EQ(j.dir.Snapshot(), before);
    }
}

// b became c before a became b: taken back in the order of the run, the
// first rename back would meet the name the second still holds.
TEST(Undo, RenamesBackTheLastRenamedFirst) {
    Journaled j;
    j.dir.File("a", "A");
    j.dir.File("b", "B");
    PrefixExecute op("", Options(true, 1), {{"b", "c"}, {"a", "b"}});  // name order, descending
    ASSERT_TRUE(j.Run(op, {"a", "b"}));
    ASSERT_EQ(j.dir.Snapshot(), (Snap{"b=A", "c=B"}));
    const CUndoResult undo = j.Undo(j.Read());
    EXPECT_EQ(undo.renamedBack, 2u);
    EXPECT_EQ(j.dir.Snapshot(), (Snap{"a=A", "b=B"}));
}

TEST(Undo, NeverOverwritesAndLeavesWhatChangedSinceAlone) {
    struct Case {
        const char* label;
        std::function<void(const TempDir&)> change;
        const char* reason;
        Snap after;
    };
    const Case cases[] = {
        {"its old name taken", [](const TempDir& d) { d.File("b", "new B"); }, "its old name \"b\" is taken",
         {"a=A", "b=new B", "x_b=B", "c=C"}},
        {"renamed again",
         [](const TempDir& d) { std::filesystem::rename(testing_support::U8(d / "x_b"), testing_support::U8(d / "y_b")); },
         "not found under the name the run gave it", {"a=A", "y_b=B", "c=C"}},
        {"deleted", [](const TempDir& d) { std::filesystem::remove(testing_support::U8(d / "x_b")); },
         "not found under the name the run gave it", {"a=A", "c=C"}},
        {"a folder in its place",
         [](const TempDir& d) {
             std::filesystem::remove(testing_support::U8(d / "x_b"));
             d.Folder("x_b");
         },
         "a folder now, where the run renamed a file", {"a=A", "x_b/", "c=C"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ThreeRenamed j;
        c.change(j.dir);
        const CUndoResult undo = j.Undo(j.Read());
        EXPECT_EQ(undo.renamedBack, 2u);
        EXPECT_EQ(undo.leftAlone, 1u);
        EXPECT_EQ(undo.failed, 0u);
        ASSERT_EQ(undo.notes.size(), 1u);
        EXPECT_EQ(undo.notes[0].path, j.dir / "x_b");
        EXPECT_NE(undo.notes[0].reason.find(c.reason), std::string::npos) << undo.notes[0].reason;
        EXPECT_EQ(j.dir.Snapshot(), c.after);
    }
}

// Cut short after the intents were flushed, the journal cannot tell what
// was renamed: the disk tells, item by item, and nothing is guessed.
TEST(Undo, OfARunCutShortAsksTheDiskAboutEachItem) {
    Journaled j;
    j.dir.File("n1", "1");              // renamed
    j.dir.File("o2", "2");              // never renamed
    j.dir.File("o3", "3");              // never renamed, and its new name taken by another
    j.dir.File("n3", "other");
    /* item 4: at neither name */       // gone since
    j.dir.File("O5", "5");              // renamed, case only
    {
        CRunJournal journal(platform::RealFileSystem(), j.state.str(), CJournalHeader{});
        for (int i = 1; i <= 5; ++i) {
            const std::string n = std::to_string(i);
            journal.Intend(journal.Reserve(), j.dir.str(), "o" + n, (i == 5 ? "O" : "n") + n, false);
        }
        ASSERT_TRUE(journal.Secure());
    }  // killed here: no settled mark, no end
    const CJournalRun run = j.Read();
    EXPECT_EQ(run.unsure, 5u);
    const CUndoResult undo = j.Undo(run);
    EXPECT_EQ(undo.renamedBack, 2u);
    EXPECT_EQ(undo.leftAlone, 1u);
    ASSERT_EQ(undo.notes.size(), 1u);
    EXPECT_EQ(undo.notes[0].path, j.dir / "n4");
    EXPECT_EQ(j.dir.Snapshot(), (Snap{"o1=1", "o2=2", "o3=3", "n3=other", "o5=5"}));
}

TEST(Undo, AnUndoIsJournaledAndCanBeTakenBack) {
    ThreeRenamed j;
    const CJournalRun run = j.Read();
    ASSERT_EQ(j.Undo(run).renamedBack, 3u);
    ASSERT_EQ(j.dir.Snapshot(), (Snap{"a=A", "b=B", "c=C"}));
    ASSERT_EQ(j.Files().size(), 2u);
    const CJournalRun undone = j.Read();
    EXPECT_EQ(undone.header.kind, CJournalHeader::kUndo);
    EXPECT_EQ(undone.header.undone, "");  // the test's header; the model names the run it takes back
    EXPECT_EQ(undone.renamed, 3u);
    EXPECT_TRUE(undone.ended && undone.whole);
    // Taking the undo back renames forward again.
    EXPECT_EQ(j.Undo(undone).renamedBack, 3u);
    EXPECT_EQ(j.dir.Snapshot(), (Snap{"x_a=A", "x_b=B", "x_c=C"}));
    EXPECT_EQ(j.Files().size(), 3u);
}

// A journal cut short, or damaged in the middle, is trusted as far as it is
// whole: the items it holds whole are renamed back, the others left alone.
TEST(Undo, FromAJournalCutShortOrDamaged) {
    struct Case {
        const char* label;
        std::function<void(std::string&)> harm;
    };
    const Case cases[] = {
        {"cut in half", [](std::string& bytes) { bytes.resize(bytes.size() / 2); }},
        {"cut one byte short", [](std::string& bytes) { bytes.pop_back(); }},
        {"a byte damaged in the middle", [](std::string& bytes) { bytes[bytes.size() / 2] ^= 0x10; }},
        {"zeros written over the tail", [](std::string& bytes) { bytes.replace(bytes.size() * 2 / 3, std::string::npos, 64, '\0'); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Journaled j;
        const auto names = j.MakeFiles(20);
        PrefixExecute op("x_", Options());
        ASSERT_TRUE(j.Run(op, names));
        std::string bytes = ReadBytes(j.journalPath);
        c.harm(bytes);
        WriteBytes(j.journalPath, bytes);
        const CJournalRun run = j.Read();
        EXPECT_FALSE(run.whole);
        EXPECT_TRUE(run.readable);
        const CUndoResult undo = j.Undo(run);
        EXPECT_EQ(undo.renamedBack, run.items.size());
        EXPECT_EQ(undo.leftAlone + undo.failed, 0u);
        std::set<std::string> known;
        for (const auto& item : run.items) known.insert(item.oldName);
        Snap expected;
        for (const auto& n : names) expected.insert((known.count(n) ? n : "x_" + n) + "=" + n);
        EXPECT_EQ(j.dir.Snapshot(), expected);
        if (std::string(c.label) != "cut one byte short") {
            EXPECT_LT(known.size(), names.size());
        }
        EXPECT_GT(known.size(), 0u);
    }
}

// A journal is read, not trusted: a name that would take an item to another
// folder is refused as a run refuses it, whatever the checksum says.
TEST(Undo, RefusesNamesThatWouldLeaveTheFolder) {
    Journaled j;
    j.dir.File("x", "x");
    j.dir.File("sub/y", "y");
    const Snap before = j.dir.Snapshot();
    {
        CRunJournal journal(platform::RealFileSystem(), j.state.str(), CJournalHeader{});
        journal.Intend(journal.Reserve(), j.dir.str(), ".." + std::string(1, platform::kPathSeparator) + "escaped", "x", false);
        journal.Intend(journal.Reserve(), j.dir.str(), "here", std::string("sub") + platform::kPathSeparator + "y", false);
        journal.Intend(journal.Reserve(), j.dir.str(), "..", "x", false);
        ASSERT_TRUE(journal.Secure());
        journal.Settled(2);
        ASSERT_TRUE(journal.End(false));
    }
    const CUndoResult undo = j.Undo(j.Read());
    EXPECT_EQ(undo.renamedBack, 0u);
    EXPECT_EQ(undo.leftAlone, 3u);
    EXPECT_EQ(j.fs.Count(FS::kMove), 0);
    EXPECT_EQ(j.dir.Snapshot(), before);
}

TEST(Undo, ItsOwnJournalComesFirst) {
    for (const FS::Call call : {FS::kCreateAppend, FS::kAppend, FS::kFlush}) {
        SCOPED_TRACE(call);
        ThreeRenamed j;
        const Snap after = j.dir.Snapshot();
        const CJournalRun run = j.Read();
        j.fs.Fail(call, "", platform::kErrorDiskFull);
        const int moves = j.fs.Count(FS::kMove);
        const CUndoResult undo = j.Undo(run);
        EXPECT_TRUE(undo.journalFailed);
        EXPECT_TRUE(undo.stopped);
        EXPECT_EQ(j.fs.Count(FS::kMove), moves);
        EXPECT_EQ(j.dir.Snapshot(), after);
    }
}

TEST(Undo, AFailedRenameBackIsReportedAndSkipAllEndsIt) {
    struct Case {
        int answer;
        Snap after;
        bool stopped;
    };
    const Case cases[] = {
        {kAnswerSkip, {"a=A", "b=B", "x_c=C"}, false},
        {kAnswerSkipAll, {"x_a=A", "x_b=B", "x_c=C"}, true},
    };
    for (const auto& c : cases) {
        ThreeRenamed j;
        // Taken back from the last: c first.
        j.fs.Fail(FS::kMove, j.dir / "x_c", platform::kErrorAccessDenied);
        j.prompts.Then(ScriptedPrompts::kError, c.answer);
        const CUndoResult undo = j.Undo(j.Read());
        EXPECT_EQ(undo.failed, 1u);
        EXPECT_EQ(undo.stopped, c.stopped);
        ASSERT_EQ(j.prompts.requests.size(), 1u);
        EXPECT_EQ(j.prompts.requests[0].error.fileName, j.dir / "x_c");
        EXPECT_EQ(j.prompts.requests[0].error.errorCode, platform::kErrorAccessDenied);
        EXPECT_EQ(j.dir.Snapshot(), c.after);
        EXPECT_NE(UndoSummary(undo).find("failed 1"), std::string::npos);
    }
}

}  // namespace
