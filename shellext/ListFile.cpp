#include "shellext/ListFile.h"

#include "platform/win32/Scoped.h"
#include "shellext/Module.h"

namespace qlnext {

namespace {

// As many candidate names as the C runtime's temporary-name rule tries.
constexpr unsigned kNameAttempts = 32767;

volatile LONG g_namesTried = 0;

// Where the numbers start differs between processes and between runs, so
// that two Explorer windows rarely try the same names; that they may is
// harmless, since a name that exists is never opened.
unsigned FirstNumber() {
    const unsigned mixed = (static_cast<unsigned>(::GetCurrentProcessId()) << 12) ^ ::GetTickCount();
    return mixed % 1000000000u + static_cast<unsigned>(::InterlockedIncrement(&g_namesTried));
}

bool AppendNumber(WideText& text, unsigned number) {
    wchar_t digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + number % 10);
        number /= 10;
    } while (number);
    while (n) text.append(digits[--n]);
    return text.ok();
}

bool TempFolder(WideText& folder) {
    DWORD capacity = MAX_PATH + 1;
    for (;;) {
        if (!folder.resize(capacity)) return false;
        const DWORD n = ::GetTempPathW(capacity, folder.data());
        if (n == 0) return false;
        if (n < capacity) {
            folder.resize(n);
            break;
        }
        capacity = n;  // too small: n is the size it needs
    }
    const wchar_t last = folder.c_str()[folder.size() - 1];
    if (last != L'\\' && last != L'/') folder.append(L'\\');
    return folder.ok();
}

bool NameTaken(const wchar_t* path, DWORD error) {
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return true;
    // A folder of that name, or a file about to be deleted, refuses with
    // "access denied" instead; either way the name is not ours.
    return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

bool WriteAll(HANDLE file, const char* data, size_t size) {
    while (size) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

bool LauncherPath(WideText& path) {
    DWORD capacity = MAX_PATH;
    for (;;) {
        if (!path.resize(capacity)) return false;
        const DWORD n = ::GetModuleFileNameW(ModuleInstance(), path.data(), capacity);
        if (n == 0) return false;
        if (n < capacity) {
            path.resize(n);
            break;
        }
        if (capacity >= 32768) return false;
        capacity *= 2;  // cut short: the path is longer
    }
    size_t folderEnd = path.size();
    while (folderEnd && path.c_str()[folderEnd - 1] != L'\\' && path.c_str()[folderEnd - 1] != L'/') --folderEnd;
    path.resize(folderEnd);
    return path.append(L"Qln.exe");
}

bool HasBlank(const wchar_t* text) {
    for (; *text; ++text) {
        if (*text == L' ' || *text == L'\t') return true;
    }
    return false;
}

}  // namespace

bool CollectPaths(HDROP drop, Utf8Text& lines, UINT& count) {
    count = 0;
    const UINT total = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    WideText path;
    for (UINT i = 0; i < total; ++i) {
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) continue;
        if (!path.resize(length)) return false;
        const UINT got = ::DragQueryFileW(drop, i, path.data(), length + 1);
        if (got == 0) continue;
        if (!AppendUtf8(lines, path.c_str(), got < length ? got : length) || !lines.append('\n')) return false;
        ++count;
    }
    return true;
}

ListFileError WriteListFile(const Utf8Text& lines, WideText& path, DWORD& error) {
    error = 0;
    WideText folder;
    if (!TempFolder(folder)) {
        error = ::GetLastError();
        return ListFileError::NoName;
    }
    win::ScopedHandle file;
    const unsigned first = FirstNumber();
    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
        path.resize(0);
        path.append(folder.c_str(), folder.size());
        path.append(L"qln");
        if (!AppendNumber(path, first + attempt)) {
            error = ERROR_NOT_ENOUGH_MEMORY;
            return ListFileError::NoName;
        }
        file.reset(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) break;
        error = ::GetLastError();
        if (!NameTaken(path.c_str(), error)) return ListFileError::Open;
    }
    if (!file) {
        path.resize(0);
        return ListFileError::NoName;
    }
    if (!WriteAll(file.get(), lines.c_str(), lines.size())) {
        error = ::GetLastError();
        file.reset();
        ::DeleteFileW(path.c_str());
        return ListFileError::Write;
    }
    if (!::CloseHandle(file.release())) {
        error = ::GetLastError();
        ::DeleteFileW(path.c_str());
        return ListFileError::Close;
    }
    return ListFileError::None;
}

// Appends `argument` as CommandLineToArgvW reads it back: in quotes, with
// each quote and the backslashes before one escaped.
static void AppendQuoted(WideText& line, const wchar_t* argument) {
    line.append(L'"');
    size_t backslashes = 0;
    for (const wchar_t* c = argument; *c; ++c) {
        if (*c == L'\\') {
            ++backslashes;
            continue;
        }
        for (size_t i = 0; i < backslashes * (*c == L'"' ? 2 : 1); ++i) line.append(L'\\');
        backslashes = 0;
        if (*c == L'"') line.append(L'\\');
        line.append(*c);
    }
    for (size_t i = 0; i < backslashes * 2; ++i) line.append(L'\\');
    line.append(L'"');
}

bool ReadPresetNames(WideText& names) {
    // Where the rename dialog keeps its settings: its own key, or the one
    // that the settings variable names in its place (as the tests do).
    WideText key;
    wchar_t base[512] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"QUORLIN_SETTINGS", base, 512);
    key.append(length > 0 && length < 512 ? base : L"Software\\Tavrel");
    while (key.size() && key.c_str()[key.size() - 1] == L'\\') key.resize(key.size() - 1);
    key.append(L"\\A Quorlin");
    if (!key.ok()) return false;
    DWORD bytes = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"presetNames", RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        bytes < 2 * sizeof(wchar_t))
        return false;
    if (!names.resize(bytes / sizeof(wchar_t))) return false;
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"presetNames", RRF_RT_REG_SZ, nullptr, names.data(),
                       &bytes) != ERROR_SUCCESS)
        return false;
    names.resize(WideText::length(names.c_str()));
    return names.size() > 0;
}

DWORD StartLauncher(const wchar_t* listPath, const wchar_t* preset, WideText& launcher) {
    if (!LauncherPath(launcher)) {
        const DWORD error = ::GetLastError();
        return error ? error : ERROR_NOT_ENOUGH_MEMORY;
    }
    // The launcher splits its command line the standard way. A list path
    // ends in a digit, so no backslash can escape the quote after it.
    WideText commandLine;
    commandLine.append(L'"');
    commandLine.append(launcher.c_str(), launcher.size());
    commandLine.append(L"\" ");
    if (preset) {
        commandLine.append(L"/preset ");
        AppendQuoted(commandLine, preset);
        commandLine.append(L' ');
    }
    const bool quote = HasBlank(listPath);
    if (quote) commandLine.append(L'"');
    commandLine.append(listPath);
    if (quote) commandLine.append(L'"');
    if (!commandLine.ok()) return ERROR_NOT_ENOUGH_MEMORY;

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(launcher.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        return ::GetLastError();
    }
    win::ScopedHandle processHandle(process.hProcess);
    win::ScopedHandle threadHandle(process.hThread);
    return 0;
}

}  // namespace qlnext
