#include <gtest/gtest.h>

#include "cli/Arguments.h"
#include "cli/Manual.h"
#include "cli/Names.h"
#include "cli/Suggestions.h"
#include "dialog/ActionCatalogue.h"
#include "dialog/MainDlgModel.h"
#include "dialog/MemorySettings.h"
#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"
#include "dialog/panels/AddInsertPanels.h"
#include "dialog/panels/DatePanels.h"
#include "dialog/panels/NumberPanels.h"
#include "dialog/panels/RemovePanels.h"
#include "dialog/panels/ReplacePanels.h"
#include "tests/support/Compute.h"

namespace {

TEST(Arguments, ShortForms) {
    const std::pair<const char*, const char*> cases[] = {
        {"Replace anywhere", "replace-anywhere"},
        {"Add date/time to end", "add-date-time-to-end"},
        {"Make UPPERCASE", "make-uppercase"},
        {"  --Odd__spacing-- ", "odd-spacing"},
        {"", ""},
    };
    for (const auto& [text, form] : cases) EXPECT_EQ(ShortForm(text), form) << text;
    // Every action has a short form of its own.
    std::set<std::string> forms;
    for (const auto& slot : ActionCatalogue()) {
        if (!slot.blank()) {
            EXPECT_TRUE(forms.insert(ShortForm(LoadStringText(slot.textId))).second);
        }
    }
    EXPECT_EQ(forms.size(), 34u);
}

TEST(Arguments, ScopesOrdersAndActionsByNumberTextOrShortForm) {
    const std::pair<const char*, std::optional<int>> scopes[] = {
        {"0", 0},
        {"3", 3},
        {"4", std::nullopt},
        {"-1", std::nullopt},
        {"", std::nullopt},
        {"name", 1},
        {"Change file name only", 1},
        {"ext", 3},
        {"ext-dot", 2},
        {"extension", 3},
        {"change-file-extension-only-including-separator", 2},
        {"whole", std::nullopt},
    };
    for (const auto& [text, scope] : scopes) EXPECT_EQ(ParseScope(text), scope) << text;
    const std::pair<const char*, std::optional<int>> orders[] = {
        {"0", 0},
        {"9", 9},
        {"10", 10},
        {"taken-desc", 11},
        {"12", std::nullopt},
        {"name-desc", 1},
        {"random", 8},
        {"By Existing Number Sequence", 9},
        {"by-modification-date-from-newer-to-older", 3},
        {"size", std::nullopt},
    };
    for (const auto& [text, order] : orders) EXPECT_EQ(ParseSortOrder(text), order) << text;
    const std::pair<const char*, const char*> actions[] = {
        {"Replace anywhere", "Replace anywhere"},
        {"replace anywhere", "Replace anywhere"},
        {"REPLACE-ANYWHERE", "Replace anywhere"},
        {"add-date-time-to-end", "Add date/time to end"},
        {"Replace", ""},
        {"", ""},
        {"--", ""},
    };
    for (const auto& [text, action] : actions) EXPECT_EQ(FindActionText(text), action) << text;
}

TEST(Arguments, TheCommandLineAsTyped) {
    CCommandLine c;
    std::string message;
    ASSERT_EQ(ParseCommandLine({"-a", "Truncate", "--set", "truncate=3", "-s", "x=a=b", "dir1", "--no-folders",
                                "--confirm", "--sort", "random", "--on-conflict", "number", "dir2", "--", "-odd"},
                               c, message),
              CParsed::kRun)
        << message;
    ASSERT_EQ(c.steps.size(), 1u);
    CCommandLine chain;
    ASSERT_EQ(ParseCommandLine({"-s", "a=1", "d", "-a", "one", "--then", "-c", "ext", "-a", "two", "-s", "b=2", "-s",
                                "c=3", "--then", "-a", "three", "-p"},
                               chain, message),
              CParsed::kRun)
        << message;
    const std::vector<CCommandStep> steps = {{"one", {"a=1"}, std::nullopt},
                                             {"two", {"b=2", "c=3"}, "ext"},
                                             {"three", {}, std::nullopt}};
    EXPECT_EQ(chain.steps, steps);
    EXPECT_EQ(chain.paths, (std::vector<std::string>{"d"}));
    EXPECT_EQ(c.steps[0].action, "Truncate");
    EXPECT_EQ(c.steps[0].values, (std::vector<std::string>{"truncate=3", "x=a=b"}));
    EXPECT_EQ(c.paths, (std::vector<std::string>{"dir1", "dir2", "-odd"}));
    EXPECT_EQ(SectionGiven(c, &CDialogOptions::folders), 0);
    EXPECT_EQ(SectionGiven(c, &CDialogOptions::confirm), 1);
    EXPECT_EQ(SectionGiven(c, &CDialogOptions::files), std::nullopt);
    EXPECT_EQ(c.sort, "random");
    EXPECT_EQ(c.onConflict, "number");
    EXPECT_FALSE(c.preview);
    EXPECT_EQ(c.saveList, std::nullopt);

    const std::vector<std::string> bad[] = {{"--on-conflict", "ask"},
                                            {"--action"},
                                            {"--subfolders", "--no-subfolders"},
                                            {"--bogus"},
                                            {"--last", "-a", "x", "d"},
                                            {"--all", "d"},
                                            {"--force", "d"},
                                            {"--then", "-a", "x", "d"},
                                            {"-a", "x", "--then", "d"},
                                            {"-a", "x", "-a", "y", "d"},
                                            {"-a", "x", "-c", "name", "-c", "ext", "d"},
                                            {"--last", "--then", "-a", "x", "d"},
                                            {"--preset", "p", "--last", "d"},
                                            {"--preset", "p", "-a", "x", "d"},
                                            {"--presets", "d"},
                                            {"--export-preset", "p"}};
    for (const auto& args : bad) {
        CCommandLine ignored;
        EXPECT_EQ(ParseCommandLine(args, ignored, message), CParsed::kError) << args[0];
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        EXPECT_FALSE(message.empty());
    }
    CCommandLine help;
    EXPECT_EQ(ParseCommandLine({"--help"}, help, message), CParsed::kHelp);
    EXPECT_NE(message.find("--on-conflict"), std::string::npos);
    EXPECT_EQ(ParseCommandLine({"--version"}, help, message), CParsed::kHelp);
    EXPECT_EQ(message.rfind("quorlin ", 0), 0u);
}

TEST(Arguments, AChoiceByItsText) {
    CReplaceAnywhereDlg panel(nullptr);
    std::string error;
    const std::pair<const char*, const char*> cases[] = {{"type=6", "6"},
                                                         {"type=Replace last occurence", "6"},
                                                         {"type=replace-2nd-to-last-occurence", "7"},
                                                         {"ignoreCase=1", "1"}};
    for (const auto& [assignment, value] : cases) {
        ASSERT_TRUE(AssignValue(panel, assignment, error)) << error;
        const std::string name = std::string(assignment).substr(0, std::string(assignment).find('='));
        EXPECT_EQ(panel.GetValue(name), value) << assignment;
    }
    EXPECT_FALSE(AssignValue(panel, "type=12", error));
    EXPECT_EQ(error, "\"type\" takes an index from 0 to 10");
    EXPECT_FALSE(AssignValue(panel, "type=Replace sometimes", error));
    EXPECT_EQ(error.rfind("\"type\" has no choice \"Replace sometimes\" (it takes replace-all-occurences, ", 0), 0u)
        << error;
    EXPECT_FALSE(AssignValue(panel, "ignoreCase=yes", error));
    EXPECT_FALSE(AssignValue(panel, "=x", error));
    EXPECT_TRUE(AssignValue(panel, "find=a=b", error));
    EXPECT_EQ(panel.GetValue("find"), "a=b");
}

// The help teaches: examples, every sorting order and scope by name.
TEST(Arguments, TheHelpTeaches) {
    CCommandLine c;
    std::string help;
    ASSERT_EQ(ParseCommandLine({"--help"}, c, help), CParsed::kHelp);
    for (const char* expected : {"Examples:", "quorlin -p -a replace-anywhere", "step=-2", "--last ~/scans2",
                                 "name, name-desc, modified, modified-desc, created, created-desc, picture, "
                                 "picture-desc, random, number",
                                 "entire, name, ext-dot", "--last", "--all", "--force", "NO_COLOR", "Exit status"})
        EXPECT_NE(help.find(expected), std::string::npos) << expected;
    EXPECT_EQ(help.find("--manual-page"), std::string::npos) << "for the build only";
}

// The manual page and the completion come from the same options as the help.
TEST(Arguments, TheManualPageAndTheCompletionFollowTheHelp) {
    const std::string man = ManualPage();
    EXPECT_EQ(man.rfind(".TH QUORLIN 1", 0), 0u);
    for (const char* expected :
         {".SH SYNOPSIS", ".SH OPTIONS", "\\fB\\-\\-save\\-list\\fR \\fIFILE\\fR", "\\fB\\-\\-last\\fR", ".SH EXAMPLES",
          "modified\\-desc", ".SH EXIT STATUS", "make\\-uppercase", "QUORLIN_SETTINGS"})
        EXPECT_NE(man.find(expected), std::string::npos) << expected;
    const std::string completion = BashCompletion();
    for (const char* expected : {"complete -F _quorlin quorlin", "--save-list", "make-uppercase", "name-desc",
                                 "ext-dot", "find=", "step=", "skip number stop"})
        EXPECT_NE(completion.find(expected), std::string::npos) << expected;
}

TEST(Arguments, SortingOrdersByName) {
    const std::pair<const char*, int> cases[] = {{"name", 0},          {"name-desc", 1},    {"modified", 2},
                                                 {"modified-desc", 3}, {"created", 4},      {"created-desc", 5},
                                                 {"picture", 6},       {"picture-desc", 7}, {"random", 8},
                                                 {"number", 9},        {"Name-Desc", 1},    {"modified asc", 2}};
    for (const auto& [text, order] : cases) EXPECT_EQ(ParseSortOrder(text), order) << text;
    for (size_t i = 0; i < SortOrderNames().size(); ++i) EXPECT_EQ(ParseSortOrder(SortOrderNames()[i]), int(i));
}

TEST(Arguments, DidYouMean) {
    const std::vector<std::string> actions = ActionNames();
    const std::pair<const char*, const char*> cases[] = {
        {"make-uppercse", "make-uppercase"},
        {"mkae-lowercase", "make-lowercase"},
        {"REPLACE-ANYWHER", "replace-anywhere"},
        {"lowercase", "make-lowercase"},  // a word of one name only
        {"uppercase", ""},                // of two: no guess
        {"replace", ""},                  // a word of several: no guess
        {"make-sandwich", ""},
        {"", ""},
    };
    for (const auto& [typed, meant] : cases) EXPECT_EQ(Suggestion(typed, actions), meant) << typed;
    EXPECT_EQ(DidYouMean("nmae", {"name", "random"}), "; did you mean \"name\"?");
    EXPECT_EQ(DidYouMean("size", {"name", "random"}), "");

    // A mistyped option or value name.
    CCommandLine c;
    std::string message;
    ASSERT_EQ(ParseCommandLine({"--previw", "d"}, c, message), CParsed::kError);
    EXPECT_NE(message.find("did you mean \"--preview\"?"), std::string::npos) << message;
    CReplaceAnywhereDlg panel(nullptr);
    std::string error;
    EXPECT_FALSE(AssignValue(panel, "fnd=x", error));
    EXPECT_EQ(error, "\"Replace anywhere\" has no value \"fnd\"; did you mean \"find\"? (see quorlin --actions)");
    EXPECT_FALSE(AssignValue(panel, "type=replace-lastt-occurence", error));
    EXPECT_NE(error.find("did you mean \"replace-last-occurence\"?"), std::string::npos) << error;
}

// A list or a group of buttons takes its choices by name, the numbers still
// accepted; a step may be negative.
TEST(Arguments, NamedChoicesAndNegativeSteps) {
    struct Case {
        std::unique_ptr<CRenameDlg> panel;
        const char* assignment;
        const char* stored;  // what the panel holds after; null: refused
    };
    Case cases[] = {
        {std::make_unique<CAddAnywhereDlg>(nullptr), "addAnywhereSelection=text", "1027"},
        {std::make_unique<CAddAnywhereDlg>(nullptr), "addAnywhereSelection=position", "1024"},
        {std::make_unique<CAddAnywhereDlg>(nullptr), "addAnywhereSelection=1027", "1027"},
        {std::make_unique<CAddAnywhereDlg>(nullptr), "addAnywhereSelection=count", nullptr},
        {std::make_unique<CAddAnywhereDlg>(nullptr), "toOrderType=end", "1"},
        {std::make_unique<CAddAnywhereDlg>(nullptr), "toOrderType=start", "0"},
        {std::make_unique<CAddAnywhereDlg>(nullptr), "toOrderType=from the end", "1"},
        {std::make_unique<CAddAnywhereDlg>(nullptr), "toOrderType=1", "1"},
        {std::make_unique<CAddAnywhereDlg>(nullptr), "toOrderType=the", nullptr},  // in both: no guess
        {std::make_unique<CAddAnywhereDlg>(nullptr), "toOccurenceType=last", "6"},
        {std::make_unique<CAddAnywhereDlg>(nullptr), "toOccurenceType=2nd-to-last", "7"},
        {std::make_unique<CRemoveAnywhereDlg>(nullptr), "toRemoveAnywhereSelection=count", "1030"},
        {std::make_unique<CAddNumberAtEndDlg>(nullptr), "step=-2", "-2"},
        {std::make_unique<CAddNumberAtEndDlg>(nullptr), "step=5", "5"},
        {std::make_unique<CAddNumberAtEndDlg>(nullptr), "step=-", nullptr},
        {std::make_unique<CAddNumberAtEndDlg>(nullptr), "step=-2x", nullptr},
        {std::make_unique<CAddNumberAtEndDlg>(nullptr), "start=-2", nullptr},  // only a step may be negative
    };
    for (auto& c : cases) {
        std::string error;
        const std::string assignment = c.assignment;
        const std::string name = assignment.substr(0, assignment.find('='));
        const std::string before = c.panel->GetValue(name);
        EXPECT_EQ(AssignValue(*c.panel, assignment, error), c.stored != nullptr) << assignment << ": " << error;
        EXPECT_EQ(c.panel->GetValue(name), c.stored ? c.stored : before) << assignment;
    }
    // The counter counts down with it.
    CAddNumberAtEndDlg panel(nullptr);
    std::string error;
    ASSERT_TRUE(AssignValue(panel, "start=10", error));
    ASSERT_TRUE(AssignValue(panel, "step=-3", error));
    auto op = panel.CreateOperation(CRunOptions{});
    ASSERT_TRUE(op);
    std::vector<std::string> names;
    testing_support::CPass pass(*op);
    for (const char* n : {"a", "b", "c", "d", "e"}) names.push_back(pass(CFileDescriptor("/x", n, 0))->name());
    EXPECT_EQ(names, (std::vector<std::string>{"a10", "b7", "c4", "d1", "e-2"}));
}

// Over the whole catalogue: every choice of every value has a name of its
// own, and that name chooses it. The time formats once shared four names
// between them, and the first silently won.
TEST(Arguments, EveryChoiceNameIsUniqueAndChoosesItsChoice) {
    CSettingsStore none(CSettingsStore::kDialogSubKey, std::unique_ptr<platform::ISettingsBackend>());
    size_t checked = 0;
    for (const auto& panel : CreatePanels(&none)) {
        if (!panel) continue;
        for (const auto& b : panel->bindings()) {
            const std::vector<std::string> names = ChoiceNames(*panel, b);
            const std::set<std::string> distinct(names.begin(), names.end());
            EXPECT_EQ(distinct.size(), names.size()) << panel->actionName() << " " << b.name();
            for (size_t i = 0; i < names.size(); ++i) {
                std::string error;
                ASSERT_TRUE(AssignValue(*panel, b.name() + "=" + names[i], error)) << error;
                const std::string wanted =
                    b.kind == ValueKind::kRadioGroup ? std::to_string(b.radios[i].radioId) : std::to_string(i);
                EXPECT_EQ(panel->GetValue(b.name()), wanted) << panel->actionName() << " " << b.name() << "=" << names[i];
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 100u);
    // A name the formats shared is no longer taken for one of them.
    CToDateDlg date(nullptr);
    std::string error;
    EXPECT_FALSE(AssignValue(date, "timeFormat=hh-mm-am-pm", error));
}

// What --last prints: the options that repeat the run.
TEST(Arguments, DescribeRunGivesTheOptionsToRepeatIt) {
    CMemorySettings memory;
    CSettingsStore store(CSettingsStore::kDialogSubKey, CMemorySettings::Borrow(memory));
    CMainDlgModel model({}, store, 1, platform::RealFileSystem(), SkippingPrompts());
    ASSERT_TRUE(model.SetScope(1));
    ASSERT_TRUE(model.SelectAction("Insert anywhere"));
    std::string error;
    for (const char* a : {"add=it's", "toOrderType=end", "toPosition=4", "addAnywhereSelection=position"})
        ASSERT_TRUE(AssignValue(*model.activePanel(), a, error)) << error;
    model.options().sort = 3;
    model.options().folders = 0;
    model.options().confirm = 1;
    EXPECT_EQ(DescribeRun(model),
              "-a insert-anywhere -s 'add=it'\\''s' -s toPosition=4 -s toOrderType=from-the-end -c name "
              "--sort modified-desc --no-folders --confirm");
}

}  // namespace
