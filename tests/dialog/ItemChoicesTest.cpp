// Items left out of a run and names typed by hand, over an action that
// numbers: the preview, the visible rows and the run must all agree.
#include <gtest/gtest.h>

#include "core/Words.h"
#include "dialog/MainDlgModel.h"
#include "tests/dialog/DialogFixture.h"

using testing_support::Dialog;
using testing_support::TempDir;

namespace {

using Names = std::vector<std::string>;

struct Row {
    std::string old, now, status;
    bool operator==(const Row&) const = default;
};

std::vector<Row> Rows(const CPreview& rows) {
    std::vector<Row> out;
    for (const auto& r : rows) out.push_back({r.item->name(), r.newName, StatusWord(r.status)});
    return out;
}

std::ostream& operator<<(std::ostream& os, const Row& r) {
    return os << r.old << "->" << r.now << " (" << r.status << ")";
}

TEST(ItemChoices, LeftOutItemsUseNoNumberAndTypedNamesHold) {
    struct Case {
        const char* label;
        Names leftOut;
        std::vector<std::pair<std::string, std::string>> typed;  // old name, typed name
        std::vector<Row> rows;
        Names after;  // the folder after OK
    };
    const std::vector<Case> cases = {
        {"nothing chosen",
         {},
         {},
         {{"a", "a1", "rename"}, {"b", "b2", "rename"}, {"c", "c3", "rename"}, {"d", "d4", "rename"}},
         {"a1", "b2", "c3", "d4"}},
        {"two left out, one typed",
         {"a", "c"},
         {{"d", "mine"}},
         {{"a", "a", "left out"}, {"b", "b1", "rename"}, {"c", "c", "left out"}, {"d", "mine", "rename"}},
         {"a", "b1", "c", "mine"}},
        // A typed name takes its item's number place, so that the others
        // keep theirs; it meets what another item keeps: the checked
        // preview says so, and the run asks (Skip here).
        {"typed onto a left-out name",
         {"b"},
         {{"a", "b"}},
         {{"a", "b", "duplicate"}, {"b", "b", "left out"}, {"c", "c2", "rename"}, {"d", "d3", "rename"}},
         {"a", "b", "c2", "d3"}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        for (const char* n : {"a", "b", "c", "d"}) dir.File(n, n);
        CMemorySettings memory;
        Dialog d(memory, {dir / "a", dir / "b", dir / "c", dir / "d"});
        d.Choose("Add number to end", {{"start", "1"}});
        d.prompts.Otherwise(testing_support::ScriptedPrompts::kDuplicate, kAnswerSkip);
        ASSERT_TRUE(d.model.RefreshPreview()) << c.label;
        Names out;
        for (const auto& n : c.leftOut) out.push_back(dir / n);
        d.model.LeaveOut(out, true);
        for (const auto& [old, typed] : c.typed) d.model.SetName(dir / old, typed);
        ASSERT_TRUE(d.model.RefreshPreview()) << c.label;
        EXPECT_EQ(Rows(d.model.rows()), c.rows) << c.label;
        EXPECT_EQ(d.model.counts().leftOut, c.leftOut.size()) << c.label;
        // A value changed in the panel keeps what was chosen; the rows on
        // screen, computed first (and marked later), agree with the whole
        // preview.
        d.Choose("Add number to end", {{"start", "5"}});
        const auto task = d.model.BeginPreview(0, 4);
        ASSERT_TRUE(d.model.ComputePreview(*task)) << c.label;
        auto unmarked = Rows(task->rows);
        for (auto& r : unmarked)
            if (r.status != "left out") r.status = r.old == r.now ? "unchanged" : "rename";
        EXPECT_EQ(Rows(task->visible), unmarked) << c.label;
        d.model.AdoptPreview(*task);
        d.Choose("Add number to end", {{"start", "1"}});
        d.model.RefreshPreview();
        EXPECT_EQ(Rows(d.model.rows()), c.rows) << c.label;

        EXPECT_EQ(d.model.Ok(), CFinish::kDone) << c.label;
        Names names;
        for (const auto& entry : dir.Snapshot()) names.push_back(entry.substr(0, entry.find('=')));
        EXPECT_EQ(names, c.after) << c.label;
        // Its undo brings back exactly the names it changed.
        CJournalRun run;
        ASSERT_TRUE(d.model.LastRun(run)) << c.label;
        d.model.Undo(run);
        names.clear();
        for (const auto& entry : dir.Snapshot()) names.push_back(entry.substr(0, entry.find('=')));
        EXPECT_EQ(names, (Names{"a", "b", "c", "d"})) << c.label;
    }
}

// After a check box changes, the rows on screen are not taken from the
// places they had: numbers after the change move.
TEST(ItemChoices, AChangeOfChoiceRecomputesTheRowsOnScreenFromTheStart) {
    TempDir dir;
    for (const char* n : {"a", "b", "c"}) dir.File(n, n);
    CMemorySettings memory;
    Dialog d(memory, {dir / "a", dir / "b", dir / "c"});
    d.Choose("Add number to end", {{"start", "1"}});
    ASSERT_TRUE(d.model.RefreshPreview());
    d.model.LeaveOut({dir / "a"}, true);
    const auto task = d.model.BeginPreview(1, 2);
    EXPECT_FALSE(task->visibleFromShown);
    ASSERT_TRUE(d.model.ComputePreview(*task));
    EXPECT_EQ(Rows(task->rows), (std::vector<Row>{{"a", "a", "left out"}, {"b", "b1", "rename"}, {"c", "c2", "rename"}}));
    d.model.AdoptPreview(*task);
    // Taken in again, and a typed name reset: the computed names come back.
    d.model.LeaveOut({dir / "a"}, false);
    d.model.SetName(dir / "b", "typed");
    d.model.ResetNames({dir / "b"});
    d.model.RefreshPreview();
    EXPECT_EQ(Rows(d.model.rows()), (std::vector<Row>{{"a", "a1", "rename"}, {"b", "b2", "rename"}, {"c", "c3", "rename"}}));
}

}  // namespace
