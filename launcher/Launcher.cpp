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

std::vector<const char*> Pointers(const std::vector<std::string>& paths) {
    std::vector<const char*> pointers;
    pointers.reserve(paths.size());
    for (const auto& path : paths) pointers.push_back(path.c_str());
    return pointers;
}

void Call(HandleRenameFunction handleRename, const std::vector<std::string>& paths) {
    if (!handleRename) return;
    const std::vector<const char*> pointers = Pointers(paths);
    handleRename(nullptr, 0, pointers.data(), static_cast<int>(pointers.size()));
}

HMODULE RenameLibrary() {
    const std::wstring folder = ModuleFolder(nullptr);
    if (folder.empty()) return nullptr;
    // By its full path, so that no other Qln.dll on the search path is taken.
    return ::LoadLibraryExW((folder + L"Qln.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// Reads the list file, deletes it and hands its paths to `call`.
template <class Call>
bool TakeListFile(const std::wstring& listFile, Call call) {
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
    call(paths);
    return true;
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
    // The extension's presets menu: "/preset NAME FILE".
    if (out.arguments.size() == 3 && out.arguments[0] == L"/preset" && IsListFile(out.arguments[2])) {
        out.preset = out.arguments[1];
        out.arguments.erase(out.arguments.begin(), out.arguments.begin() + 2);
        out.mode = CommandLine::Mode::ListFile;
    } else if (out.arguments.empty()) {
        out.mode = CommandLine::Mode::Wizard;
    } else if (out.arguments.size() == 1 && IsListFile(out.arguments.front())) {
        out.mode = CommandLine::Mode::ListFile;
    } else {
        out.mode = CommandLine::Mode::Paths;
    }
    return out;
}

HandleRenameFunction LoadRenameLibrary() {
    const HMODULE library = RenameLibrary();
    if (!library) return nullptr;
    // Through void*: the export's type is the library's promise, not FARPROC's.
    return reinterpret_cast<HandleRenameFunction>(reinterpret_cast<void*>(::GetProcAddress(library, "HandleRename")));
}

HandleRenameWithPresetFunction LoadPresetFunction() {
    const HMODULE library = RenameLibrary();
    if (!library) return nullptr;
    return reinterpret_cast<HandleRenameWithPresetFunction>(
        reinterpret_cast<void*>(::GetProcAddress(library, "HandleRenameWithPreset")));
}

bool RenameListFile(const std::wstring& listFile, HandleRenameFunction handleRename) {
    return TakeListFile(listFile, [&](const std::vector<std::string>& paths) { Call(handleRename, paths); });
}

bool RenameListFileWithPreset(const std::wstring& listFile, const std::wstring& preset,
                              HandleRenameWithPresetFunction withPreset, HandleRenameFunction handleRename) {
    return TakeListFile(listFile, [&](const std::vector<std::string>& paths) {
        if (!withPreset) return Call(handleRename, paths);
        const std::vector<const char*> pointers = Pointers(paths);
        withPreset(nullptr, platform::Narrow(preset).c_str(), pointers.data(), static_cast<int>(pointers.size()));
    });
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
