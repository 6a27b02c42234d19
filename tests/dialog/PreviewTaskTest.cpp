// The preview and the run in the pieces a window hands to another thread:
// begun from the controls, computed (and abandoned at any point), adopted.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>

#include "dialog/MainDlgModel.h"
#include "tests/dialog/DialogFixture.h"
#include "tests/support/Previews.h"

using testing_support::Dialog;
using testing_support::NewNames;
using testing_support::OldNames;
using testing_support::TempDir;

namespace {

using Names = std::vector<std::string>;

// Says "end" from its `after`-th question on (never with 0), and counts.
struct EndAfter {
    int after;
    int asked = 0;
    bool operator()() { return ++asked >= after && after > 0; }
};

// Twenty folders of 300 files: a reading, names and marks with many places
// to be abandoned at.
void MakeFolders(const TempDir& dir) {
    char name[32];
    for (int f = 0; f < 20; ++f)
        for (int i = 0; i < 300; ++i) {
            std::snprintf(name, sizeof name, "d%02d/f%03d.txt", f, i);
            dir.File(name, "");
        }
}

std::vector<int> Marks(const CPreview& rows) {
    std::vector<int> out;
    for (const auto& r : rows) out.push_back(static_cast<int>(r.status));
    return out;
}

// Abandoned while reading, naming or marking, a preview is never complete,
// and the next one over the same dialog is what a dialog that was never
// interrupted shows.
TEST(PreviewTask, AbandonedAnywhereTheNextOneIsWhole) {
    TempDir dir;
    MakeFolders(dir);
    CMemorySettings memory;
    // A fresh opening of the dialog over the folders, numbering them.
    const auto opening = [&] {
        auto d = std::make_unique<Dialog>(memory, Names{dir.str()});
        d->Choose("Add number to end", {{"start", "3"}});
        return d;
    };
    const auto whole = opening();
    ASSERT_TRUE(whole->model.RefreshPreview());
    const Names names = NewNames(whole->model.rows());
    const std::vector<int> marks = Marks(whole->model.rows());
    ASSERT_EQ(names.size(), 6021u);

    // Every place where a preview asks whether to go on.
    const auto counted = opening();
    const auto all = counted->model.BeginPreview();
    EndAfter never{0};
    ASSERT_TRUE(counted->model.ComputePreview(*all, std::ref(never)));
    ASSERT_GT(never.asked, 20) << "a question at least for each folder read";
    for (int after = 1; after <= never.asked; ++after) {
        const auto opened = opening();
        Dialog& d = *opened;
        const auto abandoned = d.model.BeginPreview();
        EndAfter end{after};
        EXPECT_FALSE(d.model.ComputePreview(*abandoned, std::ref(end))) << after;
        EXPECT_FALSE(abandoned->complete) << after;
        const auto next = d.model.BeginPreview();
        ASSERT_TRUE(d.model.ComputePreview(*next)) << after;
        d.model.AdoptPreview(*next);
        EXPECT_EQ(NewNames(d.model.rows()), names) << after;
        EXPECT_EQ(Marks(d.model.rows()), marks) << after;
    }
}

// The rows on screen come first: from their places in the preview shown
// when a keystroke keeps the items and their order, from the top of the new
// preview otherwise; either way as the whole preview then names them.
TEST(PreviewTask, TheRowsOnScreenComeFirstAndAgreeWithTheWhole) {
    TempDir dir;
    MakeFolders(dir);
    CMemorySettings memory;
    Dialog d(memory, {dir.str()});
    d.Choose("Add number to end", {{"start", "3"}});
    d.model.options().folders = 0;  // the folders use up no number
    ASSERT_TRUE(d.model.RefreshPreview());
    struct Change {
        const char* what;
        bool keepsOrder;
    };
    for (const Change change : {Change{"start", true}, Change{"sort", false}}) {
        if (change.keepsOrder)
            d.model.activePanel()->SetValue("start", "40");
        else
            d.model.options().sort = 1;  // by name, from Z to A
        const auto task = d.model.BeginPreview(1000, 25);
        bool heard = false;
        ASSERT_TRUE(d.model.ComputePreview(*task, {}, [&] { heard = true; })) << change.what;
        EXPECT_TRUE(heard);
        EXPECT_EQ(task->visibleFromShown, change.keepsOrder) << change.what;
        const size_t first = change.keepsOrder ? 1000 : 0;
        EXPECT_EQ(task->first, first);
        ASSERT_EQ(task->visible.size(), change.keepsOrder ? 25u : 1025u) << change.what;
        for (size_t i = 0; i < task->visible.size(); ++i) {
            EXPECT_EQ(task->visible[i].item, task->rows[first + i].item) << change.what << " " << i;
            EXPECT_EQ(task->visible[i].newName, task->rows[first + i].newName) << change.what << " " << i;
        }
        d.model.AdoptPreview(*task);
    }
}

// Stop ends a run after the rename under way: what it renamed is renamed
// and journaled, nothing else is touched, and the undo takes it all back.
TEST(PreviewTask, AStoppedRunKeepsWhatItRenamedAndCanBeTakenBack) {
    TempDir dir, journals;
    char name[32];
    Names paths;
    for (int i = 0; i < 50; ++i) {
        std::snprintf(name, sizeof name, "f%02d.txt", i);
        dir.File(name, "");
        paths.push_back(dir / name);
    }
    CMemorySettings memory;
    Dialog d(memory, paths, 7, &journals);
    d.Choose("Add to beginning", {{"add", "x_"}});
    const auto task = d.model.BeginRun();
    ASSERT_TRUE(task);
    EndAfter stop{12};
    EXPECT_EQ(d.model.Run(*task, std::ref(stop)), CFinish::kStopped);
    d.model.EndRun(*task);
    EXPECT_TRUE(task->stoppedByUser);
    const size_t renamed = task->result.renamed;
    EXPECT_GT(renamed, 0u);
    EXPECT_LT(renamed, 50u);
    size_t prefixed = 0;
    for (const std::string& entry : dir.Snapshot()) prefixed += entry.rfind("x_f", 0) == 0;
    EXPECT_EQ(prefixed, renamed);
    EXPECT_EQ(dir.Snapshot().size(), 50u);
    // The dialog stays over the same items, under the names they have now.
    ASSERT_TRUE(d.model.RefreshPreview());
    const Names old = OldNames(d.model.rows());
    ASSERT_EQ(old.size(), 50u);
    EXPECT_EQ(std::count_if(old.begin(), old.end(), [](const std::string& n) { return n.rfind("x_", 0) == 0; }),
              static_cast<long>(renamed));
    EXPECT_TRUE(d.prompts.requests.empty()) << "no item was missing";

    CJournalRun run;
    ASSERT_TRUE(d.model.LastRun(run));
    EXPECT_EQ(UndoCount(run), renamed);
    EXPECT_EQ(d.model.Undo(run).renamedBack, renamed);
    for (const std::string& entry : dir.Snapshot()) EXPECT_EQ(entry.rfind("f", 0), 0u) << entry;
}

}  // namespace
