#pragma once

// Files and folders of the Windows tests: reading a file whole, listing,
// making a fresh folder, removing one that a process which has just ended may
// still hold.

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/Scoped.h"

namespace win_test {

/// `folder` with a backslash at its end.
inline std::wstring WithSeparator(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' ? folder : folder + L'\\';
}

/// The bytes of the file at `path` into `bytes`; false when it cannot be
/// opened. Others may go on writing it.
inline bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    win::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    bytes.assign(static_cast<size_t>(::GetFileSize(file.get(), nullptr)), '\0');
    DWORD read = 0;
    ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return true;
}

/// The same, empty when the file cannot be opened.
inline std::string ReadWholeFile(const std::wstring& path) {
    std::string bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

/// The names in `folder`, sorted, without "." and "..".
inline std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    win::ScopedFind find(::FindFirstFileW((WithSeparator(folder) + L"*").c_str(), &entry));
    if (!find) return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(find.get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
}

/// Removes `folder` and everything in it, read-only files too; what is in
/// use stays.
inline void RemoveTree(const std::wstring& folder) {
    const std::wstring base = WithSeparator(folder);
    for (const std::wstring& name : FolderEntries(base)) {
        const std::wstring path = base + name;
        if (::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path);
        } else {
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(path.c_str());
        }
    }
    ::RemoveDirectoryW(folder.c_str());
}

/// RemoveTree, for up to five seconds: a program that has just ended may
/// still hold its files for a moment.
inline void RemoveTreeSoon(const std::wstring& folder) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        RemoveTree(folder);
        if (::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return;
        ::Sleep(50);
    }
}

/// A folder made now in the user's temporary folder, named after `stem`;
/// its path ends with a backslash. Process ids repeat between runs: only a
/// folder that did not exist before is fresh.
inline std::wstring MakeFreshTempFolder(const std::wstring& stem) {
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    static int made = 0;
    std::wstring path;
    do {
        path = std::wstring(temp) + stem + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
               std::to_wstring(++made) + L"\\";
    } while (!::CreateDirectoryW(path.c_str(), nullptr) && ::GetLastError() == ERROR_ALREADY_EXISTS);
    return path;
}

}  // namespace win_test
