#pragma once

// What every settings backend must do behind CSettingsStore, as seen through
// the store. Included once by each test program that instantiates it for its
// backends (INSTANTIATE_TEST_SUITE_P(..., SettingsContract, ...)).

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <string>

#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"

namespace testing_support {

/// One place where settings persist (a memory map, a JSON file, a registry
/// key). Open returns a new store over it each time, as each run of the
/// dialog opens the same key anew.
class SettingsPlace {
public:
    virtual ~SettingsPlace() = default;
    virtual std::unique_ptr<CSettingsStore> Open() = 0;
};

struct SettingsBackendCase {
    const char* name;
    std::function<std::unique_ptr<SettingsPlace>()> make;
};

inline void PrintTo(const SettingsBackendCase& c, std::ostream* os) {
    *os << c.name;
}

inline std::string PrintBackend(const testing::TestParamInfo<SettingsBackendCase>& info) {
    return info.param.name;
}

class SettingsContract : public testing::TestWithParam<SettingsBackendCase> {
protected:
    void SetUp() override { place = GetParam().make(); }
    std::unique_ptr<SettingsPlace> place;
};

TEST_P(SettingsContract, FirstRunReadsEveryValueAsMissing) {
    auto store = place->Open();
    for (const auto& entry : StringTable()) {
        EXPECT_EQ(store->ReadNumber(entry.id), -1) << entry.text;
        EXPECT_EQ(store->ReadString(entry.id), "") << entry.text;
    }
}

TEST_P(SettingsContract, ValuesSurviveReopening) {
    struct Number {
        int id;
        int value;
    };
    const Number numbers[] = {
        {kStrFiles, 0},      {kStrFolders, 1},    {kStrSort, 9},        {kStrRemoveAnywhereSelection, 1019},
        {kStrType, INT_MIN}, {kStrDate, INT_MAX}, {kStrDateFormat, -7},
    };
    struct Text {
        int id;
        std::string value;
        std::string readBack;
    };
    const Text texts[] = {
        {kStrLastSelection, "Add to end", "Add to end"},
        {kStrFind, "", ""},
        {kStrReplace, " spaced  ", " spaced  "},
        {kStrPrefix, "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80",
         "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80"},
        {kStrPostfix, std::string(199, 'x'), std::string(199, 'x')},
        // The limit counts characters: 199 two-byte letters still fit.
        {kStrWords,
         [] {
             std::string s;
             for (int i = 0; i < 199; ++i) s += "\xC3\xA9";
             return s;
         }(),
         [] {
             std::string s;
             for (int i = 0; i < 199; ++i) s += "\xC3\xA9";
             return s;
         }()},
        {kStrFind2, std::string(200, 'x'), ""},
        {kStrFind3, std::string(1000, 'y'), ""},
        {kStrSeparator, std::string("a\0b", 3), "a"},
    };
    {
        auto store = place->Open();
        for (const auto& n : numbers) store->WriteNumber(n.id, n.value);
        for (const auto& t : texts) store->WriteString(t.id, t.value);
        // In this run too, before any flush.
        for (const auto& n : numbers) EXPECT_EQ(store->ReadNumber(n.id), n.value) << LoadStringText(n.id);
        for (const auto& t : texts) EXPECT_EQ(store->ReadString(t.id), t.readBack) << LoadStringText(t.id);
        store->Flush();
    }
    auto store = place->Open();
    for (const auto& n : numbers) EXPECT_EQ(store->ReadNumber(n.id), n.value) << LoadStringText(n.id);
    for (const auto& t : texts) EXPECT_EQ(store->ReadString(t.id), t.readBack) << LoadStringText(t.id);
    // A text is never a number, nor the other way round.
    EXPECT_EQ(store->ReadNumber(kStrLastSelection), -1);
    EXPECT_EQ(store->ReadString(kStrFiles), "");
}

TEST_P(SettingsContract, WritesThatWereNeverFlushedAreKept) {
    place->Open()->WriteString(kStrAdd, "kept");
    EXPECT_EQ(place->Open()->ReadString(kStrAdd), "kept");
}

TEST_P(SettingsContract, ANameHoldsTheTypeLastWritten) {
    {
        auto store = place->Open();
        store->WriteString(kStrAdd, "x");
        store->WriteNumber(kStrAdd, 1);
        store->Flush();
    }
    {
        auto store = place->Open();
        EXPECT_EQ(store->ReadNumber(kStrAdd), 1);
        EXPECT_EQ(store->ReadString(kStrAdd), "");
        store->WriteString(kStrAdd, "again");
    }
    auto store = place->Open();
    EXPECT_EQ(store->ReadString(kStrAdd), "again");
    EXPECT_EQ(store->ReadNumber(kStrAdd), -1);
}

TEST_P(SettingsContract, RewritingReplacesTheValue) {
    {
        auto store = place->Open();
        store->WriteString(kStrFind, "first");
        store->Flush();
        store->WriteString(kStrFind, "second");
        store->Flush();
    }
    EXPECT_EQ(place->Open()->ReadString(kStrFind), "second");
}

TEST_P(SettingsContract, NamesOutsideTheTableAreNeverStored) {
    auto store = place->Open();
    store->WriteNumber(0, 5);
    store->WriteString(9999, "x");
    EXPECT_EQ(store->ReadNumber(0), -1);
    EXPECT_EQ(store->ReadString(9999), "");
    // Nor do they land under some other name.
    for (const auto& entry : StringTable()) {
        EXPECT_EQ(store->ReadNumber(entry.id), -1) << entry.text;
        EXPECT_EQ(store->ReadString(entry.id), "") << entry.text;
    }
}

}  // namespace testing_support
