#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/Scoped.h"
#include "shellext/ClassId.h"
#include "tests/installer/SetupDriver.h"

// The setup program for one user (the default): what it writes, that the
// uninstaller takes all of it and nothing else away, upgrades, and an
// extension that a process keeps loaded, as Explorer does.

namespace {

using namespace setup_test;

const std::wstring kClassKey = L"Software\\Classes\\CLSID\\" + Widen(QLN_EXT_CLSID_TEXT);
const std::wstring kFilesHandlerKey = L"Software\\Classes\\*\\shellex\\ContextMenuHandlers\\Quorlin";
const std::wstring kFoldersHandlerKey = L"Software\\Classes\\Directory\\shellex\\ContextMenuHandlers\\Quorlin";

TEST(SetupProgram, IsA64BitProgramNamedWithTheVersion) {
    const std::wstring setup = SetupProgram();
    EXPECT_TRUE(setup.ends_with(L"\\Quorlin-" + Widen(QLN_VERSION) + L"-setup.exe")) << ::testing::PrintToString(setup);
    std::ifstream file(setup.c_str(), std::ios::binary);
    IMAGE_DOS_HEADER dos{};
    ASSERT_TRUE(file.read(reinterpret_cast<char*>(&dos), sizeof dos));
    ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
    IMAGE_NT_HEADERS64 nt{};
    file.seekg(dos.e_lfanew);
    ASSERT_TRUE(file.read(reinterpret_cast<char*>(&nt), sizeof nt));
    EXPECT_EQ(nt.Signature, IMAGE_NT_SIGNATURE);
    EXPECT_EQ(nt.FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
}

TEST(SetupProgram, ShipsTheExtensionAndOnlyFilesOfTheProduct) {
    const std::vector<std::wstring> known = {L"Qln.exe",     L"Qln.dll",     L"QlnExt.dll",  L"bitmap1.gif",
                                             L"bitmap2.gif", L"wizard1.jpg", L"wizard2.jpg", L"wizard3.jpg",
                                             L"wizard4.jpg", L"wizard5.jpg"};
    const std::vector<std::wstring> payload = Payload();
    EXPECT_NE(std::find(payload.begin(), payload.end(), L"QlnExt.dll"), payload.end());
    for (const std::wstring& name : payload) {
        EXPECT_NE(std::find(known.begin(), known.end(), name), known.end())
            << ::testing::PrintToString(name) << " is shipped under a name the product does not use";
    }
}

class PerUserSetup : public SetupTest {
protected:
    const Layout mode_ = PerUserLayout();
    const std::wstring dll_ = mode_.installDir + L"\\QlnExt.dll";
};

TEST_F(PerUserSetup, OnANewAccountWhatItCreatedAboveItsOwnFolderAndKeyGoesToo) {
    // A new account has no "Programs" folder and no Apps entries key; setup
    // creates both. Removed only while empty: another program's stay.
    const std::wstring programs = LocalAppData() + L"\\Programs";
    const wchar_t* appsKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    if ((!RemoveDirectoryW(programs.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) ||
        RegDeleteKeyW(HKEY_CURRENT_USER, appsKey) == ERROR_ACCESS_DENIED) {
        GTEST_SKIP() << "this account's Programs folder or Apps entries key is in use";
    }
    before_ = Snapshot();

    ASSERT_TRUE(Succeeded(Install(L"/S")));
    ASSERT_TRUE(Succeeded(Install(L"/S")));  // the upgrade takes the record over
    ExpectInstalled(mode_, mode_.installDir);
    ASSERT_TRUE(Succeeded(Uninstall(Hive::CurrentUser)));
    EXPECT_FALSE(Exists(programs));
    EXPECT_FALSE(RegQuery(Hive::CurrentUser, appsKey).has_value());
    ExpectNothingLeft();
}

TEST_F(PerUserSetup, RegistersInTheUsersHiveAndUninstallsWithoutATrace) {
    ASSERT_TRUE(Succeeded(Install(L"/S")));
    ExpectInstalled(mode_, mode_.installDir);

    ASSERT_TRUE(Succeeded(Uninstall(Hive::CurrentUser)));
    EXPECT_FALSE(Exists(mode_.installDir));
    ExpectNothingLeft();
}

TEST_F(PerUserSetup, InstallingAgainReplacesTheInstallInPlace) {
    ASSERT_TRUE(Succeeded(Install(L"/S")));
    ASSERT_TRUE(Succeeded(Install(L"/S")));
    ExpectInstalled(mode_, mode_.installDir);
    EXPECT_FALSE(Exists(SetAsideDir())) << "nothing was in use";

    ASSERT_TRUE(Succeeded(Uninstall(Hive::CurrentUser)));
    ExpectNothingLeft();
}

TEST_F(PerUserSetup, InstallingOverAnInstallWhoseUninstallerIsGoneTakesItOver) {
    ASSERT_TRUE(Succeeded(Install(L"/S")));
    ASSERT_TRUE(::DeleteFileW((mode_.installDir + L"\\Uninstall.exe").c_str()));
    ASSERT_TRUE(Succeeded(Install(L"/S")));
    ExpectInstalled(mode_, mode_.installDir);

    ASSERT_TRUE(Succeeded(Uninstall(Hive::CurrentUser)));
    ExpectNothingLeft();
}

TEST_F(PerUserSetup, AnExtensionInUseDoesNotStopAnUpgrade) {
    ASSERT_TRUE(Succeeded(Install(L"/S")));
    const ULONGLONG held = FileId(dll_);
    {
        win::ScopedLibrary loaded(::LoadLibraryW(dll_.c_str()));
        ASSERT_TRUE(loaded);
        ASSERT_TRUE(Succeeded(Install(L"/S")));
        ExpectInstalled(mode_, mode_.installDir);
        EXPECT_NE(FileId(dll_), held) << "the old extension is still in place";
        EXPECT_EQ(FolderEntries(SetAsideDir()).size(), 1u) << "the extension in use, set aside";
    }
    // Let go of: the uninstaller deletes it with the rest.
    ASSERT_TRUE(Succeeded(Uninstall(Hive::CurrentUser)));
    ExpectNothingLeft();
}

TEST_F(PerUserSetup, AnExtensionInUseDoesNotStopAnUninstallAndTheNextSetupDeletesIt) {
    ASSERT_TRUE(Succeeded(Install(L"/S")));
    {
        win::ScopedLibrary loaded(::LoadLibraryW(dll_.c_str()));
        ASSERT_TRUE(loaded);
        ASSERT_TRUE(Succeeded(Uninstall(Hive::CurrentUser)));
        EXPECT_FALSE(Exists(mode_.installDir));
        for (const std::wstring& key : {kClassKey, kFilesHandlerKey, kFoldersHandlerKey}) {
            EXPECT_FALSE(RegQuery(Hive::CurrentUser, key).has_value()) << ::testing::PrintToString(key);
        }
        EXPECT_EQ(AppsEntryValue(Hive::CurrentUser, L"DisplayName"), L"");
        EXPECT_EQ(FolderEntries(SetAsideDir()).size(), 1u) << "the extension in use, set aside";
    }
    ASSERT_TRUE(Succeeded(Install(L"/S")));
    EXPECT_FALSE(Exists(SetAsideDir())) << "setup did not delete the extension that was let go of";

    ASSERT_TRUE(Succeeded(Uninstall(Hive::CurrentUser)));
    ExpectNothingLeft();
}

TEST_F(PerUserSetup, UpgradeAndUninstallKeepWhatTheUserPutInTheFolder) {
    ASSERT_TRUE(Succeeded(Install(L"/S")));
    const std::wstring notes = mode_.installDir + L"\\notes.txt";
    std::ofstream(notes.c_str()) << "mine";
    // A file named like one we set aside, but the user's.
    const std::wstring old = mode_.installDir + L"\\backup.old";
    std::ofstream(old.c_str()) << "mine too";

    ASSERT_TRUE(Succeeded(Install(L"/S")));
    ASSERT_TRUE(Succeeded(Uninstall(Hive::CurrentUser)));
    EXPECT_EQ(FolderEntries(mode_.installDir), (std::vector<std::wstring>{L"backup.old", L"notes.txt"}));
    std::string text;
    std::ifstream(notes.c_str()) >> text;
    EXPECT_EQ(text, "mine");
    EXPECT_EQ(AppsEntryValue(Hive::CurrentUser, L"DisplayName"), L"");

    // The user's files keep the folder, and so the folder above it that
    // setup may have created; the user takes both away.
    RemoveTree(mode_.installDir);
    const std::wstring programs = LocalAppData() + L"\\Programs";
    if (std::find(before_.begin(), before_.end(), programs + L"\\") == before_.end()) {
        RemoveDirectoryW(programs.c_str());
    }
    ExpectNothingLeft();
}

TEST_F(PerUserSetup, UninstallKeepsKeysAboveItsOwnThatWereThereBefore) {
    // Empty, as Wine's prefix has it in HKLM; the keys above it are created
    // by setup and so removed with its own.
    const std::vector<std::wstring> chain = {L"Software\\Classes\\Directory", L"Software\\Classes\\Directory\\shellex",
                                             L"Software\\Classes\\Directory\\shellex\\ContextMenuHandlers"};
    ASSERT_FALSE(RegQuery(Hive::CurrentUser, chain[0]).has_value()) << "this prefix has the key already";
    win::ScopedKey created;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, chain.back().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                                nullptr, created.out(), nullptr),
              ERROR_SUCCESS);
    created.reset();
    before_ = Snapshot();

    ASSERT_TRUE(Succeeded(Install(L"/S")));
    ASSERT_TRUE(Succeeded(Uninstall(Hive::CurrentUser)));
    ExpectNothingLeft();

    for (auto key = chain.rbegin(); key != chain.rend(); ++key) {
        ::RegDeleteKeyExW(HKEY_CURRENT_USER, key->c_str(), KEY_WOW64_64KEY, 0);
    }
}

TEST_F(PerUserSetup, AFolderGivenMovesTheInstallAndLaterUpgradesStayThere) {
    ASSERT_TRUE(Succeeded(Install(L"/S")));
    // A space in the name: every command line setup writes must quote it.
    const std::wstring elsewhere = LocalAppData() + L"\\Programs\\Quorlin Elsewhere";
    ASSERT_TRUE(Succeeded(Install(L"/S /D=" + elsewhere)));
    EXPECT_FALSE(Exists(mode_.installDir)) << "the earlier install was left where it was";
    ExpectInstalled(mode_, elsewhere);

    ASSERT_TRUE(Succeeded(Install(L"/S")));
    EXPECT_FALSE(Exists(mode_.installDir));
    ExpectInstalled(mode_, elsewhere);

    ASSERT_TRUE(Succeeded(Uninstall(Hive::CurrentUser)));
    ExpectNothingLeft();
}

}  // namespace
