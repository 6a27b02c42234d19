#include <windows.h>

#include <vector>

#include "platform/Editor.h"
#include "platform/win32/Wide.h"

namespace platform {

uint32_t WriteTempFile(const std::string& prefix, const std::string& suffix, const std::string& data,
                       std::string& path) {
    std::vector<wchar_t> folder(MAX_PATH + 1);
    for (;;) {
        const DWORD n = ::GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
        if (n == 0) return ::GetLastError();
        if (n < folder.size()) break;
        folder.resize(n + 1);
    }
    const std::wstring base = std::wstring(folder.data()) + Widen(prefix);
    // A new name until one is free: CREATE_NEW never opens a file that is there.
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::wstring name =
            base + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount() + attempt) +
            Widen(suffix);
        HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (::GetLastError() == ERROR_FILE_EXISTS) continue;
            return ::GetLastError();
        }
        DWORD written = 0;
        const BOOL ok = data.empty() || ::WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written,
                                                    nullptr);
        const DWORD code = ok ? 0 : ::GetLastError();
        ::CloseHandle(file);
        if (code) {
            ::DeleteFileW(name.c_str());
            return code;
        }
        path = Narrow(name);
        return 0;
    }
    return ERROR_FILE_EXISTS;
}

std::string ChosenEditor() {
    for (const wchar_t* variable : {L"VISUAL", L"EDITOR"}) {
        const DWORD n = ::GetEnvironmentVariableW(variable, nullptr, 0);
        if (n <= 1) continue;
        std::wstring value(n, L'\0');
        value.resize(::GetEnvironmentVariableW(variable, value.data(), n));
        if (!value.empty()) return Narrow(value);
    }
    return "notepad.exe";
}

int RunEditor(const std::string& editor, const std::string& file) {
    std::wstring command = Widen(editor) + L" \"" + Widen(file) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    ::CloseHandle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    const bool ended = ::GetExitCodeProcess(process.hProcess, &status) != 0;
    ::CloseHandle(process.hProcess);
    return ended ? static_cast<int>(status) : -1;
}

}  // namespace platform
