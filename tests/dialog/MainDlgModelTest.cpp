// The main dialog without its window, over real temporary folders and a store
// in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "dialog/MainDlgModel.h"
#include "dialog/MemorySettings.h"
#include "dialog/SettingsStore.h"
#include "dialog/panels/RenameDlg.h"
#include "platform/NameRules.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/Previews.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"
#include "tests/dialog/DialogFixture.h"

using testing_support::FaultyFileSystem;
using testing_support::NewNames;
using testing_support::OldNames;
using testing_support::ScriptedPrompts;
using testing_support::TempDir;
using testing_support::Dialog;
using testing_support::FS;

namespace {

using Names = std::vector<std::string>;

// The mark of each row, as a number.
std::vector<int> Marks(const CPreview& rows) {
    std::vector<int> out;
    for (const auto& r : rows) out.push_back(static_cast<int>(r.status));
    return out;
}


// The combo of every scope as the actions' scope rules give it; actions whose
// panel this build lacks leave no line.
TEST(MainDlgModel, TheActionListOfEachScope) {
    const char* all = "ABCDEF|GHIJKL|MNOPQ|RSTUV|WXYZabcd|ef|g|h";
    const char* names[] = {"Insert anywhere",
                           "Add to beginning",
                           "Add to end",
                           "Add date/time to beginning",
                           "Add date/time to end",
                           "Add folder to beginning",
                           "Remove anywhere",
                           "Remove at beginning",
                           "Remove at end",
                           "Remove file/folder extensions",
                           "Remove vowels",
                           "Truncate",
                           "Replace anywhere",
                           "Replace at beginning",
                           "Replace at end",
                           "Replace file/folder extensions",
                           "Replace characters",
                           "Make the first letter uppercase",
                           "Make lowercase",
                           "Make Proper Case",
                           "Make a Title Case",
                           "Make UPPERCASE",
                           "Produce alphabetical list",
                           "Produce numbered list",
                           "Add alphabetical sequence to beginning",
                           "Add alphabetical sequence to end",
                           "Add number to beginning",
                           "Add number to end",
                           "Change numbers",
                           "Renumber existing number sequence",
                           "Rename to date",
                           "Manually rename",
                           "Replace by pattern",
                           "Rename from tags"};
    // The letters of `all` (A = names[0] ...) that each scope leaves out.
    const std::string hidden[4] = {"Rh", "", "DEFJPeRh", "DFJPeRh"};
    CMemorySettings memory;
    Dialog d(memory, {});
    for (int scope = 0; scope < 4; ++scope) {
        ASSERT_TRUE(d.model.SetScope(scope));
        Names expected;
        for (const char* c = all; *c; ++c) {
            if (*c == '|') {
                expected.push_back("");
                continue;
            }
            const int index = *c >= 'a' ? 26 + (*c - 'a') : *c - 'A';
            if (hidden[scope].find(*c) != std::string::npos || !d.model.FindPanel(names[index])) continue;
            expected.push_back(names[index]);
        }
        // No blank line ends the list.
        while (!expected.empty() && expected.back().empty()) expected.pop_back();
        EXPECT_EQ(d.Lines(), expected) << "scope " << scope;
        EXPECT_EQ(d.model.activePanel()->scope(), scope);
    }
    EXPECT_FALSE(d.model.SetScope(4));
    EXPECT_FALSE(d.model.SetScope(-1));
    EXPECT_EQ(d.model.scope(), 3);
}

TEST(MainDlgModel, TheChosenActionSurvivesAScopeChangeWhileOffered) {
    struct Case {
        const char* action;
        int from;
        int to;
        const char* after;
    };
    const Case cases[] = {
        {"Replace anywhere", 0, 2, "Replace anywhere"},
        {"Make UPPERCASE", 1, 3, "Make UPPERCASE"},
        {"Make the first letter uppercase", 1, 0, "Insert anywhere"},
        {"Remove file/folder extensions", 0, 3, "Insert anywhere"},
        {"Replace file/folder extensions", 1, 2, "Insert anywhere"},
        {"Add folder to beginning", 0, 1, "Add folder to beginning"},
    };
    for (const auto& c : cases) {
        CMemorySettings memory;
        Dialog d(memory, {});
        ASSERT_TRUE(d.model.SetScope(c.from));
        ASSERT_TRUE(d.model.SelectAction(c.action)) << c.action;
        ASSERT_TRUE(d.model.SetScope(c.to));
        EXPECT_EQ(d.Current(), c.after) << c.action << " from " << c.from << " to " << c.to;
        EXPECT_EQ(d.model.activePanel()->scope(), c.to);
        // Going back does not bring a dropped action back.
        ASSERT_TRUE(d.model.SetScope(c.from));
        EXPECT_EQ(d.Current(), c.after);
    }
}

TEST(MainDlgModel, ABlankLineKeepsTheCurrentAction) {
    CMemorySettings memory;
    Dialog d(memory, {});
    d.Choose("Remove at end");
    const int current = d.model.currentLine();
    int blank = -1;
    for (size_t i = 0; i < d.model.actionLines().size() && blank < 0; ++i)
        if (!d.model.actionLines()[i].panel) blank = static_cast<int>(i);
    ASSERT_GE(blank, 0);
    EXPECT_FALSE(d.model.SelectLine(blank));
    EXPECT_FALSE(d.model.SelectLine(-1));
    EXPECT_FALSE(d.model.SelectLine(static_cast<int>(d.model.actionLines().size())));
    EXPECT_FALSE(d.model.SelectAction("Make Sandwich"));
    EXPECT_EQ(d.model.currentLine(), current);
    EXPECT_EQ(d.Current(), "Remove at end");
}

TEST(MainDlgModel, OpeningWithNothingStored) {
    CMemorySettings memory;
    Dialog d(memory, {});
    EXPECT_EQ(d.model.scope(), 0);
    EXPECT_EQ(d.Current(), "Insert anywhere");
    const CDialogOptions& o = d.model.options();
    // The first sorting order, and every box but "Confirm operations" on.
    EXPECT_EQ(o.sort, 0);
    EXPECT_EQ(o.sortFolders, 1);
    EXPECT_EQ(o.preview, 1);
    EXPECT_EQ(o.files, 1);
    EXPECT_EQ(o.folders, 1);
    EXPECT_EQ(o.subfolders, 1);
    EXPECT_EQ(o.confirm, 0);
    EXPECT_TRUE(memory.writes.empty());
}

TEST(MainDlgModel, OpeningRestoresTheLastRun) {
    struct Case {
        const char* label;
        std::map<std::string, CMemorySettings::Value> stored;
        int scope;
        const char* action;
        CDialogOptions options;  // renameKind and lastSelection are not compared
    };
    const CDialogOptions defaults;
    CDialogOptions changed;
    changed.sort = 9;
    changed.sortFolders = 0;
    changed.preview = 0;
    changed.files = 0;
    changed.folders = 0;
    changed.subfolders = 0;
    changed.confirm = 1;
    const Case cases[] = {
        {"everything stored",
         {{"renameKind", 1},
          {"lastSelection", std::string("Replace at end")},
          {"sort", 9},
          {"sortFolders", 0},
          {"preview", 0},
          {"files", 0},
          {"folders", 0},
          {"subfolders", 0},
          {"confirm", 1}},
         1,
         "Replace at end",
         changed},
        {"options without a remembered action are not read",
         {{"renameKind", 1}, {"sort", 9}, {"files", 0}, {"confirm", 1}},
         1,
         "Insert anywhere",
         defaults},
        {"missing numbers take the defaults",
         {{"lastSelection", std::string("Make lowercase")}, {"sort", -1}, {"confirm", -1}, {"files", -1}},
         0,
         "Make lowercase",
         defaults},
        {"a remembered action the scope does not offer",
         {{"renameKind", 2}, {"lastSelection", std::string("Remove file/folder extensions")}},
         2,
         "Insert anywhere",
         defaults},
        {"an action this build does not know",
         {{"renameKind", 3}, {"lastSelection", std::string("Make Sandwich")}},
         3,
         "Insert anywhere",
         defaults},
        {"a scope the combo does not have", {{"renameKind", 7}}, 0, "Insert anywhere", defaults},
    };
    for (const auto& c : cases) {
        CMemorySettings memory;
        memory.values = c.stored;
        Dialog d(memory, {});
        EXPECT_EQ(d.model.scope(), c.scope) << c.label;
        EXPECT_EQ(d.Current(), c.action) << c.label;
        EXPECT_EQ(d.model.activePanel()->scope(), c.scope) << c.label;
        const CDialogOptions& o = d.model.options();
        EXPECT_EQ(std::tie(o.sort, o.sortFolders, o.preview, o.files, o.folders, o.subfolders, o.confirm),
                  std::tie(c.options.sort, c.options.sortFolders, c.options.preview, c.options.files, c.options.folders,
                           c.options.subfolders, c.options.confirm))
            << c.label;
    }
}

TEST(MainDlgModel, OkStoresTheOptionsAndRenames) {
    TempDir dir;
    dir.File("a.txt", "a");
    dir.File("sub/b.txt", "b");
    CMemorySettings memory;
    {
        Dialog d(memory, {dir / "a.txt", dir / "sub"});
        ASSERT_TRUE(d.model.SetScope(1));
        d.Choose("Add to beginning", {{"add", "x_"}});
        d.model.options().folders = 0;
        d.model.options().sort = 1;
        EXPECT_EQ(d.model.Ok(), CFinish::kDone);
        EXPECT_EQ(dir.Snapshot(), (std::set<std::string>{"x_a.txt=a", "sub/", "sub/x_b.txt=b"}));
        EXPECT_EQ(memory.flushes, 1);
    }
    const std::map<std::string, CMemorySettings::Value> expected = {{"renameKind", 1},
                                                                    {"lastSelection", std::string("Add to beginning")},
                                                                    {"add", std::string("x_")},
                                                                    {"sort", 1},
                                                                    {"sortFolders", 1},
                                                                    {"preview", 1},
                                                                    {"files", 1},
                                                                    {"folders", 0},
                                                                    {"subfolders", 1},
                                                                    {"confirm", 0}};
    EXPECT_EQ(memory.values, expected);

    // The next opening finds all of it again.
    Dialog again(memory, {});
    EXPECT_EQ(again.model.scope(), 1);
    EXPECT_EQ(again.Current(), "Add to beginning");
    EXPECT_EQ(again.model.activePanel()->GetValue("add"), "x_");
    EXPECT_EQ(again.model.options().folders, 0);
    EXPECT_EQ(again.model.options().sort, 1);
}

TEST(MainDlgModel, OkWithoutAnOperationDoesNothing) {
    TempDir dir;
    dir.File("a.txt", "a");
    CMemorySettings memory;
    Dialog d(memory, {dir / "a.txt"});
    d.Choose("Add to beginning");  // nothing to add
    EXPECT_EQ(d.model.Ok(), CFinish::kNoOperation);
    bool asked = false;
    EXPECT_EQ(d.model.SaveFileList([&](std::string&) { return asked = true; }), CFinish::kNoOperation);
    EXPECT_FALSE(asked) << "no save dialog without an operation";
    EXPECT_EQ(dir.Snapshot(), (std::set<std::string>{"a.txt=a"}));
    EXPECT_TRUE(memory.writes.empty());
    EXPECT_EQ(memory.flushes, 0);
}

TEST(MainDlgModel, SkipAllEndsTheRun) {
    TempDir dir;
    dir.File("a.txt", "a");
    dir.File("b.txt", "b");
    CMemorySettings memory;
    Dialog d(memory, {dir / "a.txt", dir / "b.txt"});
    d.Choose("Add to end", {{"add", "_x"}});
    d.model.options().confirm = 1;
    d.prompts.Then(ScriptedPrompts::kConfirm, kAnswerSkipAll);
    EXPECT_EQ(d.model.Ok(), CFinish::kStopped);
    EXPECT_EQ(dir.Snapshot(), (std::set<std::string>{"a.txt=a", "b.txt=b"}));
    EXPECT_TRUE(d.prompts.Done());
}

TEST(MainDlgModel, SaveFileListStoresAllButTheScope) {
    TempDir dir;
    dir.File("a.txt", "a");
    CMemorySettings memory;
    memory.values["renameKind"] = 3;
    Dialog d(memory, {dir / "a.txt"});
    ASSERT_TRUE(d.model.SetScope(1));
    d.Choose("Replace anywhere", {{"find", "a"}});
    d.model.options().confirm = 1;

    // Cancelling the save dialog writes no list and flushes nothing.
    std::vector<std::string> offered;
    EXPECT_EQ(d.model.SaveFileList([&](std::string& name) {
        offered.push_back(name);
        return false;
    }),
              CFinish::kCancelled);
    EXPECT_EQ(memory.flushes, 0);
    EXPECT_EQ(d.model.lastListFile(), "");

    const std::string list = dir / "list.txt";
    EXPECT_EQ(d.model.SaveFileList([&](std::string& name) {
        offered.push_back(name);
        name = list;
        return true;
    }),
              CFinish::kDone);
    EXPECT_EQ(dir.Read("list.txt"), dir / "a.txt" + platform::kLineEnd);
    EXPECT_EQ(d.model.lastListFile(), list);
    EXPECT_EQ(memory.flushes, 1);
    EXPECT_EQ(std::get<int32_t>(memory.values.at("renameKind")), 3) << "the scope is stored only by OK";
    EXPECT_EQ(std::count(memory.writes.begin(), memory.writes.end(), "renameKind"), 0);
    for (const char* name : {"sort", "sortFolders", "preview", "files", "folders", "subfolders", "confirm"})
        EXPECT_EQ(std::count(memory.writes.begin(), memory.writes.end(), name), 1) << name;
    EXPECT_EQ(std::get<int32_t>(memory.values.at("confirm")), 1);
    EXPECT_EQ(std::get<std::string>(memory.values.at("find")), "a");

    // The next save dialog starts from the name chosen last; nothing was renamed.
    d.model.SaveFileList([&](std::string& name) {
        offered.push_back(name);
        return false;
    });
    EXPECT_EQ(offered, (Names{"", "", list}));
    EXPECT_TRUE(dir.Exists("a.txt"));
}

TEST(MainDlgModel, TheRefreshComputesNamesOverTheItemsReadOnce) {
    TempDir dir;
    for (const char* name : {"c.txt", "a.txt", "b.txt", "sub/d.txt", "sub/deep/e.txt"}) dir.File(name, "");
    CMemorySettings memory;
    Dialog d(memory, {dir.str()});
    d.Choose("Add to beginning", {{"add", "1_"}});
    ASSERT_TRUE(d.model.RefreshPreview());
    const int reads = d.DiskReads();
    EXPECT_GT(reads, 0);
    EXPECT_EQ(d.model.collections(), 1);
    ASSERT_EQ(NewNames(d.model.rows()).size(), 8u);  // five files, two subfolders and the folder itself
    const Names firstOld = OldNames(d.model.rows());

    // A new parameter computes new names from the same items.
    d.model.activePanel()->SetValue("add", "2_");
    d.model.Changed();
    EXPECT_EQ(d.model.collections(), 1);
    EXPECT_EQ(OldNames(d.model.rows()), firstOld);
    for (size_t i = 0; i < firstOld.size(); ++i) EXPECT_EQ(NewNames(d.model.rows())[i], "2_" + firstOld[i]);

    // A new order, scope, action or filter still reads nothing from the disk.
    d.model.options().sort = 1;
    d.model.RefreshPreview();
    d.model.options().sortFolders = 0;
    d.model.RefreshPreview();
    ASSERT_TRUE(d.model.SetScope(1));
    d.model.RefreshPreview();
    d.Choose("Make UPPERCASE");
    d.model.RefreshPreview();
    d.model.options().folders = 0;
    d.model.RefreshPreview();
    EXPECT_EQ(NewNames(d.model.rows()).size(), 5u);
    d.model.options().subfolders = 0;
    d.model.RefreshPreview();
    EXPECT_EQ(NewNames(d.model.rows()).size(), 0u) << "only the folder was given, and folders are off";
    EXPECT_EQ(d.DiskReads(), reads);
    EXPECT_GT(d.model.collections(), 1);

    // The files did not move.
    EXPECT_EQ(dir.Snapshot().size(), 7u);
}

TEST(MainDlgModel, AnEmptyPanelEmptiesThePreview) {
    TempDir dir;
    dir.File("a.txt");
    CMemorySettings memory;
    Dialog d(memory, {dir / "a.txt"});
    d.Choose("Replace anywhere", {{"find", "a"}, {"replace", "b"}});
    ASSERT_TRUE(d.model.RefreshPreview());
    EXPECT_EQ(NewNames(d.model.rows()), (Names{"b.txt"}));
    d.model.activePanel()->SetValue("find", "");
    EXPECT_FALSE(d.model.RefreshPreview());
    EXPECT_TRUE(d.model.rows().empty());

    // With "Show preview" off a change leaves the list as it was.
    d.model.activePanel()->SetValue("find", "a");
    d.model.options().preview = 0;
    d.model.Changed();
    EXPECT_TRUE(d.model.rows().empty());
    d.model.options().preview = 1;
    d.model.Changed();
    EXPECT_EQ(NewNames(d.model.rows()), (Names{"b.txt"}));
}

// Whatever was changed before, a refresh lists what a preview of its own
// over the disk lists, in the same order.
TEST(MainDlgModel, EveryRefreshAgreesWithAFreshPreview) {
    TempDir dir;
    for (const char* name : {"b10.txt", "B2.txt", "a.TXT", "sub/x3", "sub/y.dat", "sub/inner/z1.txt", "c"})
        dir.File(name, "");
    dir.Folder("empty");
    const Names paths = {dir / "sub", dir / "c", dir / "b10.txt", dir / "empty", dir / "B2.txt", dir / "a.TXT"};
    CMemorySettings memory;
    Dialog d(memory, paths);
    d.Choose("Add number to end", {{"start", "5"}, {"step", "2"}});
    std::mt19937 random(42);
    for (int round = 0; round < 60; ++round) {
        CDialogOptions& o = d.model.options();
        switch (random() % 5) {
            case 0:
                o.sort = static_cast<int>(random() % 10);
                break;
            case 1:
                o.sortFolders ^= 1;
                break;
            case 2:
                o.subfolders ^= 1;
                break;
            case 3:
                d.model.SetScope(static_cast<int>(random() % 4));
                break;
            case 4:
                d.model.activePanel()->SetValue("start", std::to_string(random() % 100));
                break;
        }
        o.files = random() % 4 != 0;
        o.folders = random() % 4 != 0;
        ASSERT_TRUE(d.model.RefreshPreview());

        // The run's own preview, over the disk.
        CRenameDlg& panel = *d.model.activePanel();
        auto op = panel.CreateOperation(o.RunOptions(d.model.scope(), 7));
        ASSERT_TRUE(op);
        const auto fresh = testing_support::PreviewNames(*op, paths);
        EXPECT_EQ(OldNames(d.model.rows()), testing_support::OldNames(fresh)) << "round " << round;
        EXPECT_EQ(NewNames(d.model.rows()), testing_support::NewNames(fresh)) << "round " << round;
        // And the same marks as a check of its own.
        auto again = panel.CreateOperation(o.RunOptions(d.model.scope(), 7));
        CRenameRun run(again->options(), platform::RealFileSystem(), SkippingPrompts());
        CSelection selection = run.Collect(paths);
        run.Arrange(selection);
        CPreview rows;
        run.Preview(selection, *again, rows);
        CPreviewCheck check;
        check.Prepare(selection, o.subfolders != 0);
        check.Mark(rows, platform::RealFileSystem());
        EXPECT_EQ(Marks(d.model.rows()), Marks(rows)) << "round " << round;
    }
    EXPECT_LT(d.DiskReads(), 40) << "the selection was read once";
    EXPECT_EQ(d.fs.Count(FS::kListFolder, dir.str()), 1) << "the folder of the given items, for the marks";
}

TEST(MainDlgModel, ACannotAccessReportIsShownOncePerDialog) {
    TempDir dir;
    dir.File("a.txt");
    dir.File("b.txt");
    CMemorySettings memory;
    Dialog d(memory, {dir.str()});
    d.fs.Fail(FS::kGetAttributes, dir / "a.txt", platform::kErrorAccessDenied);
    d.fs.HideKind(dir / "a.txt");  // as some file systems do, so that the run asks
    d.Choose("Make UPPERCASE");
    d.model.options().folders = 0;
    d.prompts.Then(ScriptedPrompts::kError, kAnswerSkip);
    ASSERT_TRUE(d.model.RefreshPreview());
    EXPECT_EQ(OldNames(d.model.rows()), (Names{"b.txt"}));
    d.model.options().sort = 1;
    d.model.SetScope(1);
    ASSERT_TRUE(d.model.RefreshPreview());
    EXPECT_EQ(OldNames(d.model.rows()), (Names{"b.txt"}));
    ASSERT_EQ(d.prompts.Count(ScriptedPrompts::kError), 1);
    EXPECT_EQ(d.prompts.First(ScriptedPrompts::kError)->error.fileName, dir / "a.txt");
}

TEST(MainDlgModel, SkipAllInTheFirstPreviewIsNotTheLastWord) {
    TempDir dir;
    dir.File("a.txt");
    dir.File("b.txt");
    CMemorySettings memory;
    Dialog d(memory, {dir / "a.txt", dir / "b.txt"});
    d.fs.Fail(FS::kGetAttributes, dir / "a.txt", platform::kErrorAccessDenied);
    d.Choose("Make UPPERCASE");
    d.prompts.Then(ScriptedPrompts::kError, kAnswerSkipAll);
    ASSERT_TRUE(d.model.RefreshPreview());
    EXPECT_TRUE(NewNames(d.model.rows()).empty()) << "the user ended the listing";
    ASSERT_TRUE(d.model.RefreshPreview());
    EXPECT_EQ(NewNames(d.model.rows()), (Names{"B.TXT"}));
    EXPECT_EQ(d.prompts.Count(ScriptedPrompts::kError), 1);
}

TEST(MainDlgModel, OkReadsTheDiskAfresh) {
    TempDir dir;
    dir.File("a.txt", "a");
    CMemorySettings memory;
    Dialog d(memory, {dir.str()});
    d.Choose("Add to beginning", {{"add", "x_"}});
    d.model.options().folders = 0;
    ASSERT_TRUE(d.model.RefreshPreview());
    EXPECT_EQ(NewNames(d.model.rows()), (Names{"x_a.txt"}));
    dir.File("b.txt", "b");  // appears after the preview
    EXPECT_EQ(d.model.Ok(), CFinish::kDone);
    EXPECT_EQ(dir.Snapshot(), (std::set<std::string>{"x_a.txt=a", "x_b.txt=b"}));
}

// A run reads its selection once: each folder is listed once, whether its
// contents were given (the command line's ".") or the folder itself, and
// even when the rows are shown before the first rename; and the run's one
// result says what it did.
TEST(MainDlgModel, ARunReadsItsSelectionOnceAndSaysWhatItDid) {
    struct Case {
        const char* label;
        bool contentsOnly;
        bool arranged;
    };
    for (const Case c : {Case{"the folder", false, false}, Case{"its contents", true, false},
                         Case{"its contents, counted first", true, true}}) {
        SCOPED_TRACE(c.label);
        TempDir dir;
        for (const char* f : {"d/a.txt", "d/b.txt", "d/x_c.txt", "d/c.txt", "d/sub/e.txt"}) dir.File(f, "1");
        CMemorySettings memory;
        Dialog d(memory, {});
        d.model.SetGiven({{dir / "d", c.contentsOnly}});
        d.Choose("Add to beginning", {{"add", "x_"}});
        d.model.options().folders = 0;
        d.prompts.Otherwise(ScriptedPrompts::kDuplicate, kAnswerSkip);
        size_t shown = 0;
        std::function<void(const CPreview&)> arranged;
        if (c.arranged) arranged = [&](const CPreview& rows) { shown = rows.size(); };
        EXPECT_EQ(d.model.Ok(arranged), CFinish::kDone);
        EXPECT_EQ(d.fs.Count(FS::kListFolder, dir / "d"), 1);
        EXPECT_EQ(d.fs.Count(FS::kListFolder, dir / "d/sub"), 1);
        EXPECT_EQ(shown, c.arranged ? 5u : 0u);
        const CRunResult& r = d.model.lastRun();
        // c.txt meets x_c.txt, which is itself renamed later: skipped.
        EXPECT_EQ(r.renamed, 4u);
        EXPECT_EQ(r.skipped, 1u);
        EXPECT_EQ(r.failed, 0u);
        EXPECT_FALSE(r.stopped || r.journalFailed());
    }
}

// The random order is drawn once per dialog: the preview shows the numbers
// that the run gives.
TEST(MainDlgModel, TheRunNumbersAsThePreviewShowed) {
    TempDir dir;
    Names files;
    for (int i = 0; i < 12; ++i) {
        files.push_back("f" + std::to_string(i));
        dir.File(files.back(), files.back());
    }
    CMemorySettings memory;
    Dialog d(memory, {dir.str()}, 1234);
    d.Choose("Add number to beginning", {{"start", "1"}, {"digits", "2"}});
    d.model.options().sort = 8;
    d.model.options().folders = 0;
    ASSERT_TRUE(d.model.RefreshPreview());
    std::set<std::string> expected;
    for (size_t i = 0; i < OldNames(d.model.rows()).size(); ++i)
        expected.insert(NewNames(d.model.rows())[i] + "=" + OldNames(d.model.rows())[i]);
    EXPECT_EQ(expected.size(), files.size());
    EXPECT_EQ(d.model.Ok(), CFinish::kDone);
    EXPECT_EQ(dir.Snapshot(), expected);
}

// What the user saw go wrong: a slash in a new name, and two names that
// become one. The preview marks them, the status line counts them, and the
// run meets exactly those.
TEST(MainDlgModel, ThePreviewMarksWhatTheRunWillMeet) {
    struct Case {
        const char* action;
        std::initializer_list<std::pair<const char*, const char*>> values;
        std::vector<std::pair<std::string, CRowStatus>> marks;
        size_t renamed, unchanged, conflicts;
        std::set<std::string> after;
    };
    const Case cases[] = {
        {"Make UPPERCASE",
         {},
         {{"IMG_0001.JPG", CRowStatus::kUnchanged},
          {"notes.txt", CRowStatus::kRenamed},
          {"q1 report.xlsx", CRowStatus::kRenamed},
          {"Q1 Report.xlsx", CRowStatus::kDuplicate}},
         2,
         1,
         1,
         {"IMG_0001.JPG=i", "NOTES.TXT=n", "Q1 REPORT.XLSX=q", "Q1 Report.xlsx=Q", "keep.TXT=k"}},
        {"Replace anywhere",
         {{"find", "_"}, {"replace", "/"}},
         {{"IMG_0001.JPG", CRowStatus::kInvalidName},
          {"notes.txt", CRowStatus::kUnchanged},
          {"q1 report.xlsx", CRowStatus::kUnchanged},
          {"Q1 Report.xlsx", CRowStatus::kUnchanged}},
         0,
         3,
         1,
         {"IMG_0001.JPG=i", "notes.txt=n", "q1 report.xlsx=q", "Q1 Report.xlsx=Q", "keep.TXT=k"}},
        {"Replace anywhere",
         {{"find", "notes.txt"}, {"replace", "keep.TXT"}},
         {{"IMG_0001.JPG", CRowStatus::kUnchanged},
          {"notes.txt", CRowStatus::kExists},
          {"q1 report.xlsx", CRowStatus::kUnchanged},
          {"Q1 Report.xlsx", CRowStatus::kUnchanged}},
         0,
         3,
         1,
         {"IMG_0001.JPG=i", "notes.txt=n", "q1 report.xlsx=q", "Q1 Report.xlsx=Q", "keep.TXT=k"}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.File("IMG_0001.JPG", "i");
        dir.File("notes.txt", "n");
        dir.File("keep.TXT", "k");  // beside the selection
        if (platform::SystemNameRules().ignoreCase) {
            dir.File("q1 report.xlsx", "q");
        } else {
            dir.File("q1 report.xlsx", "q");
            dir.File("Q1 Report.xlsx", "Q");
        }
        std::vector<std::string> paths = {dir / "IMG_0001.JPG", dir / "notes.txt", dir / "q1 report.xlsx"};
        if (!platform::SystemNameRules().ignoreCase) paths.push_back(dir / "Q1 Report.xlsx");
        CMemorySettings memory;
        Dialog d(memory, paths);
        d.Choose(c.action, c.values);
        d.model.options().sort = 0;
        ASSERT_TRUE(d.model.RefreshPreview());
        std::vector<std::pair<std::string, CRowStatus>> marks;
        for (const auto& r : d.model.rows()) marks.emplace_back(r.item->name(), r.status);
        auto want = c.marks;
        auto after = c.after;
        size_t renamed = c.renamed, conflicts = c.conflicts, unchanged = c.unchanged;
        if (platform::SystemNameRules().ignoreCase) {
            // One spelling of the report only: Windows keeps no second.
            want.pop_back();
            after.erase("Q1 Report.xlsx=Q");
            if (std::string(c.action) == "Make UPPERCASE")
                conflicts = 0;
            else
                unchanged -= 1;
        }
        EXPECT_EQ(marks, want) << c.action;
        EXPECT_EQ(d.model.counts().rows, want.size()) << c.action;
        EXPECT_EQ(d.model.counts().renamed, renamed) << c.action;
        EXPECT_EQ(d.model.counts().unchanged, unchanged) << c.action;
        EXPECT_EQ(d.model.counts().conflicts, conflicts) << c.action;
        EXPECT_EQ(d.model.offered(), renamed + conflicts) << c.action;

        // The run skips what it cannot rename; the rest is renamed.
        d.prompts.Otherwise(ScriptedPrompts::kDuplicate, kAnswerSkip).Otherwise(ScriptedPrompts::kIllegal, kAnswerSkip);
        EXPECT_EQ(d.model.Ok(), CFinish::kDone);
        EXPECT_EQ(dir.Snapshot(), after) << c.action;
        EXPECT_EQ(static_cast<size_t>(d.prompts.Count(ScriptedPrompts::kDuplicate) +
                                      d.prompts.Count(ScriptedPrompts::kIllegal)),
                  conflicts)
            << c.action;
    }
}

// Typing into a field recomputes the names and their marks only: the marks
// cost no listing, and the unmarked preview is there for comparison.
TEST(MainDlgModel, MarksFollowEachKeystrokeWithoutReading) {
    TempDir dir;
    for (const char* name : {"a1", "a2", "b1"}) dir.File(name, name);
    CMemorySettings memory;
    Dialog d(memory, {dir / "a1", dir / "a2"});
    d.Choose("Replace at beginning", {{"find", "a"}, {"replace", "c"}});
    ASSERT_TRUE(d.model.RefreshPreview());
    EXPECT_EQ(Marks(d.model.rows()), (std::vector<int>{0, 0}));
    const int reads = d.DiskReads();
    d.model.activePanel()->SetValue("replace", "b");
    d.model.Changed();
    EXPECT_EQ(Marks(d.model.rows()), (std::vector<int>{static_cast<int>(CRowStatus::kExists), 0}));
    EXPECT_EQ(d.model.counts().conflicts, 1u);
    d.model.SetCheckPreview(false);
    d.model.Changed();
    EXPECT_EQ(Marks(d.model.rows()), (std::vector<int>{0, 0})) << "unmarked";
    EXPECT_EQ(d.model.counts().conflicts, 0u);
    d.model.SetCheckPreview(true);
    d.model.options().sort = 1;  // a new order: arranged again from what was recorded
    d.model.Changed();
    EXPECT_EQ(Marks(d.model.rows()), (std::vector<int>{0, static_cast<int>(CRowStatus::kExists)}));
    EXPECT_EQ(d.DiskReads(), reads);
}

// A list file that is one of the items it lists is never written, whatever
// the user chose; the items stay as they were.
TEST(MainDlgModel, TheFileListNeverReplacesAnItemItLists) {
    struct Case {
        const char* label;
        std::vector<std::string> given;
        std::string list;
        CFinish finish;
    };
    const Case cases[] = {
        {"a given file", {"a.txt", "b.txt"}, "a.txt", CFinish::kRefused},
        {"a file inside a given folder", {"sub"}, "sub/c.txt", CFinish::kRefused},
        {"a given folder itself", {"sub"}, "sub", CFinish::kRefused},
        {"a new file beside the items", {"a.txt"}, "list.txt", CFinish::kDone},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.File("a.txt", "a");
        dir.File("b.txt", "b");
        dir.File("sub/c.txt", "c");
        const auto before = dir.Snapshot();
        std::vector<std::string> paths;
        for (const auto& g : c.given) paths.push_back(dir / g);
        CMemorySettings memory;
        Dialog d(memory, paths);
        d.Choose("Make UPPERCASE");
        if (c.finish == CFinish::kRefused) d.prompts.Then(ScriptedPrompts::kError, kAnswerSkip);
        EXPECT_EQ(d.model.SaveFileList([&](std::string& name) {
            name = dir / c.list;
            return true;
        }),
                  c.finish)
            << c.label;
        EXPECT_TRUE(d.prompts.Done()) << c.label;
        if (c.finish == CFinish::kRefused) {
            EXPECT_EQ(dir.Snapshot(), before) << c.label;
            EXPECT_EQ(d.prompts.First(ScriptedPrompts::kError)->error.fileName, dir / c.list);
            EXPECT_EQ(d.prompts.First(ScriptedPrompts::kError)->error.errorCode, platform::kErrorAlreadyExists);
        } else {
            EXPECT_EQ(dir.Read(c.list), dir / "a.txt" + platform::kLineEnd) << c.label;
        }
    }
}

}  // namespace

// "Undo last run...": offered once a run renamed something, it takes the run
// back through the dialog's prompts, and the dialog's items follow the names
// they get back, so that its preview shows them as they are now.
TEST(MainDlgModel, TheUndoOfTheLastRunAndTheItemsThatFollowIt) {
    TempDir dir, journals;
    dir.File("a.txt", "a");
    dir.File("sub/b.txt", "b");
    CMemorySettings memory;
    {
        Dialog d(memory, {dir / "a.txt", dir / "sub"}, 7, &journals);
        CJournalRun none;
        EXPECT_FALSE(d.model.LastRun(none)) << "nothing to take back yet";
        d.Choose("Add to beginning", {{"add", "x_"}});
        ASSERT_EQ(d.model.Ok(), CFinish::kDone);
    }
    ASSERT_EQ(dir.Snapshot(), (std::set<std::string>{"x_a.txt=a", "x_sub/", "x_sub/x_b.txt=b"}));

    // The next opening, over what the run renamed.
    Dialog d(memory, {dir / "x_a.txt", dir / "x_sub/x_b.txt"}, 7, &journals);
    CJournalRun run;
    ASSERT_TRUE(d.model.LastRun(run, false));
    EXPECT_EQ(UndoCount(run), 3u);
    EXPECT_TRUE(run.items.empty()) << "counted without its items";
    ASSERT_TRUE(d.model.LastRun(run));
    EXPECT_EQ(run.header.what, "Add to beginning");
    EXPECT_EQ(run.header.where, dir.str());
    const CUndoResult undo = d.model.Undo(run);
    EXPECT_EQ(UndoSummary(undo), "renamed back 3, left alone 0, failed 0");
    EXPECT_EQ(dir.Snapshot(), (std::set<std::string>{"a.txt=a", "sub/", "sub/b.txt=b"}));
    // The items are where the undo put them, the one in a renamed folder too.
    d.Choose("Make UPPERCASE");
    ASSERT_TRUE(d.model.RefreshPreview());
    EXPECT_EQ(OldNames(d.model.rows()), (Names{"a.txt", "b.txt"}));
    EXPECT_TRUE(d.prompts.requests.empty()) << "no item was missing";

    // The undo is the last run now, and taking it back renames forward.
    std::vector<CJournalRun> history;
    ASSERT_EQ(d.model.History(history), 0u);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].header.kind, CJournalHeader::kUndo);
    EXPECT_EQ(history[0].header.what, "\"Add to beginning\"");
    EXPECT_EQ(history[0].header.undone, history[1].path.substr(history[1].path.find_last_of(platform::kPathSeparator) + 1));
    EXPECT_EQ(JournalRunText(history[0]).rfind("undo of \"Add to beginning\" in " + dir.str() + ", started ", 0), 0u);
    ASSERT_TRUE(d.model.LastRun(run));
    EXPECT_EQ(d.model.Undo(run).renamedBack, 3u);
    EXPECT_EQ(dir.Snapshot(), (std::set<std::string>{"x_a.txt=a", "x_sub/", "x_sub/x_b.txt=b"}));
    CJournalRun first;
    EXPECT_EQ(d.model.ReadRun(3, first), 0u);
    EXPECT_EQ(first.header.kind, CJournalHeader::kRun);
    EXPECT_EQ(d.model.ReadRun(4, first), platform::kErrorFileNotFound);
}

// A run whose journal cannot be written renames nothing, and says why.
TEST(MainDlgModel, OkRenamesNothingWithoutAJournal) {
    for (const FS::Call call : {FS::kListFolder, FS::kCreateAppend, FS::kFlush}) {
        TempDir dir;
        dir.File("a.txt", "a");
        CMemorySettings memory;
        Dialog d(memory, {dir / "a.txt"});
        d.Choose("Add to beginning", {{"add", "x_"}});
        d.fs.Fail(call, call == FS::kListFolder ? d.state.str() : "", platform::kErrorDiskFull);
        EXPECT_EQ(d.model.Ok(), CFinish::kJournalFailed) << call;
        EXPECT_EQ(d.model.journalError(), platform::kErrorDiskFull);
        EXPECT_NE(d.model.journalPath().find(d.state.str()), std::string::npos);
        EXPECT_EQ(d.fs.Count(FS::kMove), 0);
        EXPECT_EQ(dir.Snapshot(), (std::set<std::string>{"a.txt=a"}));
    }
}

// The "Old" column tells items of one name in different folders apart: each
// shows below the folder it was selected in.
TEST(MainDlgModel, OldNamesShowBelowTheFolderTheyWereSelectedIn) {
    TempDir dir;
    dir.File("IMG_1.jpg", "a");
    dir.File("Trip/IMG_1.jpg", "b");
    dir.File("Trip/Day 2/IMG_1.jpg", "c");
    CMemorySettings memory;
    Dialog d(memory, {dir / "IMG_1.jpg", dir / "Trip"});
    d.Choose("Make UPPERCASE");
    ASSERT_TRUE(d.model.RefreshPreview());
    std::set<std::string> shown;
    for (const auto& row : d.model.rows()) shown.insert(d.model.ShownOld(*row.item));
    const std::string sep(1, platform::kPathSeparator);
    EXPECT_EQ(shown, (std::set<std::string>{"IMG_1.jpg", "Trip", "Trip" + sep + "IMG_1.jpg", "Trip" + sep + "Day 2",
                                            "Trip" + sep + "Day 2" + sep + "IMG_1.jpg"}));
}
