// The JSON file that holds the settings on POSIX.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"
#include "platform/posix/JsonSettings.h"
#include "tests/support/SettingsContract.h"
#include "tests/support/TempDir.h"

namespace {

using nlohmann::json;
using testing_support::SettingsContract;
using testing_support::TempDir;
namespace stdfs = std::filesystem;

class JsonPlace final : public testing_support::SettingsPlace {
public:
    std::unique_ptr<CSettingsStore> Open() override {
        return std::make_unique<CSettingsStore>(CSettingsStore::kDialogSubKey, dir / "quorlin/settings.json");
    }
    TempDir dir;
};

INSTANTIATE_TEST_SUITE_P(Json, SettingsContract,
                         testing::Values(testing_support::SettingsBackendCase{
                             "Json", [] { return std::make_unique<JsonPlace>(); }}),
                         testing_support::PrintBackend);

// Sets or clears an environment variable for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        had_ = std::getenv(name) != nullptr;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

std::vector<std::string> Entries(const TempDir& dir, const std::string& folder = "") {
    std::vector<std::string> out;
    for (const auto& e : stdfs::directory_iterator(dir / folder)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

TEST(JsonSettings, TheFileMirrorsTheKey) {
    TempDir dir;
    const std::string path = dir / "settings.json";
    dir.File("settings.json", R"({"Other key": {"x": 1}, "A Quorlin": {"kept": true, "files": 0}})");
    {
        CSettingsStore store("A Quorlin", path);
        store.WriteNumber(kStrFiles, 1);
        store.WriteNumber(kStrRemoveAnywhereSelection, 1019);
        store.WriteString(kStrLastSelection, "Remove anywhere");
        store.WriteString(kStrSeparator, "_");
        store.Flush();
    }
    const json saved = json::parse(dir.Read("settings.json"));
    EXPECT_EQ(saved, json::parse(R"({
        "Other key": {"x": 1},
        "A Quorlin": {"kept": true, "files": 1, "removeAnywhereSelection": 1019,
                      "lastSelection": "Remove anywhere", "seperator": "_"}})"));
    EXPECT_TRUE(saved["A Quorlin"]["files"].is_number_integer());
}

TEST(JsonSettings, OnlyIntegersInRangeAreNumbers) {
    TempDir dir;
    dir.File("settings.json", R"({"A Quorlin": {"files": 1.5, "folders": 3000000000, "subfolders": -2147483648,
        "confirm": "1", "sort": true, "add": 7, "find": null}})");
    CSettingsStore store("A Quorlin", dir / "settings.json");
    EXPECT_EQ(store.ReadNumber(kStrFiles), -1);
    EXPECT_EQ(store.ReadNumber(kStrFolders), -1);
    EXPECT_EQ(store.ReadNumber(kStrSubfolders), INT_MIN);
    EXPECT_EQ(store.ReadNumber(kStrConfirm), -1);
    EXPECT_EQ(store.ReadString(kStrConfirm), "1");
    EXPECT_EQ(store.ReadNumber(kStrSort), -1);
    EXPECT_EQ(store.ReadString(kStrAdd), "");
    EXPECT_EQ(store.ReadString(kStrFind), "");
}

TEST(JsonSettings, AFileThatCannotBeParsedIsKeptAsideAndTheStoreStartsEmpty) {
    const std::string damaged[] = {
        "{\"A Quorlin\": {\"files\": 1",             // cut short
        "[1, 2, 3]",                                 // not an object
        "\"text\"",                                  //
        "{\"A Quorlin\": {\"add\": \"\xff\xfe\"}}",  // not UTF-8
        std::string("\0\1\2", 3),
    };
    for (const std::string& contents : damaged) {
        TempDir dir;
        dir.File("settings.json", contents);
        {
            platform::CJsonSettings backend(dir / "settings.json", "A Quorlin");
            EXPECT_EQ(backend.ReadNumber("files"), std::nullopt) << contents;
            ASSERT_FALSE(backend.keptAside().empty()) << contents;
            EXPECT_EQ(testing_support::FromPath(testing_support::U8(backend.keptAside()).parent_path()), dir.str());
            backend.WriteNumber("files", 0);
            backend.Flush();
            EXPECT_EQ(backend.LastErrno(), 0);
        }
        // The damaged file is there for the user to repair, byte for byte.
        const auto entries = Entries(dir);
        ASSERT_EQ(entries.size(), 2u) << contents;
        EXPECT_EQ(entries[1].rfind("settings.json.corrupt-", 0), 0u) << entries[1];
        EXPECT_EQ(dir.Read(entries[1]), contents);
        EXPECT_EQ(json::parse(dir.Read("settings.json")), json::parse(R"({"A Quorlin": {"files": 0}})"));
    }
}

TEST(JsonSettings, AFileDamagedTwiceKeepsBothCopies) {
    TempDir dir;
    dir.File("settings.json", "first damage");
    { platform::CJsonSettings backend(dir / "settings.json", "A Quorlin"); }
    dir.File("settings.json", "second damage");
    { platform::CJsonSettings backend(dir / "settings.json", "A Quorlin"); }
    std::set<std::string> kept;
    for (const auto& name : Entries(dir)) kept.insert(dir.Read(name));
    EXPECT_EQ(kept, (std::set<std::string>{"first damage", "second damage"}));
}

TEST(JsonSettings, AnEmptyFileIsEmptySettings) {
    TempDir dir;
    dir.File("settings.json", "  \n");
    platform::CJsonSettings backend(dir / "settings.json", "A Quorlin");
    EXPECT_TRUE(backend.keptAside().empty());
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"settings.json"});
}

// Stops the process where a crash would hurt most: the new settings complete
// in the temporary file, the old file not yet replaced.
class CrashBeforeRename final : public platform::CJsonSettings {
public:
    using CJsonSettings::CJsonSettings;

protected:
    void temporaryWritten(const std::string&) override { ::_exit(3); }
};

TEST(JsonSettings, ACrashBetweenWriteAndRenameLeavesTheOldSettings) {
    TempDir dir;
    const std::string path = dir / "settings.json";
    {
        CSettingsStore store("A Quorlin", path);
        store.WriteString(kStrLastSelection, "Add to end");
        store.WriteString(kStrAdd, "old");
    }
    const std::string before = dir.Read("settings.json");

    EXPECT_EXIT(
        {
            CrashBeforeRename backend(path, "A Quorlin");
            backend.WriteText("add", "new");
            backend.WriteText("lastSelection", "Truncate");
            backend.Flush();
        },
        testing::ExitedWithCode(3), "");

    // What the crash left: the old file whole, and the finished temporary.
    EXPECT_EQ(dir.Read("settings.json"), before);
    const auto entries = Entries(dir);
    ASSERT_EQ(entries.size(), 2u);
    const std::string leftover = entries[0] == "settings.json" ? entries[1] : entries[0];
    EXPECT_NE(dir.Read(leftover).find("\"new\""), std::string::npos);

    {
        // The leftover is not the settings...
        CSettingsStore store("A Quorlin", path);
        EXPECT_EQ(store.ReadString(kStrAdd), "old");
        EXPECT_EQ(store.ReadString(kStrLastSelection), "Add to end");
        // ...and does not stand in the way of the next save.
        store.WriteString(kStrAdd, "next");
        store.Flush();
    }
    EXPECT_EQ(CSettingsStore("A Quorlin", path).ReadString(kStrAdd), "next");
    EXPECT_EQ(json::parse(dir.Read("settings.json"))["A Quorlin"]["add"], "next");
}

TEST(JsonSettings, LeftoverTemporaryFilesOfAnyNameAreIgnored) {
    TempDir dir;
    const std::string path = dir / "settings.json";
    // Half-written leftovers under the names a save would choose.
    dir.File("settings.json.tmp-AAAAAA", "{\"A Quorlin\": {\"add\": \"half");
    dir.File("settings.json.tmp-XXXXXX", "{\"A Quorlin\": {\"add\": \"whole\"}}");
    {
        CSettingsStore store("A Quorlin", path);
        EXPECT_EQ(store.ReadString(kStrAdd), "");
        store.WriteString(kStrAdd, "saved");
        store.Flush();
    }
    EXPECT_EQ(CSettingsStore("A Quorlin", path).ReadString(kStrAdd), "saved");
    EXPECT_EQ(dir.Read("settings.json.tmp-AAAAAA"), "{\"A Quorlin\": {\"add\": \"half");
}

TEST(JsonSettings, ASaveMergesIntoWhatIsOnDiskNow) {
    TempDir dir;
    const std::string path = dir / "settings.json";
    CSettingsStore first("A Quorlin", path);
    CSettingsStore second("A Quorlin", path);
    CSettingsStore other("Other", path);
    first.WriteString(kStrFind, "one");
    first.Flush();
    second.WriteString(kStrReplace, "two");
    second.Flush();
    other.WriteNumber(kStrFiles, 0);
    other.Flush();
    CSettingsStore reader("A Quorlin", path);
    EXPECT_EQ(reader.ReadString(kStrFind), "one");
    EXPECT_EQ(reader.ReadString(kStrReplace), "two");
    EXPECT_EQ(reader.ReadNumber(kStrFiles), -1);
    EXPECT_EQ(CSettingsStore("Other", path).ReadNumber(kStrFiles), 0);
}

TEST(JsonSettings, AFileThatCannotBeReadIsNeverReplaced) {
    TempDir dir;
    dir.Folder("settings.json/inside");
    platform::CJsonSettings backend(dir / "settings.json", "A Quorlin");
    backend.WriteNumber("files", 1);
    backend.Flush();
    EXPECT_NE(backend.LastErrno(), 0);
    EXPECT_TRUE(stdfs::is_directory(dir / "settings.json/inside"));
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"settings.json"}) << "no temporary file is left behind";
}

TEST(JsonSettings, FoldersAreMadeOnTheFirstSaveOnly) {
    TempDir dir;
    const std::string path = dir / "a/b/quorlin/settings.json";
    {
        CSettingsStore store("A Quorlin", path);
        EXPECT_FALSE(dir.Exists("a"));
        store.WriteNumber(kStrFiles, 1);
    }
    EXPECT_EQ(CSettingsStore("A Quorlin", path).ReadNumber(kStrFiles), 1);
    struct stat st;
    ASSERT_EQ(::stat((dir / "a/b/quorlin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(JsonSettings, ASymbolicLinkStaysALink) {
    TempDir dir;
    dir.File("dotfiles/quorlin.json", "{}");
    dir.Folder("config");
    stdfs::create_symlink(dir / "dotfiles/quorlin.json", dir / "config/settings.json");
    {
        CSettingsStore store("A Quorlin", dir / "config/settings.json");
        store.WriteString(kStrAdd, "linked");
    }
    EXPECT_TRUE(stdfs::is_symlink(dir / "config/settings.json"));
    EXPECT_EQ(json::parse(dir.Read("dotfiles/quorlin.json"))["A Quorlin"]["add"], "linked");
}

TEST(JsonSettings, TextsThatAreNotUtf8AreSavedWithoutFailing) {
    TempDir dir;
    {
        CSettingsStore store("A Quorlin", dir / "settings.json");
        store.WriteString(kStrFind, "caf\xE9");
        store.WriteString(kStrReplace, "ok");
    }
    CSettingsStore store("A Quorlin", dir / "settings.json");
    EXPECT_EQ(store.ReadString(kStrReplace), "ok");
    EXPECT_EQ(store.ReadString(kStrFind), "caf\xEF\xBF\xBD");
}

TEST(JsonSettings, TheLocationFollowsArgumentVariableAndXdg) {
    ScopedEnv home("HOME", "/home/someone");
    {
        ScopedEnv q(platform::kSettingsLocationVariable, nullptr);
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(platform::SettingsLocation("A Quorlin"), "/home/someone/.config/quorlin/settings.json");
    }
    {
        ScopedEnv q(platform::kSettingsLocationVariable, nullptr);
        ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg");
        EXPECT_EQ(platform::SettingsLocation("A Quorlin"), "/xdg/quorlin/settings.json");
    }
    {
        ScopedEnv q(platform::kSettingsLocationVariable, nullptr);
        ScopedEnv xdg("XDG_CONFIG_HOME", "relative/is/ignored");
        EXPECT_EQ(platform::SettingsLocation("A Quorlin"), "/home/someone/.config/quorlin/settings.json");
    }
    {
        ScopedEnv q(platform::kSettingsLocationVariable, "/tmp/elsewhere.json");
        ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg");
        EXPECT_EQ(platform::SettingsLocation("A Quorlin"), "/tmp/elsewhere.json");
        EXPECT_EQ(platform::SettingsLocation("A Quorlin", "/given.json"), "/given.json");
    }
}

TEST(JsonSettings, TheDefaultStoreWritesUnderXdgConfigHome) {
    TempDir dir;
    ScopedEnv q(platform::kSettingsLocationVariable, nullptr);
    ScopedEnv xdg("XDG_CONFIG_HOME", dir.str().c_str());
    {
        CSettingsStore store(CSettingsStore::kDialogSubKey);
        store.WriteNumber(kStrRenameKind, 2);
        store.Flush();
    }
    EXPECT_EQ(json::parse(dir.Read("quorlin/settings.json"))["A Quorlin"]["renameKind"], 2);
}

}  // namespace

#endif  // _WIN32
