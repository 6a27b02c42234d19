#include <gtest/gtest.h>

#include "dialog/ActionCatalogue.h"
#include "dialog/ControlTexts.h"
#include "dialog/SettingsStore.h"
#include "dialog/panels/RenameDlg.h"

namespace {

// Every combo of every panel has its texts, one per entry the panel allows.
TEST(ControlTexts, EveryComboOfEveryPanelHasItsEntries) {
    CSettingsStore store(CSettingsStore::kDialogSubKey, std::unique_ptr<platform::ISettingsBackend>());
    int combos = 0;
    for (const auto& panel : CreatePanels(&store)) {
        if (!panel) continue;
        for (const auto& b : panel->bindings()) {
            if (b.kind != ValueKind::kComboIndex) continue;
            ++combos;
            const auto entries = PanelComboEntries(panel->templateId(), b.controlId);
            EXPECT_EQ(static_cast<int>(entries.size()), b.entries) << panel->actionName() << " " << b.name();
        }
    }
    EXPECT_GE(combos, 12);
    EXPECT_TRUE(PanelComboEntries(1012, 1000).empty()) << "an edit is no combo";
}

TEST(ControlTexts, TheMainDialogCombos) {
    ASSERT_EQ(ScopeTexts().size(), 4u);
    EXPECT_STREQ(ScopeTexts()[2], "Change file extension only (including separator)");
    ASSERT_EQ(SortOrderTexts().size(), 12u);
    EXPECT_STREQ(SortOrderTexts()[0], "By Name (from A to Z)");
    EXPECT_STREQ(SortOrderTexts()[9], "By Existing Number Sequence");
    EXPECT_STREQ(SortOrderTexts()[11], "By Date Taken (from newer to older)");
    // The date lists start with the empty "no date" and "no time" entries.
    EXPECT_EQ(PanelComboEntries(1031, 1023).size(), 21u);
    EXPECT_EQ(PanelComboEntries(1031, 1023)[0], "");
    EXPECT_EQ(PanelComboEntries(1033, 1022).back(), "HH-MM-SS (24 hour clock)");
}

}  // namespace
