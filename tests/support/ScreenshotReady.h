#pragma once

// The programs that pose windows for the screenshot scripts tell the script
// where to capture through a file: "WIDTHxHEIGHT+LEFT+TOP" and a line end.

#include <windows.h>

#include <string>

namespace screenshot {

/// Writes the rectangle `r` to `readyFile`, under another name first and
/// then moved, so that the script never reads half a line.
inline void AnnounceRect(const std::wstring& readyFile, const RECT& r) {
    const std::string geometry = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) + "+" +
                                 std::to_string(r.left) + "+" + std::to_string(r.top) + "\n";
    const std::wstring partial = readyFile + L".part";
    const HANDLE file =
        ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, geometry.data(), static_cast<DWORD>(geometry.size()), &written, nullptr);
    ::CloseHandle(file);
    ::MoveFileExW(partial.c_str(), readyFile.c_str(), MOVEFILE_REPLACE_EXISTING);
}

/// The same for the window `window` as it lies on the screen.
inline void AnnounceWindow(const std::wstring& readyFile, HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    AnnounceRect(readyFile, r);
}

}  // namespace screenshot
