#include "tests/launcher/LauncherTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/win32/Wide.h"
#include "tests/support/WinFolders.h"

namespace launcher_test {

namespace {

struct WindowSearch {
    DWORD process;
    std::wstring className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    const bool wanted = search->process ? process == search->process : process != ::GetCurrentProcessId();
    if (!wanted || !::IsWindowVisible(window)) return TRUE;
    if (!search->className.empty()) {
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (search->className != name) return TRUE;
    }
    search->found.push_back(window);
    return TRUE;
}

// Ends what a program still shows: dialogs and message boxes take IDCANCEL,
// a box with only OK its IDOK, a property sheet its Cancel button.
void CloseWindows(const std::vector<HWND>& windows) {
    for (const HWND window : windows) {
        ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        if (::GetDlgItem(window, IDOK) && !::GetDlgItem(window, IDCANCEL)) ::PostMessageW(window, WM_COMMAND, IDOK, 0);
    }
}

}  // namespace

std::wstring WindowsPath(const char* path) {
    std::wstring out = platform::Widen(path);
    for (auto& c : out)
        if (c == L'/') c = L'\\';
    return out;
}

std::wstring BuiltLauncher() {
    return WindowsPath(QLN_LAUNCHER);
}

std::wstring StandInLibrary() {
    return WindowsPath(QLN_STAND_IN_LIBRARY);
}

std::wstring ResourcesFolder() {
    return WindowsPath(QLN_RESOURCES) + L"\\";
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH * 4] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    const std::wstring program = path;
    return program.substr(0, program.find_last_of(L'\\') + 1);
}

CFolder::CFolder(const std::wstring& stem) : path_(win_test::MakeFreshTempFolder(stem)) {}

// A program that has just ended may still hold its files for a moment.
CFolder::~CFolder() {
    win_test::RemoveTreeSoon(path_);
}

void CFolder::Write(const std::wstring& name, const std::string& bytes) const {
    const HANDLE file =
        ::CreateFileW((path_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << platform::Narrow(path_ + name);
    DWORD written = 0;
    EXPECT_TRUE(::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ::CloseHandle(file);
}

bool CFolder::Exists(const std::wstring& name) const {
    return ::GetFileAttributesW((path_ + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string CFolder::Read(const std::wstring& name) const {
    return win_test::ReadWholeFile(path_ + name);
}

std::wstring Quote(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

CProcess::CProcess(const std::wstring& program, const std::wstring& arguments, const std::wstring& temp,
                   const std::wstring& folder) {
    // The child takes this process's environment, with TMP changed for it
    // only for as long as it takes to start it.
    wchar_t saved[MAX_PATH * 4] = {};
    const bool hadTemp = ::GetEnvironmentVariableW(L"TMP", saved, MAX_PATH * 4) > 0;
    if (!temp.empty()) ::SetEnvironmentVariableW(L"TMP", temp.c_str());
    std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        process_ = info.hProcess;
        id_ = info.dwProcessId;
        ::CloseHandle(info.hThread);
    } else {
        ADD_FAILURE() << "cannot start " << platform::Narrow(program) << ": error " << ::GetLastError();
    }
    if (!temp.empty()) ::SetEnvironmentVariableW(L"TMP", hadTemp ? saved : nullptr);
}

CProcess::~CProcess() {
    if (!process_) return;
    if (running()) {
        CloseWindows(Windows());
        if (::WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) ::TerminateProcess(process_, 99);
        ::WaitForSingleObject(process_, 5000);
    }
    ::CloseHandle(process_);
}

bool CProcess::Wait(DWORD timeoutMs) {
    return process_ && ::WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

bool CProcess::running() const {
    return process_ && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

DWORD CProcess::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) ::GetExitCodeProcess(process_, &code);
    return code;
}

HWND CProcess::WaitForWindow(const std::wstring& caption, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (const HWND window : Windows())
                if (Text(window).rfind(caption, 0) == 0) {
                    found = window;
                    return true;
                }
            return !running();
        },
        timeoutMs);
    return found;
}

std::vector<HWND> CProcess::Windows() const {
    return id_ ? TopLevelWindows(id_) : std::vector<HWND>{};
}

std::vector<HWND> TopLevelWindows(DWORD id, const std::wstring& className) {
    WindowSearch search{id, className, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring Text(HWND window, int id) {
    const HWND target = id ? ::GetDlgItem(window, id) : window;
    if (!target) return L"<no control " + std::to_wstring(id) + L">";
    // WM_GETTEXT is carried across processes; GetWindowText is not.
    const auto length = ::SendMessageW(target, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const auto got = ::SendMessageW(target, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(got));
    return text;
}

std::wstring BoxText(HWND box) {
    return Text(box, 0xFFFF);
}

CInstall::CInstall(Library library, const std::wstring& tempStem)
    : folder_(L"qln-launcher-install"), temp_(tempStem), launcher_(folder_ / L"Qln.exe") {
    EXPECT_TRUE(::CopyFileW(BuiltLauncher().c_str(), launcher_.c_str(), FALSE)) << ::GetLastError();
    if (library == Library::StandIn) {
        EXPECT_TRUE(::CopyFileW(StandInLibrary().c_str(), (folder_ / L"Qln.dll").c_str(), FALSE)) << ::GetLastError();
    }
}

CProcess CInstall::Start(const std::wstring& arguments, const std::wstring& currentFolder) const {
    return CProcess(launcher_, arguments, temp_.path(), currentFolder);
}

std::vector<CRecordedCall> CInstall::Calls() const {
    std::vector<CRecordedCall> calls;
    const std::string record = folder_.Read(L"handle-rename.txt");
    size_t at = 0;
    auto line = [&]() -> std::string {
        const size_t end = record.find('\n', at);
        std::string out = record.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? record.size() : end + 1;
        return out;
    };
    while (at < record.size()) {
        CRecordedCall call;
        int parent = -1;
        if (std::sscanf(line().c_str(), "call parent=%d reserved=%lld count=%d", &parent, &call.reserved,
                        &call.count) != 3)
            break;
        call.parent = parent != 0;
        for (int i = 0; i < call.count && at < record.size(); ++i) {
            // "<length>:<bytes>\n", the bytes possibly holding anything.
            const size_t colon = record.find(':', at);
            if (colon == std::string::npos) break;
            const size_t length = std::stoul(record.substr(at, colon - at));
            call.paths.push_back(record.substr(colon + 1, length));
            at = colon + 1 + length + 1;
        }
        calls.push_back(std::move(call));
    }
    return calls;
}

}  // namespace launcher_test
