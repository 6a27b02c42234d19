// Runs of the dialog one after the other over one store: what each run leaves
// for the next.
#include <gtest/gtest.h>

#include "dialog/ActionCatalogue.h"
#include "dialog/DialogOptions.h"
#include "dialog/MemorySettings.h"
#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"
#include "tests/support/Compute.h"

namespace {

// One run: a fresh store over the same memory, and every panel made over it.
struct DialogRun {
    explicit DialogRun(CMemorySettings& memory)
        : store(CSettingsStore::kDialogSubKey, CMemorySettings::Borrow(memory)), panels(CreatePanels(&store)) {}

    CRenameDlg& Panel(int actionId) {
        for (auto& p : panels)
            if (p && p->actionNameId() == actionId) return *p;
        ADD_FAILURE() << "no panel " << actionId;
        std::abort();
    }
    // What pressing OK does with the panel.
    void Ok(int actionId, std::initializer_list<std::pair<const char*, const char*>> values = {}) {
        CRenameDlg& panel = Panel(actionId);
        for (const auto& [name, value] : values) ASSERT_TRUE(panel.SetValue(name, value)) << name;
        ASSERT_TRUE(panel.CreateOperation(CRunOptions{})) << panel.actionName();
        SaveDialogOptions(store, ReadDialogOptions(store), true);
    }

    CSettingsStore store;
    std::vector<std::unique_ptr<CRenameDlg>> panels;
};

TEST(PanelScenarios, FirstRunEveryPanelStartsFromItsDefaults) {
    CMemorySettings memory;
    DialogRun run(memory);
    EXPECT_EQ(ReadDialogOptions(run.store).lastSelection, "");
    EXPECT_EQ(run.Panel(kStrAddNumberAtEnd).GetValue("step"), "1");
    EXPECT_EQ(run.Panel(kStrTitlecase).GetValue("words"), "a an the and or of");
    EXPECT_TRUE(memory.writes.empty()) << "opening writes nothing";
}

TEST(PanelScenarios, RemoveVowelsLeavesThePreviousActionPreselected) {
    for (int silent : {kStrRemoveVowels, kStrRemoveExtensions}) {
        CMemorySettings memory;
        DialogRun(memory).Ok(kStrReplaceAnywhere, {{"find", "old"}, {"replace", "new"}, {"type", "6"}});
        DialogRun(memory).Ok(silent);
        DialogRun next(memory);
        EXPECT_EQ(ReadDialogOptions(next.store).lastSelection, "Replace anywhere");
        CRenameDlg& replace = next.Panel(kStrReplaceAnywhere);
        EXPECT_EQ(replace.GetValue("find"), "old");
        EXPECT_EQ(replace.GetValue("replace"), "new");
        EXPECT_EQ(replace.GetValue("type"), "6");
    }
}

TEST(PanelScenarios, AddHoldsANumberAfterChangeNumbers) {
    CMemorySettings memory;
    DialogRun(memory).Ok(kStrAddAtBeginning, {{"add", "x"}});
    EXPECT_EQ(memory.values["add"], CMemorySettings::Value(std::string("x")));
    DialogRun(memory).Ok(kStrReformatNumber, {{"add", "1"}, {"number", "5"}});
    EXPECT_EQ(memory.values["add"], CMemorySettings::Value(int32_t{1}));

    DialogRun next(memory);
    EXPECT_EQ(ReadDialogOptions(next.store).lastSelection, "Change numbers");
    EXPECT_EQ(next.Panel(kStrReformatNumber).GetValue("add"), "1");
    EXPECT_EQ(next.Panel(kStrReformatNumber).GetValue("number"), "5");
    EXPECT_EQ(next.Panel(kStrAddAtBeginning).GetValue("add"), "");
    EXPECT_EQ(next.Panel(kStrAddAtEnd).GetValue("add"), "");
}

TEST(PanelScenarios, SharedNamesBelongToTheLastActionOnly) {
    CMemorySettings memory;
    DialogRun(memory).Ok(kStrAddNumberAtEnd, {{"step", "5"}, {"start", "10"}, {"digits", "4"}});
    DialogRun next(memory);
    EXPECT_EQ(next.Panel(kStrAddNumberAtEnd).GetValue("step"), "5");
    EXPECT_EQ(next.Panel(kStrAddNumberAtEnd).GetValue("start"), "10");
    EXPECT_EQ(next.Panel(kStrAddNumberAtEnd).GetValue("digits"), "4");
    // The other panels with a step, start and padding keep their own defaults.
    for (int other : {kStrProduceNumberedList, kStrAddNumberAtBeginning, kStrRenumber}) {
        EXPECT_EQ(next.Panel(other).GetValue("step"), "1") << other;
        EXPECT_EQ(next.Panel(other).GetValue("start"), "0") << other;
        EXPECT_EQ(next.Panel(other).GetValue("digits"), "1") << other;
    }
    EXPECT_EQ(next.Panel(kStrProduceAlphabeticalList).GetValue("start"), "a");
}

TEST(PanelScenarios, AnEmptyStoredWordListBringsBackTheDefaultWords) {
    CMemorySettings memory;
    DialogRun(memory).Ok(kStrTitlecase, {{"words", ""}, {"type", "2"}});
    EXPECT_EQ(memory.values["words"], CMemorySettings::Value(std::string()));
    DialogRun next(memory);
    EXPECT_EQ(next.Panel(kStrTitlecase).GetValue("words"), "a an the and or of");
    EXPECT_EQ(next.Panel(kStrTitlecase).GetValue("type"), "2");
}

TEST(PanelScenarios, ATextTooLongToReadBackLeavesTheFieldEmpty) {
    CMemorySettings memory;
    DialogRun(memory).Ok(kStrAddAtEnd, {{"add", std::string(199, 'k').c_str()}});
    EXPECT_EQ(DialogRun(memory).Panel(kStrAddAtEnd).GetValue("add"), std::string(199, 'k'));
    DialogRun(memory).Ok(kStrAddAtEnd, {{"add", std::string(200, 'k').c_str()}});
    DialogRun next(memory);
    EXPECT_EQ(next.Panel(kStrAddAtEnd).GetValue("add"), "");
    // With the field empty the panel builds nothing until the user types.
    EXPECT_EQ(next.Panel(kStrAddAtEnd).CreateOperation(CRunOptions{}), nullptr);
}

TEST(PanelScenarios, StartLettersKeepOnlySmallLetters) {
    CMemorySettings memory;
    DialogRun run(memory);
    struct Case {
        int action;
        const char* typed;
        const char* kept;
        bool beep;
    };
    const Case cases[] = {
        {kStrAddAlphaAtBeginning, "abZz9", "abz", true},
        {kStrAddAlphaAtEnd, "abZz9", "abz", true},
        {kStrAddAlphaAtEnd, "abc", "abc", false},
        {kStrAddAlphaAtEnd, "\xC3\xA9t\xC3\xA9", "t", true},
        // The list panel's field lowers what is typed before the filter.
        {kStrProduceAlphabeticalList, "abZz9", "abzz", true},
        {kStrProduceAlphabeticalList, "ABC", "abc", false},
    };
    for (const auto& c : cases) {
        CRenameDlg& panel = run.Panel(c.action);
        std::string text = c.typed;
        EXPECT_EQ(panel.FilterText(1001, text), c.beep) << panel.actionName() << " " << c.typed;
        EXPECT_EQ(text, c.kept) << panel.actionName() << " " << c.typed;
    }
    // Other fields are left alone by the filter.
    std::string prefix = "Disc 9 Z";
    EXPECT_FALSE(run.Panel(kStrProduceAlphabeticalList).FilterText(1003, prefix));
    EXPECT_EQ(prefix, "Disc 9 Z");
    EXPECT_FALSE(run.Panel(kStrAddAlphaAtEnd).SetValue("start", "aB"));
    EXPECT_TRUE(run.Panel(kStrProduceAlphabeticalList).SetValue("start", "aB"));
    EXPECT_EQ(run.Panel(kStrProduceAlphabeticalList).GetValue("start"), "ab");
}

TEST(PanelScenarios, TheSequenceStartsAtTheTypedLetters) {
    CMemorySettings memory;
    DialogRun run(memory);
    CRenameDlg& panel = run.Panel(kStrAddAlphaAtBeginning);
    for (const auto& [letters, first] : std::initializer_list<std::pair<const char*, const char*>>{
             {"a", "a"}, {"z", "z"}, {"ba", "ba"}, {"baa", "baa"}, {"zz", "zz"}, {"bcd", "bcd"}}) {
        ASSERT_TRUE(panel.SetValue("start", letters));
        auto op = panel.CreateOperation(CRunOptions{});
        ASSERT_TRUE(op);
        const CFileDescriptor fd(std::string("dir"), std::string("_x"), 0);
        EXPECT_EQ(testing_support::CPass(*op)(fd)->name(), std::string(first) + "_x") << letters;
    }
}

}  // namespace
