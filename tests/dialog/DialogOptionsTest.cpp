#include <gtest/gtest.h>

#include "dialog/DialogOptions.h"
#include "dialog/MemorySettings.h"
#include "dialog/SettingsStore.h"

namespace {

TEST(DialogOptions, FirstRunTakesTheDefaults) {
    CMemorySettings memory;
    CSettingsStore store("A Quorlin", CMemorySettings::Borrow(memory));
    const CDialogOptions o = ReadDialogOptions(store);
    EXPECT_EQ(o.renameKind, 0);
    EXPECT_EQ(o.lastSelection, "");
    // The first order of the list, and every box on but "Confirm operations".
    EXPECT_EQ(o.sort, 0);
    EXPECT_EQ(o.sortFolders, 1);
    EXPECT_EQ(o.preview, 1);
    EXPECT_EQ(o.files, 1);
    EXPECT_EQ(o.folders, 1);
    EXPECT_EQ(o.subfolders, 1);
    EXPECT_EQ(o.confirm, 0);
    EXPECT_TRUE(memory.writes.empty());
}

TEST(DialogOptions, SectionValuesCountOnlyWithARememberedAction) {
    CMemorySettings memory;
    memory.values = {{"renameKind", 2}, {"sort", 8},    {"sortFolders", 0}, {"preview", 0},
                     {"files", 0},      {"folders", 0}, {"subfolders", 0},  {"confirm", 1}};
    CSettingsStore store("A Quorlin", CMemorySettings::Borrow(memory));
    CDialogOptions o = ReadDialogOptions(store);
    EXPECT_EQ(o.renameKind, 2) << "the scope is read whatever the action";
    EXPECT_EQ(o.sort, 0);
    EXPECT_EQ(o.files, 1);
    EXPECT_EQ(o.confirm, 0);

    memory.values["lastSelection"] = std::string("Truncate");
    o = ReadDialogOptions(store);
    EXPECT_EQ(o.lastSelection, "Truncate");
    EXPECT_EQ(o.sort, 8);
    EXPECT_EQ(o.sortFolders, 0);
    EXPECT_EQ(o.preview, 0);
    EXPECT_EQ(o.files, 0);
    EXPECT_EQ(o.folders, 0);
    EXPECT_EQ(o.subfolders, 0);
    EXPECT_EQ(o.confirm, 1);
}

TEST(DialogOptions, ValuesTheControlsCannotShowTakeTheDefaults) {
    CMemorySettings memory;
    memory.values = {{"lastSelection", std::string("Truncate")},
                     {"renameKind", 4},
                     {"sort", 12},
                     {"files", -1},
                     {"folders", 2},
                     {"confirm", -1},
                     {"preview", std::string("0")}};
    CSettingsStore store("A Quorlin", CMemorySettings::Borrow(memory));
    const CDialogOptions o = ReadDialogOptions(store);
    EXPECT_EQ(o.renameKind, 0);
    EXPECT_EQ(o.sort, 0);
    EXPECT_EQ(o.files, 1);
    EXPECT_EQ(o.folders, 1);
    EXPECT_EQ(o.confirm, 0);
    EXPECT_EQ(o.preview, 1);
}

TEST(DialogOptions, OkStoresTheScopeAndSaveFileListDoesNot) {
    for (bool withScope : {true, false}) {
        CMemorySettings memory;
        CSettingsStore store("A Quorlin", CMemorySettings::Borrow(memory));
        CDialogOptions o;
        o.renameKind = 3;
        o.sort = 9;
        o.confirm = 1;
        o.files = 0;
        SaveDialogOptions(store, o, withScope);
        EXPECT_EQ(memory.flushes, 1);
        EXPECT_EQ(memory.values.count("renameKind"), withScope ? 1u : 0u);
        EXPECT_EQ(memory.values.size(), withScope ? 8u : 7u);
        EXPECT_EQ(memory.values.count("lastSelection"), 0u) << "that is the panels' to write";
        memory.values["lastSelection"] = std::string("Add to end");
        const CDialogOptions back = ReadDialogOptions(store);
        EXPECT_EQ(back.renameKind, withScope ? 3 : 0);
        EXPECT_EQ(back.sort, 9);
        EXPECT_EQ(back.confirm, 1);
        EXPECT_EQ(back.files, 0);
        EXPECT_EQ(back.folders, 1);
    }
}

}  // namespace
