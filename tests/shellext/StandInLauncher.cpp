// Stands in for Qln.exe beside a copy of the extension. It records how it was
// started and what the list file held, into its own folder: "args.txt" (its
// arguments as Windows splits them, one UTF-8 line each), "list.txt" (the
// list file's bytes), then "done" once both are complete. Like the real
// launcher, it deletes the list file after reading it.

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "platform/win32/Wide.h"
#include "tests/support/WinFolders.h"

namespace {

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH * 4] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

void Write(const std::wstring& path, const std::string& bytes) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

}  // namespace

int wmain() {
    const std::wstring folder = OwnFolder();
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::string lines;
    for (int i = 0; i < count; ++i) lines += platform::Narrow(args[i]) + "\n";
    Write(folder + L"args.txt", lines);
    // "/preset NAME LIST" from the presets submenu, or the list alone.
    const int list = count == 4 && std::wstring(args[1]) == L"/preset" ? 3 : 1;
    if (count > list) {
        std::string bytes;
        if (!win_test::ReadWholeFile(args[list], bytes)) bytes = "<cannot open>";
        Write(folder + L"list.txt", bytes);
        ::DeleteFileW(args[list]);
    }
    ::LocalFree(args);
    Write(folder + L"done", "");
    return 0;
}
