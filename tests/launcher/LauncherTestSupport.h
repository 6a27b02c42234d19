#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/WinWait.h"

/// Helpers of the launcher's tests: Qln.exe started as its own process and
/// watched from outside, as Explorer starts it, and fresh folders to start it
/// in.
namespace launcher_test {

/// A build-tree path ("Z:/...") as Windows spells it, with backslashes.
std::wstring WindowsPath(const char* path);
/// Qln.exe of this tree, beside the real Qln.dll and the wizard's pictures.
std::wstring BuiltLauncher();
/// The stand-in Qln.dll that records its calls.
std::wstring StandInLibrary();
/// The folder of the pictures the product ships.
std::wstring ResourcesFolder();
/// The folder of this test program, ending in a backslash.
std::wstring ProgramFolder();

/// A new folder under the temporary folder, named from `stem` (which may
/// hold blanks and any characters) and a count; removed with its content.
class CFolder {
public:
    explicit CFolder(const std::wstring& stem = L"qln-launcher-test");
    ~CFolder();
    CFolder(const CFolder&) = delete;
    CFolder& operator=(const CFolder&) = delete;
    /// The folder, ending in a backslash.
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + name; }
    /// Writes `bytes` into the file `name`.
    void Write(const std::wstring& name, const std::string& bytes) const;
    bool Exists(const std::wstring& name) const;
    /// The file's bytes; empty when it cannot be read.
    std::string Read(const std::wstring& name) const;

private:
    std::wstring path_;
};

/// `argument` quoted as CommandLineToArgvW takes it back: in quotes when it
/// holds a blank, a tab or a quote, backslashes before a quote doubled.
std::wstring Quote(const std::wstring& argument);

/// A program started as its own process, watched from outside. Whatever it
/// still shows when the object goes is closed, and it is ended.
class CProcess {
public:
    /// Starts `program` with `arguments` (the command line after the
    /// program's name, as given). A non-empty `temp` becomes its TMP, a
    /// non-empty `folder` its current folder.
    CProcess(const std::wstring& program, const std::wstring& arguments, const std::wstring& temp = {},
             const std::wstring& folder = {});
    ~CProcess();
    CProcess(const CProcess&) = delete;
    CProcess& operator=(const CProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    /// Waits until it ends, at most `timeoutMs`; false when it did not.
    bool Wait(DWORD timeoutMs = 20000);
    bool running() const;
    DWORD exitCode() const;
    /// A visible top-level window of the process whose caption begins with
    /// `caption`; waits up to `timeoutMs`. Null when none came.
    HWND WaitForWindow(const std::wstring& caption, DWORD timeoutMs = 10000) const;
    /// Its visible top-level windows.
    std::vector<HWND> Windows() const;

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

/// Visible top-level windows of process `id` (0: of any other process than
/// this one) whose class is `className` (empty: any).
std::vector<HWND> TopLevelWindows(DWORD id, const std::wstring& className = {});

/// The text of `window`, or of its control `id`; works across processes.
std::wstring Text(HWND window, int id = 0);
/// The text of a message box.
std::wstring BoxText(HWND box);
using win_test::WaitUntil;

/// One call of HandleRename as the stand-in recorded it.
struct CRecordedCall {
    bool parent = false;
    long long reserved = -1;
    int count = -1;
    std::vector<std::string> paths;
};

/// A copy of Qln.exe in a folder of its own, with the stand-in Qln.dll
/// beside it (or without a library), and a temporary folder of its own in
/// which list files are made.
class CInstall {
public:
    enum class Library { StandIn, None };
    explicit CInstall(Library library = Library::StandIn, const std::wstring& tempStem = L"qln-launcher-temp");
    const std::wstring& launcher() const { return launcher_; }
    const CFolder& folder() const { return folder_; }
    const CFolder& temp() const { return temp_; }
    /// Starts the copy with `arguments`, its TMP being temp().
    CProcess Start(const std::wstring& arguments, const std::wstring& currentFolder = {}) const;
    /// The calls the stand-in recorded, in order.
    std::vector<CRecordedCall> Calls() const;

private:
    CFolder folder_;
    CFolder temp_;
    std::wstring launcher_;
};

}  // namespace launcher_test
