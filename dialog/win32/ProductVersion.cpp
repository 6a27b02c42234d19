#include "dialog/win32/ProductVersion.h"

#include <windows.h>

#include <vector>

#include "platform/win32/LongPath.h"
#include "platform/win32/Wide.h"

std::string GetProductVersion(const std::string& moduleName) {
    const HMODULE module = ::GetModuleHandleW(platform::Widen(moduleName).c_str());
    if (!module) return {};
    const std::wstring path = platform::FileCallPath(platform::ModuleFileName(module));
    if (path.empty()) return {};
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<BYTE> info(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, info.data())) return {};
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(info.data(), L"\\StringFileInfo\\040904B0\\ProductVersion", reinterpret_cast<void**>(&value),
                          &length) ||
        !value)
        return {};
    std::wstring version;
    for (UINT i = 0; i < length && value[i]; ++i) {
        if (value[i] == L' ') continue;
        version += value[i] == L',' ? L'.' : value[i];
    }
    return platform::Narrow(version);
}
