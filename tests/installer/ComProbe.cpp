// Creates the extension as the shell does, through its registration
// (CoCreateInstance), and prints the path of the module the object came
// from. Exit code 0 when the object is an IContextMenu that also answers
// IShellExtInit; the HRESULT of the first failing call otherwise.
//
// A process of its own, so that the module it loads is let go of before
// the uninstaller runs.

#include <windows.h>

#include <shlobj.h>

#include <cstdio>

#include "platform/win32/Scoped.h"
#include "shellext/ClassId.h"

int wmain() {
    win::ScopedCom com;
    win::ComPtr<IContextMenu> menu;
    HRESULT hr = ::CoCreateInstance(kQlnExtClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IContextMenu, menu.outVoid());
    if (FAILED(hr)) {
        std::printf("CoCreateInstance: 0x%08lx\n", static_cast<unsigned long>(hr));
        return static_cast<int>(hr);
    }
    win::ComPtr<IShellExtInit> init;
    hr = menu->QueryInterface(IID_IShellExtInit, init.outVoid());
    if (FAILED(hr)) {
        std::printf("QueryInterface(IShellExtInit): 0x%08lx\n", static_cast<unsigned long>(hr));
        return static_cast<int>(hr);
    }
    // The object's first member is its interface table, inside the module.
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         *reinterpret_cast<LPCWSTR*>(menu.get()), &module);
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(module, path, MAX_PATH);
    char utf8[4 * MAX_PATH] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, path, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::printf("%s\n", utf8);
    return 0;
}
