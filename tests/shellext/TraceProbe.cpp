// Makes one call of each kind to the extension named on the command line, in
// the order the trace test expects their lines. Run under that test as a
// debugger, which receives every OutputDebugStringA.

#include <windows.h>

#include <shlobj.h>

#include "shellext/ClassId.h"

using GetClassObjectFn = HRESULT(WINAPI*)(const CLSID*, const IID*, void**);
using CanUnloadNowFn = HRESULT(WINAPI*)();

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const HMODULE module = ::LoadLibraryW(argv[1]);
    if (!module) return 3;
    const auto getClassObject =
        reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(::GetProcAddress(module, "DllGetClassObject")));
    const auto canUnloadNow =
        reinterpret_cast<CanUnloadNowFn>(reinterpret_cast<void*>(::GetProcAddress(module, "DllCanUnloadNow")));
    if (!getClassObject || !canUnloadNow) return 4;

    canUnloadNow();
    IClassFactory* factory = nullptr;
    getClassObject(&kQlnExtClsid, &IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (!factory) return 5;
    IShellExtInit* init = nullptr;
    factory->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&init));
    if (!init) return 6;
    IContextMenu* menu = nullptr;
    init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu));
    if (!menu) return 7;
    IUnknown* unknown = nullptr;
    init->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown));
    if (unknown) unknown->Release();
    void* none = nullptr;
    init->QueryInterface(IID_IDataObject, &none);
    init->Initialize(nullptr, nullptr, nullptr);

    const HMENU popup = ::CreatePopupMenu();
    const UINT flagSets[] = {CMF_NORMAL,      CMF_VERBSONLY, CMF_EXPLORE,
                             CMF_DEFAULTONLY, CMF_NOVERBS,   CMF_NOVERBS | 0x80000000u};
    for (const UINT flags : flagSets) {
        menu->QueryContextMenu(popup, 0, 1, 10, flags);
    }
    ::DestroyMenu(popup);
    char help[64];
    menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, help, sizeof help);
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof info;
    info.lpVerb = MAKEINTRESOURCEA(0);
    menu->InvokeCommand(&info);
    info.lpVerb = "rename";
    menu->InvokeCommand(&info);

    menu->Release();
    init->Release();
    factory->Release();
    canUnloadNow();
    ::FreeLibrary(module);
    return 0;
}
