#include "launcher/Launcher.h"

#include <shellapi.h>

#include "launcher/ListFile.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Wide.h"

namespace launcher {

namespace {

enum class ReadResult { Read, OpenFailed, CloseFailed };

// The whole file; a file that cannot be read to its end counts as one that
// could not be opened, since half a selection must not be renamed.
ReadResult ReadWhole(const std::wstring& path, std::string& bytes) {
    // Others may read the list meanwhile, but not change it under us.
    win::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return ReadResult::OpenFailed;
    char buffer[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return ReadResult::OpenFailed;
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    return ::CloseHandle(file.release()) ? ReadResult::Read : ReadResult::CloseFailed;
}

void Call(HandleRenameFunction handleRename, const std::vector<std::string>& paths) {
    if (!handleRename) return;
    std::vector<const char*> pointers;
    pointers.reserve(paths.size());
    for (const auto& path : paths) pointers.push_back(path.c_str());
    handleRename(nullptr, 0, pointers.data(), static_cast<int>(pointers.size()));
}

}  // namespace

CommandLine ParseCommandLine(const wchar_t* commandLine) {
    CommandLine out;
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(commandLine, &count);
    if (!arguments) return out;
    for (int i = 1; i < count; ++i)
        if (arguments[i][0]) out.arguments.emplace_back(arguments[i]);
    ::LocalFree(arguments);
    if (out.arguments.empty()) {
        out.mode = CommandLine::Mode::Wizard;
    } else if (out.arguments.size() == 1 && IsListFile(out.arguments.front())) {
        out.mode = CommandLine::Mode::ListFile;
    } else {
        out.mode = CommandLine::Mode::Paths;
    }
    return out;
}

HandleRenameFunction LoadRenameLibrary() {
    const std::wstring folder = ModuleFolder(nullptr);
    if (folder.empty()) return nullptr;
    // By its full path, so that no other Qln.dll on the search path is taken.
    const HMODULE library = ::LoadLibraryExW((folder + L"Qln.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!library) return nullptr;
    // Through void*: the export's type is the library's promise, not FARPROC's.
    return reinterpret_cast<HandleRenameFunction>(reinterpret_cast<void*>(::GetProcAddress(library, "HandleRename")));
}

bool RenameListFile(const std::wstring& listFile, HandleRenameFunction handleRename) {
    std::string bytes;
    const ReadResult read = ReadWhole(listFile, bytes);
    if (read == ReadResult::OpenFailed) {
        ShowError(L"Unable to open", listFile);
        return false;
    }
    if (read == ReadResult::CloseFailed) {
        ShowError(L"Unable to close", listFile);
        return false;
    }
    const std::vector<std::string> paths = SplitListFile(bytes);
    if (paths.empty()) return true;
    // The list is ours now: it is gone before the dialog opens, whatever the
    // user does there.
    if (!::DeleteFileW(listFile.c_str())) ShowError(L"Unable to remove", listFile);
    Call(handleRename, paths);
    return true;
}

void RenamePaths(const std::vector<std::wstring>& paths, HandleRenameFunction handleRename) {
    std::vector<std::string> full;
    full.reserve(paths.size());
    for (const auto& path : paths) full.push_back(platform::Narrow(FullPath(path)));
    Call(handleRename, full);
}

std::wstring ModuleFolder(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);  // cut short: the path is longer
    }
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

void ShowError(const wchar_t* text, const std::wstring& path) {
    ::MessageBoxW(nullptr, (std::wstring(text) + L" " + path).c_str(), L"Error", MB_OK);
}

}  // namespace launcher
