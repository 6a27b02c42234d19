#include "launcher/ListFile.h"

#include <windows.h>

namespace launcher {

namespace {

// The Win32 calls that fill a buffer and, when it is too small, say how big
// it must be.
template <typename Call>
std::wstring Grown(Call call) {
    std::wstring out(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = call(out.data(), static_cast<DWORD>(out.size()));
        if (n == 0) return {};
        if (n < out.size()) {
            out.resize(n);
            return out;
        }
        out.resize(n);  // n counts the terminating zero too
    }
}

std::wstring FullPathName(const std::wstring& path) {
    return Grown([&](wchar_t* buffer, DWORD size) { return ::GetFullPathNameW(path.c_str(), size, buffer, nullptr); });
}

// The long form of an existing item; `path` itself when there is none.
std::wstring LongPathName(const std::wstring& path) {
    std::wstring out =
        Grown([&](wchar_t* buffer, DWORD size) { return ::GetLongPathNameW(path.c_str(), buffer, size); });
    return out.empty() ? path : out;
}

std::wstring WithBackslash(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::wstring TempFolder() {
    const std::wstring temp = Grown([](wchar_t* buffer, DWORD size) { return ::GetTempPathW(size, buffer); });
    if (temp.empty()) return {};
    // TMP may name the folder by its short name, or by a relative path.
    return WithBackslash(FullPath(temp));
}

}  // namespace

std::vector<std::string> SplitListFile(std::string_view bytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) bytes.remove_prefix(kByteOrderMark.size());
    std::vector<std::string> paths;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.find('\0') != std::string_view::npos) continue;
        paths.emplace_back(line);
    }
    return paths;
}

bool IsListFileName(std::wstring_view name) {
    if (name.size() < 4 || !SameText(std::wstring(name.substr(0, 3)), L"qln")) return false;
    for (const wchar_t c : name.substr(3))
        if (c < L'0' || c > L'9') return false;
    return true;
}

bool IsListFile(const std::wstring& argument) {
    const std::wstring full = FullPathName(argument);
    const size_t slash = full.find_last_of(L'\\');
    if (full.empty() || slash == std::wstring::npos || !IsListFileName(std::wstring_view(full).substr(slash + 1)))
        return false;
    const std::wstring temp = TempFolder();
    return !temp.empty() && SameText(WithBackslash(LongPathName(full.substr(0, slash + 1))), temp);
}

std::wstring FullPath(const std::wstring& path) {
    std::wstring full = FullPathName(path);
    if (full.empty()) {
        // Not even the system could make it whole; the separators at least
        // are the library's.
        full = path;
        for (auto& c : full)
            if (c == L'/') c = L'\\';
        return full;
    }
    return LongPathName(full);
}

}  // namespace launcher
