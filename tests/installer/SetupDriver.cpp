#include "tests/installer/SetupDriver.h"

#include <shlobj.h>

#include <algorithm>
#include <set>
#include <thread>

#include "platform/win32/Scoped.h"
#include "shellext/ClassId.h"

namespace setup_test {

namespace {

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(separator, start), text.size());
        if (end > start) parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::wstring KnownFolder(const KNOWNFOLDERID& id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
    ::CoTaskMemFree(path);
    return result;
}

HKEY Root(Hive hive) { return hive == Hive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }
const wchar_t* RootName(Hive hive) { return hive == Hive::CurrentUser ? L"HKCU" : L"HKLM"; }

std::wstring ValueText(DWORD type, const std::vector<BYTE>& data) {
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            return std::wstring(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
        case REG_DWORD:
            return data.size() == 4 ? std::to_wstring(*reinterpret_cast<const DWORD*>(data.data())) : L"?";
        default:
            return L"(" + std::to_wstring(data.size()) + L" bytes of type " + std::to_wstring(type) + L")";
    }
}

void ListKey(HKEY root, const std::wstring& prefix, const std::wstring& key, REGSAM view,
             std::vector<std::wstring>& lines) {
    win::ScopedKey handle;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | view, handle.out()) != ERROR_SUCCESS) return;
    const std::wstring name = prefix + L"\\" + key;
    lines.push_back(name);
    for (DWORD i = 0;; ++i) {
        wchar_t valueName[16384];
        DWORD nameLength = 16384, type = 0, size = 0;
        if (::RegEnumValueW(handle.get(), i, valueName, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        std::vector<BYTE> data(size);
        nameLength = 16384;
        ::RegEnumValueW(handle.get(), i, valueName, &nameLength, nullptr, &type, data.data(), &size);
        data.resize(size);
        lines.push_back(name + L" [" + valueName + L"] = " + ValueText(type, data));
    }
    std::vector<std::wstring> subkeys;
    for (DWORD i = 0;; ++i) {
        wchar_t subkey[256];
        DWORD length = 256;
        if (::RegEnumKeyExW(handle.get(), i, subkey, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        subkeys.push_back(subkey);
    }
    for (const std::wstring& subkey : subkeys) ListKey(root, prefix, key + L"\\" + subkey, view, lines);
}

void ListFolder(const std::wstring& folder, std::vector<std::wstring>& lines) {
    for (const std::wstring& name : FolderEntries(folder)) {
        const std::wstring path = folder + L"\\" + name;
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            lines.push_back(path + L"\\");
            ListFolder(path, lines);
        } else {
            lines.push_back(path + L" (" + std::to_wstring(data.nFileSizeLow) + L" bytes)");
        }
    }
}

// Wine starts its desktop process from the first process that needs a
// window; if that were setup, the desktop would join setup's job and the job
// would never end. Make sure it runs before any job starts.
void StartDesktop() {
    static const bool started = [] {
        ::GetDesktopWindow();
        const HWND probe = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (probe) ::DestroyWindow(probe);
        return true;
    }();
    (void)started;
}

}  // namespace

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::wstring WindowsPath(const char* path) {
    std::wstring out = Widen(path);
    std::replace(out.begin(), out.end(), L'/', L'\\');
    return out;
}

std::wstring SetupProgram() { return WindowsPath(QLN_SETUP); }

std::vector<std::wstring> Payload() { return Split(Widen(QLN_SETUP_PAYLOAD), L'|'); }

bool ShipsLauncher() {
    const std::vector<std::wstring> names = Payload();
    return std::find(names.begin(), names.end(), L"Qln.exe") != names.end();
}

RunResult RunToEnd(const std::wstring& commandLine, DWORD timeoutMs) {
    StartDesktop();
    RunResult result;
    win::ScopedHandle job(::CreateJobObjectW(nullptr, nullptr));
    win::ScopedHandle port(::CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
    if (!job || !port) {
        ADD_FAILURE() << "cannot create a job object: " << ::GetLastError();
        return result;
    }
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT link{job.get(), port.get()};
    ::SetInformationJobObject(job.get(), JobObjectAssociateCompletionPortInformation, &link, sizeof link);
    // Whatever is left when the test gives up (or dies) goes with the job.
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    win::ScopedHandle readEnd, writeEnd;
    ::CreatePipe(readEnd.out(), writeEnd.out(), &inheritable, 0);
    ::SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    PROCESS_INFORMATION process{};
    // Wine on a busy machine now and then fails to start a process with an
    // internal error; a second attempt starts it.
    bool startedOk = false;
    DWORD error = 0;
    for (int attempt = 0; attempt < 5 && !startedOk; ++attempt) {
        if (attempt > 0) ::Sleep(500);
        std::wstring mutableLine = commandLine;
        startedOk = ::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                                     nullptr, &startup, &process);
        if (!startedOk) error = ::GetLastError();
    }
    if (!startedOk) {
        ADD_FAILURE() << "cannot start " << ::testing::PrintToString(commandLine) << ": " << error;
        return result;
    }
    win::ScopedHandle started(process.hProcess);
    win::ScopedHandle thread(process.hThread);
    ::AssignProcessToJobObject(job.get(), started.get());
    ::ResumeThread(thread.get());
    writeEnd.reset();

    std::thread reader([&] {
        char buffer[4096];
        DWORD got = 0;
        while (::ReadFile(readEnd.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) result.output.append(buffer, got);
    });

    std::vector<win::ScopedHandle> descendants;
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        DWORD message = 0;
        ULONG_PTR key = 0;
        LPOVERLAPPED detail = nullptr;
        if (::GetQueuedCompletionStatus(port.get(), &message, &key, &detail, 50) &&
            message == JOB_OBJECT_MSG_NEW_PROCESS) {
            const auto id = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(detail));
            if (id != process.dwProcessId) {
                win::ScopedHandle child(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
                if (child) descendants.push_back(std::move(child));
            }
        }
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
        if (::QueryInformationJobObject(job.get(), JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                        nullptr) &&
            accounting.ActiveProcesses == 0) {
            result.ended = true;
            break;
        }
        if (::GetTickCount64() > deadline) {
            ::TerminateJobObject(job.get(), ERROR_TIMEOUT);
            break;
        }
    }
    ::WaitForSingleObject(started.get(), 10000);
    ::GetExitCodeProcess(started.get(), &result.exitCode);
    for (const win::ScopedHandle& child : descendants) {
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(child.get(), &code);
        result.descendantExitCodes.push_back(code);
    }
    job.reset();
    reader.join();
    return result;
}

void PrintTo(const RegValue& value, std::ostream* out) {
    *out << ::testing::PrintToString(value.type) << " " << ::testing::PrintToString(value.data);
}

std::optional<std::map<std::wstring, RegValue>> RegQuery(Hive hive, const std::wstring& key, View view) {
    const std::wstring command = L"reg.exe query \"" + std::wstring(RootName(hive)) + L"\\" + key + L"\" " +
                                 (view == View::Native64 ? L"/reg:64" : L"/reg:32");
    const RunResult run = RunToEnd(command, 30000);
    if (run.ended && run.exitCode == 1 && run.output.find("Unable to find") != std::string::npos) return std::nullopt;
    if (!run.ended || run.exitCode != 0) {
        ADD_FAILURE() << ::testing::PrintToString(command) << " failed (" << run.exitCode << "): " << run.output;
        return std::nullopt;
    }
    // Lines of the key itself are "    NAME    TYPE    DATA"; subkeys are
    // listed after it as full key paths.
    std::map<std::wstring, RegValue> values;
    for (std::wstring line : Split(Widen(run.output), L'\n')) {
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (line.rfind(L"    ", 0) != 0) continue;
        line = line.substr(4);
        const size_t typeAt = line.find(L"    REG_");
        if (typeAt == std::wstring::npos) continue;
        std::wstring name = line.substr(0, typeAt);
        const std::wstring rest = line.substr(typeAt + 4);
        const size_t dataAt = rest.find(L"    ");
        RegValue value{rest.substr(0, dataAt), dataAt == std::wstring::npos ? L"" : rest.substr(dataAt + 4)};
        if (name == L"(Default)") name.clear();
        values[name] = value;
    }
    return values;
}

Layout PerUserLayout() {
    return {LocalAppData() + L"\\Programs\\Quorlin", KnownFolder(FOLDERID_Programs), Hive::CurrentUser};
}

Layout AllUsersLayout() {
    return {KnownFolder(FOLDERID_ProgramFiles) + L"\\Quorlin", KnownFolder(FOLDERID_CommonPrograms),
            Hive::LocalMachine};
}

std::wstring LocalAppData() { return KnownFolder(FOLDERID_LocalAppData); }

std::wstring SetAsideDir() {
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    // Long form, as setup's $TEMP spells it.
    wchar_t longForm[MAX_PATH + 1] = {};
    if (::GetLongPathNameW(temp, longForm, MAX_PATH + 1)) return std::wstring(longForm) + L"Quorlin-old";
    return std::wstring(temp) + L"Quorlin-old";
}

std::vector<std::wstring> Snapshot() {
    std::vector<std::wstring> lines;
    const std::wstring clsidKey = L"Software\\Classes\\CLSID\\" + Widen(QLN_EXT_CLSID_TEXT);
    for (Hive hive : {Hive::CurrentUser, Hive::LocalMachine}) {
        const std::wstring root = RootName(hive);
        for (const wchar_t* key : {L"Software\\Classes\\*", L"Software\\Classes\\Directory",
                                   L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"}) {
            ListKey(Root(hive), root, key, KEY_WOW64_64KEY, lines);
            ListKey(Root(hive), root + L"(32-bit)", key, KEY_WOW64_32KEY, lines);
        }
        ListKey(Root(hive), root, clsidKey, KEY_WOW64_64KEY, lines);
        ListKey(Root(hive), root + L"(32-bit)", clsidKey, KEY_WOW64_32KEY, lines);
    }
    // The per-user CLSID key exists only if something registers a class.
    win::ScopedKey userClasses;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Classes\\CLSID", 0, KEY_READ | KEY_WOW64_64KEY,
                        userClasses.out()) == ERROR_SUCCESS) {
        lines.push_back(L"HKCU\\Software\\Classes\\CLSID");
    }

    for (const std::wstring& folder : {LocalAppData() + L"\\Programs", AllUsersLayout().installDir,
                                       PerUserLayout().programsMenu, AllUsersLayout().programsMenu, SetAsideDir()}) {
        if (!Exists(folder)) continue;
        lines.push_back(folder + L"\\");
        ListFolder(folder, lines);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<std::wstring> Added(const std::vector<std::wstring>& before, const std::vector<std::wstring>& after) {
    const std::set<std::wstring> old(before.begin(), before.end());
    std::vector<std::wstring> added;
    for (const std::wstring& line : after) {
        if (!old.count(line)) added.push_back(line);
    }
    return added;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

ULONGLONG FileId(const std::wstring& path) {
    win::ScopedHandle file(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !::GetFileInformationByHandle(file.get(), &info)) return 0;
    return (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

std::wstring ShortcutTarget(const std::wstring& lnk) {
    win::ScopedCom com;
    win::ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.outVoid())))
        return {};
    win::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.outVoid())) || FAILED(file->Load(lnk.c_str(), STGM_READ)))
        return {};
    wchar_t target[MAX_PATH] = {};
    if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) return {};
    return target;
}

std::wstring AppsEntryValue(Hive hive, const wchar_t* name) {
    wchar_t value[2048] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(Root(hive), L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorlin", name,
                       RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

::testing::AssertionResult Succeeded(const RunResult& run) {
    if (!run.ended) return ::testing::AssertionFailure() << "still running at the time-out; output: " << run.output;
    if (run.exitCode != 0) {
        return ::testing::AssertionFailure() << "ended with exit code " << run.exitCode << " (processes it started: "
                                             << run.descendantExitCodes.size() << "); output: " << run.output;
    }
    for (DWORD code : run.descendantExitCodes) {
        if (code != 0) return ::testing::AssertionFailure() << "a process it started ended with exit code " << code;
    }
    return ::testing::AssertionSuccess();
}

void ExpectInstalled(const Layout& mode, const std::wstring& dir) {
    const bool allUsers = mode.hive == Hive::LocalMachine;
    const std::wstring clsid = Widen(QLN_EXT_CLSID_TEXT);
    const std::wstring classKey = L"Software\\Classes\\CLSID\\" + clsid;
    const std::wstring appsKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorlin";
    const std::wstring uninstaller = L"\"" + dir + L"\\Uninstall.exe\"";
    const std::wstring mode_switch = allUsers ? L" /ALLUSERS" : L"";
    struct Expected {
        std::wstring key;
        std::wstring name;
        RegValue value;
    };
    const Expected expected[] = {
        {classKey + L"\\InprocServer32", L"", {L"REG_SZ", dir + L"\\QlnExt.dll"}},
        {classKey + L"\\InprocServer32", L"ThreadingModel", {L"REG_SZ", L"Apartment"}},
        {L"Software\\Classes\\*\\shellex\\ContextMenuHandlers\\Quorlin", L"", {L"REG_SZ", clsid}},
        {L"Software\\Classes\\Directory\\shellex\\ContextMenuHandlers\\Quorlin", L"", {L"REG_SZ", clsid}},
        {appsKey, L"DisplayName", {L"REG_SZ", L"Quorlin"}},
        {appsKey, L"DisplayVersion", {L"REG_SZ", Widen(QLN_VERSION)}},
        {appsKey, L"Publisher", {L"REG_SZ", L"Tavrel"}},
        {appsKey, L"InstallLocation", {L"REG_SZ", dir}},
        {appsKey, L"DisplayIcon", {L"REG_SZ", dir + L"\\Uninstall.exe,0"}},
        {appsKey, L"UninstallString", {L"REG_SZ", uninstaller + mode_switch}},
        {appsKey, L"QuietUninstallString", {L"REG_SZ", uninstaller + L" /S" + mode_switch}},
        {appsKey, L"NoModify", {L"REG_DWORD", L"0x1"}},
        {appsKey, L"NoRepair", {L"REG_DWORD", L"0x1"}},
    };
    // One `reg query` per key and hive.
    const Hive other = allUsers ? Hive::CurrentUser : Hive::LocalMachine;
    std::map<std::wstring, std::optional<std::map<std::wstring, RegValue>>> keys;
    for (const Expected& e : expected) {
        if (keys.count(e.key)) continue;
        keys[e.key] = RegQuery(mode.hive, e.key);
        EXPECT_FALSE(RegQuery(other, e.key).has_value()) << ::testing::PrintToString(e.key) << " in the other hive";
    }
    for (const Expected& e : expected) {
        SCOPED_TRACE(::testing::PrintToString(e.key) + " " + ::testing::PrintToString(e.name));
        const auto& values = keys[e.key];
        ASSERT_TRUE(values.has_value()) << "no such key";
        const auto found = values->find(e.name);
        ASSERT_NE(found, values->end()) << "no such value";
        EXPECT_EQ(found->second, e.value);
    }
    // The 64-bit view only: a 32-bit program must not find a second copy
    // (HKLM is redirected for 32-bit programs; Wine shares HKCU's classes).
    if (allUsers) {
        EXPECT_FALSE(RegQuery(mode.hive, classKey, View::Wow32).has_value()) << "in the 32-bit view";
    }

    std::vector<std::wstring> files = Payload();
    files.push_back(L"Uninstall.exe");
    std::sort(files.begin(), files.end());
    EXPECT_EQ(FolderEntries(dir), files);

    ULONGLONG bytes = 0;
    for (const std::wstring& name : files) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ::GetFileAttributesExW((dir + L"\\" + name).c_str(), GetFileExInfoStandard, &data);
        bytes += data.nFileSizeLow;
    }
    const auto& apps = keys[appsKey];
    ASSERT_TRUE(apps.has_value());
    const auto size = apps->find(L"EstimatedSize");
    ASSERT_NE(size, apps->end());
    EXPECT_EQ(size->second.type, L"REG_DWORD");
    const ULONGLONG kib = std::wcstoull(size->second.data.c_str(), nullptr, 16);
    EXPECT_NEAR(static_cast<double>(kib), static_cast<double>(bytes) / 1024, 1.0) << "EstimatedSize in KiB";

    const std::wstring shortcut = mode.programsMenu + L"\\Quorlin Info.lnk";
    if (ShipsLauncher()) {
        EXPECT_EQ(ShortcutTarget(shortcut), dir + L"\\Qln.exe");
    } else {
        EXPECT_FALSE(Exists(shortcut)) << "a shortcut to a launcher that is not shipped";
    }
}

void SetupTest::SetUp() {
    // An earlier run that failed half-way may have left an install behind.
    for (Hive hive : {Hive::CurrentUser, Hive::LocalMachine}) {
        if (!AppsEntryValue(hive, L"QuietUninstallString").empty()) Uninstall(hive);
    }
    RemoveTree(SetAsideDir());
    before_ = Snapshot();
}

void SetupTest::TearDown() {
    for (Hive hive : {Hive::CurrentUser, Hive::LocalMachine}) {
        if (!AppsEntryValue(hive, L"QuietUninstallString").empty()) {
            ADD_FAILURE() << "the test left the product installed";
            Uninstall(hive);
        }
    }
}

RunResult SetupTest::Install(const std::wstring& arguments) {
    return RunToEnd(L"\"" + SetupProgram() + L"\" " + arguments);
}

RunResult SetupTest::Uninstall(Hive hive) {
    const std::wstring command = AppsEntryValue(hive, L"QuietUninstallString");
    if (command.empty()) {
        ADD_FAILURE() << "no uninstall command in the Apps & features entry";
        return {};
    }
    RunResult run = RunToEnd(command);
    // The uninstaller starts a copy of itself and ends; when Wine fails to
    // start that copy (it now and then does on a busy machine), nothing has
    // happened yet, and the command is run again as a user would.
    if (run.ended && run.exitCode != 0 && run.descendantExitCodes.empty() &&
        AppsEntryValue(hive, L"QuietUninstallString") == command) {
        run = RunToEnd(command);
    }
    return run;
}

void SetupTest::ExpectNothingLeft() const {
    const std::vector<std::wstring> after = Snapshot();
    EXPECT_EQ(Added(before_, after), std::vector<std::wstring>{}) << "left behind";
    EXPECT_EQ(Added(after, before_), std::vector<std::wstring>{}) << "taken away";
}

}  // namespace setup_test
