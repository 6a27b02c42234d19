#include <gtest/gtest.h>

#include "cli/Arguments.h"
#include "dialog/ActionCatalogue.h"
#include "dialog/StringTable.h"
#include "dialog/panels/ReplacePanels.h"

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
    EXPECT_EQ(forms.size(), 32u);
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
        {"10", std::nullopt},
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
    EXPECT_EQ(c.action, "Truncate");
    EXPECT_EQ(c.values, (std::vector<std::string>{"truncate=3", "x=a=b"}));
    EXPECT_EQ(c.paths, (std::vector<std::string>{"dir1", "dir2", "-odd"}));
    EXPECT_EQ(c.folders, 0);
    EXPECT_EQ(c.confirm, 1);
    EXPECT_EQ(c.files, std::nullopt);
    EXPECT_EQ(c.sort, "random");
    EXPECT_EQ(c.onConflict, "number");
    EXPECT_FALSE(c.preview);
    EXPECT_EQ(c.saveList, std::nullopt);

    const std::vector<std::string> bad[] = {
        {"--on-conflict", "ask"}, {"--action"}, {"--subfolders", "--no-subfolders"}, {"--bogus"}};
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
    EXPECT_FALSE(AssignValue(panel, "type=Replace sometimes", error));
    EXPECT_EQ(error, "\"type\" takes an index from 0 to 10");
    EXPECT_FALSE(AssignValue(panel, "ignoreCase=yes", error));
    EXPECT_FALSE(AssignValue(panel, "=x", error));
    EXPECT_TRUE(AssignValue(panel, "find=a=b", error));
    EXPECT_EQ(panel.GetValue("find"), "a=b");
}

}  // namespace
