#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include "tests/support/WinFolders.h"

/// Helpers of the setup program's tests: running setup and its uninstaller
/// to their real end, reading the registry as `reg query` shows it, and
/// listing everything setup may touch so that a test can compare before and
/// after.
namespace setup_test {

/// A build-tree path ("Z:/...") as Windows spells it, with backslashes.
std::wstring WindowsPath(const char* path);
std::wstring Widen(const std::string& utf8);

/// The setup program built in this tree.
std::wstring SetupProgram();
/// The names of the files it ships, as the build listed them.
std::vector<std::wstring> Payload();
/// Whether the launcher (and so the Start-menu shortcut) is shipped.
bool ShipsLauncher();

/// How a run ended.
struct RunResult {
    /// Every process of the run, including any it started, ended in time.
    bool ended = false;
    /// The exit code of the process started.
    DWORD exitCode = STILL_ACTIVE;
    /// The exit codes of the processes it started in turn, as far as they
    /// were seen starting (the uninstaller hands over to a copy of itself).
    std::vector<DWORD> descendantExitCodes;
    /// What the process started wrote to its standard output and error.
    std::string output;
};

/// Runs `commandLine` and waits, at most `timeoutMs`, until it and every
/// process it started have ended; on time-out all of them are ended.
RunResult RunToEnd(const std::wstring& commandLine, DWORD timeoutMs = 120000);

/// The registry hive a mode writes to.
enum class Hive { CurrentUser, LocalMachine };
/// Which registry view `reg query` reads (/reg:64 or /reg:32).
enum class View { Native64, Wow32 };

/// One value as `reg query` prints it.
struct RegValue {
    std::wstring type;  // "REG_SZ", "REG_DWORD", ...
    std::wstring data;  // as printed: DWORDs in hexadecimal ("0x1")
    bool operator==(const RegValue&) const = default;
};
void PrintTo(const RegValue& value, std::ostream* out);

/// The values of `key` (below the hive, e.g. "Software\Classes"), by name,
/// the default value named "", read with `reg query` in `view`; nullopt when
/// the key does not exist there.
std::optional<std::map<std::wstring, RegValue>> RegQuery(Hive hive, const std::wstring& key, View view = View::Native64);

/// Where the files of one mode go.
struct Layout {
    std::wstring installDir;    // the default install folder
    std::wstring programsMenu;  // the Start menu's Programs folder
    Hive hive;
};
Layout PerUserLayout();
Layout AllUsersLayout();
/// Where setup moves files that a process holds.
std::wstring SetAsideDir();
/// The user's local application data folder.
std::wstring LocalAppData();

/// Every key and value in the registry places setup writes to, and every
/// file and folder in the file-system places (all of %LOCALAPPDATA%\Programs,
/// the all-users install folder, both Start menus, the set-aside folder), one
/// line each, sorted: two snapshots are equal when nothing was left behind or
/// taken away.
std::vector<std::wstring> Snapshot();
/// Lines in `after` but not in `before`.
std::vector<std::wstring> Added(const std::vector<std::wstring>& before, const std::vector<std::wstring>& after);

bool Exists(const std::wstring& path);
using win_test::FolderEntries;
using win_test::RemoveTree;
/// The volume and file index of `path`: tells a file from its replacement.
ULONGLONG FileId(const std::wstring& path);
/// The target of a shortcut file; empty when it cannot be read.
std::wstring ShortcutTarget(const std::wstring& lnk);

/// The Apps & features entry's value `name` in `hive` (64-bit view); empty
/// when absent.
std::wstring AppsEntryValue(Hive hive, const wchar_t* name);

/// Checks one install of `mode` in `dir` from the outside: every key and
/// value (with `reg query`, 64-bit view), none of them in the other hive,
/// exactly the shipped files and the uninstaller in `dir`, the Start-menu
/// shortcut, and the size the Apps entry states.
void ExpectInstalled(const Layout& mode, const std::wstring& dir);

/// Each test starts with the product installed nowhere and a snapshot of
/// the places setup touches, and leaves nothing installed.
class SetupTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Runs setup with `arguments` ("/S", "/S /ALLUSERS", ...).
    static RunResult Install(const std::wstring& arguments);
    /// Runs the uninstall command a silent removal uses: the Apps entry's
    /// QuietUninstallString.
    static RunResult Uninstall(Hive hive);
    /// Checks that the snapshot is back to what it was before the test.
    void ExpectNothingLeft() const;

    std::vector<std::wstring> before_;
};

/// A run that ended in time with every process succeeding.
::testing::AssertionResult Succeeded(const RunResult& run);

}  // namespace setup_test
