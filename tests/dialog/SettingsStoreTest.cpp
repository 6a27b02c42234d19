#include <gtest/gtest.h>

#include <set>

#include "dialog/MemorySettings.h"
#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"
#include "tests/support/SettingsContract.h"

namespace {

using testing_support::SettingsContract;
using testing_support::SettingsPlace;

class MemoryPlace final : public SettingsPlace {
public:
    std::unique_ptr<CSettingsStore> Open() override {
        return std::make_unique<CSettingsStore>(CSettingsStore::kDialogSubKey, CMemorySettings::Borrow(memory));
    }
    CMemorySettings memory;
};

INSTANTIATE_TEST_SUITE_P(Memory, SettingsContract,
                         testing::Values(testing_support::SettingsBackendCase{
                             "Memory", [] { return std::make_unique<MemoryPlace>(); }}),
                         testing_support::PrintBackend);

TEST(SettingsStore, FlushesOnlyWhatWasWritten) {
    CMemorySettings memory;
    CSettingsStore store("A Quorlin", CMemorySettings::Borrow(memory));
    store.Flush();
    EXPECT_EQ(memory.flushes, 0) << "nothing written, nothing to flush";
    store.WriteNumber(kStrFiles, 1);
    EXPECT_TRUE(store.isDirty());
    store.Flush();
    store.Flush();
    EXPECT_EQ(memory.flushes, 1) << "two flushes in a row flush once";
    EXPECT_FALSE(store.isDirty());
    store.WriteString(kStrFind, "x");
    store.Flush();
    EXPECT_EQ(memory.flushes, 2);
}

TEST(SettingsStore, AFailedWriteStillFlushesAndKeepsTheOldValue) {
    CMemorySettings memory;
    memory.values["find"] = std::string("old");
    memory.failWrites = true;
    CSettingsStore store("A Quorlin", CMemorySettings::Borrow(memory));
    store.WriteString(kStrFind, "new");
    EXPECT_EQ(store.ReadString(kStrFind), "old");
    store.Flush();
    EXPECT_EQ(memory.flushes, 1);
}

TEST(SettingsStore, WithoutABackendEverythingReadsAsMissing) {
    CSettingsStore store("A Quorlin", std::unique_ptr<platform::ISettingsBackend>());
    store.WriteNumber(kStrFiles, 0);
    store.WriteString(kStrLastSelection, "Truncate");
    EXPECT_EQ(store.ReadNumber(kStrFiles), -1);
    EXPECT_EQ(store.ReadString(kStrLastSelection), "");
    store.Flush();
    EXPECT_FALSE(store.isDirty());
}

TEST(SettingsStore, TheBackendOnlySeesTheNamesOfTheTable) {
    CMemorySettings memory;
    CSettingsStore store("A Quorlin", CMemorySettings::Borrow(memory));
    store.WriteNumber(kStrReplace3, 1);
    store.WriteString(kStrSeparator, "_");
    store.WriteNumber(kStrMakeUppercase, 1);
    store.WriteNumber(12345, 1);
    EXPECT_EQ(memory.writes, (std::vector<std::string>{"replace4", "seperator", "Make UPPERCASE"}));
}

TEST(StringTable, IdsAndTextsAreThoseEarlierVersionsStored) {
    // The texts are the registry names existing users already have.
    const std::pair<int, const char*> cases[] = {
        {5, "Make UPPERCASE"},
        {27, "lastSelection"},
        {28, "add"},
        {29, "files"},
        {32, "confirm"},
        {36, "new"},
        {38, "postfix"},
        {42, "occurenceType"},
        {43, "occurence"},
        {50, "toOrderOccurenceType"},
        {56, "truncate"},
        {62, "replace4"},
        {64, "removeAnywhereSelection"},
        {65, "toRemoveAnywhereSelection"},
        {71, "trailing"},
        {73, "leading"},
        {76, "renameKind"},
        {78, "addAnywhereSelection"},
        {80, "words"},
        {84, "seperator"},
        {86, "preview"},
        {87, "sortFolders"},
        {89, "pattern"},
        {92, "steps"},
        {4, "Make lowercase"},
        {7, "Remove anywhere"},
        {22, "Manually rename"},
        {25, "Change numbers"},
        {66, "Rename to date"},
        {77, "Insert anywhere"},
        {83, "Make the first letter uppercase"},
        {85, "Add alphabetical sequence to end"},
    };
    for (const auto& [id, text] : cases) EXPECT_EQ(LoadStringText(id), text) << id;
    EXPECT_EQ(LoadStringText(0), "");
    EXPECT_EQ(LoadStringText(66 + 1000), "");
    EXPECT_EQ(LoadStringText(1), "");

    // One text per id, and no two names alike: two ids with one text would
    // share a stored value.
    std::set<std::string> texts;
    for (const auto& e : StringTable()) EXPECT_TRUE(texts.insert(e.text).second) << e.text;
    EXPECT_EQ(StringTable().size(), 91u);
}

}  // namespace
