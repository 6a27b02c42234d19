#include "platform/win32/LongPath.h"

#include "platform/win32/Wide.h"

namespace platform {

namespace {

bool StartsWith(const std::wstring& s, std::wstring_view prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// The full path, as the system makes it: relative paths against the current
// folder, "." and ".." resolved, "/" made "\\". Empty when it cannot.
std::wstring FullPathOf(const std::wstring& path) {
    std::wstring out(path.size() + MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(out.size()), out.data(), nullptr);
        if (n == 0) return {};
        if (n < out.size()) {
            out.resize(n);
            return out;
        }
        out.resize(n);  // n counts the terminator too
    }
}

}  // namespace

std::wstring FileCallPath(std::wstring path) {
    if (path.size() < kPlainPathLimit || StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\")) return path;
    std::wstring full = FullPathOf(path);
    if (full.empty()) return path;
    if (StartsWith(full, L"\\\\?\\") || StartsWith(full, L"\\\\.\\")) return full;
    if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::wstring FileCallPath(std::string_view utf8) {
    return FileCallPath(Widen(utf8));
}

std::wstring ModuleFileName(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);  // cut short: the path is longer
    }
}

}  // namespace platform
