#include "launcher/Launcher.h"

#include <shellapi.h>

#include <algorithm>

#include "launcher/ListFile.h"
#include "platform/FileSystem.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Wide.h"

namespace launcher {

namespace {

enum class ReadResult { Read, OpenFailed, CloseFailed };

// The whole file; a file that cannot be read to its end counts as one that
// could not be opened, since half a selection must not be renamed.
ReadResult ReadWhole(const std::wstring& path, std::string& bytes) {
    // Others may read the list meanwhile, but not change it under us.
    win::ScopedHandle file(::CreateFileW(platform::FileCallPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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

// Shows the dialog over `paths`; a library that cannot is reported.
bool Call(const RenameLibrary& library, const std::vector<std::string>& paths, const std::wstring& preset = {}) {
    if (!library.handleRename) {
        ::MessageBoxW(nullptr, library.problem.c_str(), L"Error", MB_OK | MB_ICONERROR);
        return false;
    }
    const std::vector<const char*> pointers = Pointers(paths);
    if (!preset.empty() && library.withPreset)
        library.withPreset(nullptr, platform::Narrow(preset).c_str(), pointers.data(), static_cast<int>(pointers.size()));
    else
        library.handleRename(nullptr, 0, pointers.data(), static_cast<int>(pointers.size()));
    return true;
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
    if (!::DeleteFileW(platform::FileCallPath(listFile).c_str())) ShowError(L"Unable to remove", listFile);
    return call(paths);
}

}  // namespace

namespace {

// The command line after the program's name, as Windows finds that name: up
// to the next quote when it begins with one, else up to the first blank.
std::wstring_view AfterProgramName(std::wstring_view line) {
    size_t end = 0;
    if (!line.empty() && line[0] == L'"') {
        end = line.find(L'"', 1);
        end = end == std::wstring_view::npos ? line.size() : end + 1;
    } else {
        end = std::min(line.find_first_of(L" \t"), line.size());
    }
    line.remove_prefix(end);
    const size_t first = line.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) return {};
    const size_t last = line.find_last_not_of(L" \t");
    return line.substr(first, last - first + 1);
}

// Splits at blanks outside quotes, as Windows does, with one difference: no
// path holds a quote, so a quote always opens or closes, and a backslash
// before it stays a backslash. Send To hands a drive over as "D:\", which
// would otherwise end in a quote and swallow what follows.
std::vector<std::wstring> SplitPaths(std::wstring_view line) {
    std::vector<std::wstring> out;
    std::wstring current;
    bool quoted = false, started = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const wchar_t c = line[i];
        if (c == L'\\') {
            size_t n = 0;
            while (i + n < line.size() && line[i + n] == L'\\') ++n;
            // Before a quote the standard rule halves them; an odd one left
            // over stays, as the path's own.
            const bool beforeQuote = i + n < line.size() && line[i + n] == L'"';
            current.append(beforeQuote ? (n + 1) / 2 : n, L'\\');
            i += n - 1;
            started = true;
        } else if (c == L'"') {
            quoted = !quoted;
            started = true;
        } else if ((c == L' ' || c == L'\t') && !quoted) {
            if (started) out.push_back(std::move(current));
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started) out.push_back(std::move(current));
    return out;
}

}  // namespace

CommandLine ParseCommandLine(const wchar_t* commandLine) {
    CommandLine out;
    const std::wstring_view tail = AfterProgramName(commandLine ? commandLine : L"");
    if (tail.rfind(L"/preset ", 0) == 0) {
        // The extension's presets menu: "/preset NAME FILE", quoted as
        // Windows reads it back, since a preset's name may hold a quote.
        int count = 0;
        if (wchar_t** arguments = ::CommandLineToArgvW(commandLine, &count)) {
            for (int i = 1; i < count; ++i) out.arguments.emplace_back(arguments[i]);
            ::LocalFree(arguments);
        }
        if (out.arguments.size() == 3 && IsListFile(out.arguments[2])) {
            out.preset = out.arguments[1];
            out.arguments.erase(out.arguments.begin(), out.arguments.begin() + 2);
            out.mode = CommandLine::Mode::ListFile;
            return out;
        }
        out.arguments.clear();
    }
    // One unquoted path with blanks in it is that one path, when it names an
    // item: a list file in a temporary folder under a user name with a blank
    // comes so from older callers.
    const std::wstring whole(tail);
    if (!whole.empty() && whole.find(L'"') == std::wstring::npos &&
        ::GetFileAttributesW(whole.c_str()) != INVALID_FILE_ATTRIBUTES)
        out.arguments = {whole};
    else
        out.arguments = SplitPaths(tail);
    std::erase_if(out.arguments, [](const std::wstring& a) { return a.empty(); });
    if (out.arguments.empty()) {
        out.mode = CommandLine::Mode::Wizard;
    } else if (out.arguments.size() == 1 && IsListFile(out.arguments.front())) {
        out.mode = CommandLine::Mode::ListFile;
    } else {
        out.mode = CommandLine::Mode::Paths;
    }
    return out;
}

RenameLibrary LoadRenameLibrary() {
    RenameLibrary out;
    const std::wstring path = ModuleFolder(nullptr) + L"Qln.dll";
    // By its full path, so that no other Qln.dll on the search path is taken.
    const HMODULE library = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!library) {
        out.problem = L"Unable to load " + path + L"\n\n" +
                      platform::Widen(platform::ErrorMessage(static_cast<uint32_t>(::GetLastError())));
        return out;
    }
    // Through void*: the export's type is the library's promise, not FARPROC's.
    out.handleRename =
        reinterpret_cast<HandleRenameFunction>(reinterpret_cast<void*>(::GetProcAddress(library, "HandleRename")));
    out.withPreset = reinterpret_cast<HandleRenameWithPresetFunction>(
        reinterpret_cast<void*>(::GetProcAddress(library, "HandleRenameWithPreset")));
    if (!out.handleRename) out.problem = L"Unable to find HandleRename in " + path;
    return out;
}

bool RenameListFile(const std::wstring& listFile, const RenameLibrary& library, const std::wstring& preset) {
    return TakeListFile(listFile, [&](const std::vector<std::string>& paths) { return Call(library, paths, preset); });
}

bool RenamePaths(const std::vector<std::wstring>& paths, const RenameLibrary& library) {
    std::vector<std::string> full;
    full.reserve(paths.size());
    for (const auto& path : paths) full.push_back(platform::Narrow(FullPath(path)));
    return Call(library, full);
}

std::wstring ModuleFolder(HMODULE module) {
    const std::wstring path = platform::ModuleFileName(module);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

void ShowError(const wchar_t* text, const std::wstring& path) {
    ::MessageBoxW(nullptr, (std::wstring(text) + L" " + path).c_str(), L"Error", MB_OK);
}

}  // namespace launcher
