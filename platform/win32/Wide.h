#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

/// UTF-8 to UTF-16 for the wide Win32 calls. Stray bytes become U+FFFD: a name
/// that is not UTF-8 cannot name a Windows file anyway.
inline std::wstring Widen(std::string_view s) {
    if (s.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

/// UTF-16 to UTF-8.
inline std::string Narrow(std::wstring_view s) {
    if (s.empty()) return {};
    const int n =
        ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace platform
