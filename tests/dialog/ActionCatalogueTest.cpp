#include <gtest/gtest.h>

#include <set>

#include "dialog/ActionCatalogue.h"
#include "dialog/MemorySettings.h"
#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"

namespace {

TEST(ActionCatalogue, TheComboLinesInTheirOrder) {
    struct Line {
        const char* text;  // null for a blank line
        int tpl;
        const char* cls;
    };
    const Line lines[] = {
        {"Insert anywhere", 1119, "CAddAnywhereDlg"},
        {"Add to beginning", 1012, "CAddAtBeginningDlg"},
        {"Add to end", 1000, "CAddAtEndDlg"},
        {"Add date/time to beginning", 1032, "CAddDateAtBeginningDlg"},
        {"Add date/time to end", 1033, "CAddDateAtEndDlg"},
        {"Add folder to beginning", 1129, "CAddFolderAtBeginningDlg"},
        {nullptr, 0, nullptr},
        {"Remove anywhere", 1009, "CRemoveAnywhereDlg"},
        {"Remove at beginning", 1020, "CRemoveAtBeginningDlg"},
        {"Remove at end", 1019, "CRemoveAtEndDlg"},
        {"Remove file/folder extensions", 1022, "CRemoveExtensionsDlg"},
        {"Remove vowels", 1023, "CRemoveVowelsDlg"},
        {"Truncate", 1021, "CTruncateToDlg"},
        {nullptr, 0, nullptr},
        {"Replace anywhere", 1015, "CReplaceAnywhereDlg"},
        {"Replace at beginning", 1014, "CReplaceAtBeginningDlg"},
        {"Replace at end", 1013, "CReplaceAtEndDlg"},
        {"Replace file/folder extensions", 1028, "CReplaceExtensionsDlg"},
        {"Replace characters", 1027, "CReplaceCharactersDlg"},
        {nullptr, 0, nullptr},
        {"Make the first letter uppercase", 1137, "CCapitalDlg"},
        {"Make lowercase", 1001, "CLowercaseDlg"},
        {"Make Proper Case", 1029, "CPropercaseDlg"},
        {"Make a Title Case", 1124, "CTitlecaseDlg"},
        {"Make UPPERCASE", 1011, "CUppercaseDlg"},
        {nullptr, 0, nullptr},
        {"Produce alphabetical list", 1034, "CProduceAlphabeticalListDlg"},
        {"Produce numbered list", 1030, "CProduceNumberedListDlg"},
        {"Add alphabetical sequence to beginning", 1130, "CAddAlphaAtBeginningDlg"},
        {"Add alphabetical sequence to end", 1151, "CAddAlphaAtEndDlg"},
        {"Add number to beginning", 1017, "CAddNumberAtBeginningDlg"},
        {"Add number to end", 1016, "CAddNumberAtEndDlg"},
        {"Change numbers", 1026, "CReformatNumberDlg"},
        {"Renumber existing number sequence", 1035, "CRenumberDlg"},
        {nullptr, 0, nullptr},
        {"Rename to date", 1031, "CToDateDlg"},
        {"Manually rename", 1025, "CManuallyDlg"},
        {nullptr, 0, nullptr},
        {"Replace by pattern", 1160, "CReplaceByPatternDlg"},
        {nullptr, 0, nullptr},
        {"Rename from tags", 1162, "CRenameFromTagsDlg"},
    };
    const auto catalogue = ActionCatalogue();
    ASSERT_EQ(catalogue.size(), std::size(lines));
    CMemorySettings memory;
    CSettingsStore store("A Quorlin", CMemorySettings::Borrow(memory));
    const auto panels = CreatePanels(&store);
    ASSERT_EQ(panels.size(), std::size(lines));
    for (size_t i = 0; i < std::size(lines); ++i) {
        const auto& slot = catalogue[i];
        if (!lines[i].text) {
            EXPECT_TRUE(slot.blank()) << i;
            EXPECT_EQ(panels[i], nullptr) << i;
            continue;
        }
        EXPECT_EQ(LoadStringText(slot.textId), lines[i].text) << i;
        EXPECT_EQ(slot.panelTemplate, lines[i].tpl) << lines[i].text;
        EXPECT_STREQ(slot.panelClass, lines[i].cls);
        ASSERT_NE(panels[i], nullptr) << lines[i].text;
        EXPECT_EQ(panels[i]->actionName(), lines[i].text);
        EXPECT_EQ(panels[i]->templateId(), lines[i].tpl) << lines[i].text;
        EXPECT_EQ(panels[i]->settings(), &store);
    }
}

// The actions that each "Change:" scope leaves out of the list.
TEST(ActionCatalogue, TheListForEachScope) {
    const std::set<std::string> hidden[4] = {
        {"Make the first letter uppercase", "Rename from tags"},
        {},
        {"Add date/time to beginning", "Add folder to beginning", "Remove file/folder extensions",
         "Replace file/folder extensions", "Rename to date", "Add date/time to end", "Make the first letter uppercase",
         "Rename from tags"},
        {"Add date/time to beginning", "Add folder to beginning", "Remove file/folder extensions",
         "Replace file/folder extensions", "Rename to date", "Make the first letter uppercase", "Rename from tags"},
    };
    CSettingsStore store("A Quorlin", std::unique_ptr<platform::ISettingsBackend>());
    const auto panels = CreatePanels(&store);
    for (int scope = 0; scope < 4; ++scope) {
        for (const auto& panel : panels) {
            if (!panel) continue;
            EXPECT_EQ(panel->AppliesToScope(scope), !hidden[scope].count(panel->actionName()))
                << panel->actionName() << " for scope " << scope;
        }
    }
}

}  // namespace
