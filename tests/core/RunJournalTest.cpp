// The run and its journal together: no rename is tried before the journal
// on the disk announces it, and a journal that cannot be written stops the
// run before its next rename.
#include <gtest/gtest.h>

#include "tests/core/JournalTestSupport.h"

using namespace journal_test;

namespace {

using FS = FaultyFileSystem;

// Checks at each rename of a run that its intent is on the disk: every
// append flushed, and the journal as the disk holds it naming this very
// rename as one that may be under way.
class AnnouncedBeforeTried {
public:
    explicit AnnouncedBeforeTried(Journaled& j) : j_(j) {
        j.fs.Watch([this](const FS::Record& r) { Check(r); });
    }
    int checked = 0;

private:
    void Check(const FS::Record& r) {
        if (r.call == FS::kAppend) unflushed_ = true;
        if (r.call == FS::kFlush) unflushed_ = false;
        if (r.call != FS::kMove) return;
        ++checked;
        EXPECT_FALSE(unflushed_) << "appended but not flushed before " << r.path;
        CJournalRun run;
        std::vector<std::string> files;
        EXPECT_EQ(ListJournals(platform::RealFileSystem(), j_.state.str(), files), 0u);
        ASSERT_FALSE(files.empty()) << "no journal before " << r.path;
        EXPECT_EQ(ReadJournal(platform::RealFileSystem(), files.front(), run), 0u);
        bool announced = false;
        for (const auto& item : run.items)
            announced = announced || (item.state == CItemState::kUnsure && run.OldPath(item) == r.path &&
                                      run.NewPath(item) == r.target);
        EXPECT_TRUE(announced) << r.path << " -> " << r.target;
    }

    Journaled& j_;
    bool unflushed_ = false;
};

TEST(RunJournal, EveryRenameIsOnTheDiskBeforeItIsTried) {
    Journaled j;
    const auto names = j.MakeFiles(300);
    // Names the run meets taken: each is numbered, and each number is
    // announced before it is tried.
    for (int i : {3, 70, 71, 250}) j.dir.File("x_" + names[i], "taken");
    j.dir.File("x_" + names[70] + "1", "taken too");
    j.prompts.Otherwise(ScriptedPrompts::kDuplicate, kAnswerAddNumber);
    AnnouncedBeforeTried check(j);
    PrefixExecute op("x_", Options());
    EXPECT_TRUE(j.Run(op, names));
    EXPECT_EQ(check.checked, j.fs.Count(FS::kMove));
    EXPECT_EQ(j.fs.Count(FS::kMove), 300 + 5);
    // Three batches (64, 128, then the rest), a flush for each second name,
    // and the end: never one flush per rename.
    EXPECT_EQ(j.fs.Count(FS::kFlush), 3 + 5 + 1);

    const CJournalRun run = j.Read();
    EXPECT_TRUE(run.whole && run.ended && !run.stopped);
    ASSERT_EQ(run.items.size(), 300u);
    EXPECT_EQ(run.renamed, 300u);
    const Snap after = j.dir.Snapshot();
    for (const auto& item : run.items)
        EXPECT_EQ(after.count(item.newName + "=" + item.oldName), 1u) << item.oldName << " -> " << item.newName;
    EXPECT_EQ(after.count("x_f00031=f0003"), 1u);
    EXPECT_EQ(after.count("x_f00702=f0070"), 1u);
}

// Nothing is renamed unannounced: when the journal cannot be made or its
// first batch cannot be written, the run stops before its first rename.
TEST(RunJournal, AJournalThatCannotBeWrittenStopsTheRunBeforeAnyRename) {
    for (const FS::Call call : {FS::kListFolder, FS::kCreateAppend, FS::kAppend, FS::kFlush})
        for (const uint32_t code : {platform::kErrorDiskFull, platform::kErrorAccessDenied}) {
            SCOPED_TRACE(testing::Message() << "call " << call << ", code " << code);
            Journaled j;
            const auto names = j.MakeFiles(10);
            const Snap before = j.dir.Snapshot();
            j.fs.Fail(call, "", code);
            PrefixExecute op("x_", Options());
            EXPECT_FALSE(j.Run(op, names));
            EXPECT_TRUE(j.result.journalFailed());
            EXPECT_EQ(j.fs.Count(FS::kMove), 0);
            EXPECT_EQ(j.dir.Snapshot(), before);
        }
}

// The disk fills up while the run goes: it stops before its next rename,
// and what it renamed is in the journal, for the undo.
TEST(RunJournal, AFullDiskMidRunStopsBeforeTheNextRename) {
    for (const FS::Call call : {FS::kAppend, FS::kFlush}) {
        SCOPED_TRACE(call);
        Journaled j;
        const auto names = j.MakeFiles(500);
        const Snap before = j.dir.Snapshot();
        // The first batch reaches the disk; the second finds it full.
        j.fs.Fail(call, "", platform::kErrorSuccess, 1);
        j.fs.Fail(call, "", platform::kErrorDiskFull, 1);
        PrefixExecute op("x_", Options());
        EXPECT_FALSE(j.Run(op, names));
        EXPECT_TRUE(j.result.journalFailed());
        EXPECT_EQ(j.fs.Count(FS::kMove), 64);

        const CJournalRun run = j.Read();
        EXPECT_FALSE(run.ended);
        EXPECT_EQ(run.renamed + run.unsure, run.items.size());
        const CUndoResult undo = j.Undo(run);
        EXPECT_EQ(undo.renamedBack, 64u);
        EXPECT_EQ(undo.leftAlone + undo.failed, 0u);
        EXPECT_EQ(j.dir.Snapshot(), before);
    }
}

// A name tried after a conflict is announced on its own; when that cannot
// be written, it is not tried.
TEST(RunJournal, ASecondNameThatCannotBeAnnouncedIsNotTried) {
    Journaled j;
    const auto names = j.MakeFiles(10);
    j.dir.File("x_f0003", "taken");
    const Snap before = j.dir.Snapshot();
    j.prompts.Otherwise(ScriptedPrompts::kDuplicate, kAnswerAddNumber);
    // The batch's flush goes through, the second name's does not.
    j.fs.Fail(FS::kFlush, "", platform::kErrorSuccess, 1);
    j.fs.Fail(FS::kFlush, "", platform::kErrorDiskFull, 1);
    PrefixExecute op("x_", Options());
    EXPECT_FALSE(j.Run(op, names));
    EXPECT_TRUE(j.result.journalFailed());
    EXPECT_EQ(j.fs.Count(FS::kMoveTo, j.dir / "x_f00031"), 0);
    EXPECT_EQ(j.fs.Count(FS::kMove), 4) << "three renames and the one that met the taken name";
    const CUndoResult undo = j.Undo(j.Read());
    EXPECT_EQ(undo.renamedBack, 3u);
    EXPECT_EQ(j.dir.Snapshot(), before);
}

}  // namespace
