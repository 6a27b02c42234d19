// Stands in for Qln.dll beside a copy of Qln.exe and records every call of
// HandleRename into "handle-rename.txt" in its own folder: a line
// "call parent=<0|1> reserved=<n> count=<n>", then one line per path,
// "<byte count>:<bytes>", so that a line end or a cut inside a path shows.
#include <windows.h>

#include <string>

#include "library/QlnDll.h"

namespace {

HMODULE g_module = nullptr;

std::wstring RecordPath() {
    wchar_t path[MAX_PATH * 4] = {};
    ::GetModuleFileNameW(g_module, path, MAX_PATH * 4);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"handle-rename.txt";
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

extern "C" void HandleRename(HWND parent, INT_PTR reserved, const char* const* paths, int count) {
    std::string record = "call parent=" + std::to_string(parent ? 1 : 0) + " reserved=" + std::to_string(reserved) +
                         " count=" + std::to_string(count) + "\n";
    for (int i = 0; i < count; ++i) {
        const std::string path = paths && paths[i] ? paths[i] : "<null>";
        record += std::to_string(path.size()) + ":" + path + "\n";
    }
    const HANDLE file = ::CreateFileW(RecordPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    ::CloseHandle(file);
}
