// Shows the context menu that the built extension makes over a selection,
// with two kept presets and its presets submenu open, for the screenshot
// script:
//   ShowMenu menu <ready-file>
// It writes the place on the screen to capture to <ready-file> once the
// submenu shows, and closes the menu when that file is removed again, or
// after two minutes at the latest.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <thread>

#include "tests/shellext/ExtensionTestSupport.h"
#include "tests/support/ScreenshotReady.h"

namespace {

struct Menus {
    RECT bounds{};
    int count = 0;
};

BOOL CALLBACK CollectMenu(HWND window, LPARAM data) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (!::IsWindowVisible(window) || std::wstring(name) != L"#32768") return TRUE;
    auto* menus = reinterpret_cast<Menus*>(data);
    RECT r{};
    ::GetWindowRect(window, &r);
    if (menus->count++ == 0)
        menus->bounds = r;
    else
        ::UnionRect(&menus->bounds, &menus->bounds, &r);
    return TRUE;
}

Menus ShownMenus() {
    Menus menus;
    ::EnumWindows(CollectMenu, reinterpret_cast<LPARAM>(&menus));
    return menus;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc != 3) return 2;
    const std::wstring readyFile = argv[2];
    ::LocalFree(argv);

    win::ScopedCom com;
    ext_test::CKeptPresets kept(L"Holiday photos\nScans, numbered\n");
    ext_test::CLoadedExtension extension(ext_test::BuiltDll());
    const win::ComPtr<IContextMenu> handler = extension.create();
    win::ComPtr<IShellExtInit> init;
    if (!handler || FAILED(handler->QueryInterface(IID_IShellExtInit, init.outVoid()))) return 1;
    ext_test::CFakeDataObject data(ext_test::DropAnswer::Paths, {L"C:\\Photos\\IMG_0001.jpg"});
    init->Initialize(nullptr, &data, nullptr);

    // A menu as Explorer's begins, with the extension's items among them.
    const HMENU menu = ::CreatePopupMenu();
    for (const wchar_t* item : {L"&Open", L"&Edit", L"&Print", L"-", L"Cu&t", L"&Copy", L"-", L"&Delete", L"Rena&me",
                                L"-", L"P&roperties"})
        ::AppendMenuW(menu, item[0] == L'-' ? MF_SEPARATOR : MF_STRING, 1, item[0] == L'-' ? nullptr : item);
    handler->QueryContextMenu(menu, 3, 100, 199, CMF_NORMAL);

    const HWND owner = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    const DWORD thread = ::GetCurrentThreadId();
    std::thread director([&] {
        win_test::WaitUntil([] { return ShownMenus().count > 0; }, 30000);
        // Down to "Quorlin presets" (past Open, Edit, Print and the item),
        // then into it.
        for (int i = 0; i < 5; ++i) ::PostThreadMessageW(thread, WM_KEYDOWN, VK_DOWN, 0);
        ::PostThreadMessageW(thread, WM_KEYDOWN, VK_RIGHT, 0);
        win_test::WaitUntil([] { return ShownMenus().count > 1; }, 10000);
        ::Sleep(500);  // painted
        screenshot::AnnounceRect(readyFile, ShownMenus().bounds);
        const DWORD start = ::GetTickCount();
        while (::GetFileAttributesW(readyFile.c_str()) != INVALID_FILE_ATTRIBUTES && ::GetTickCount() - start < 120000)
            ::Sleep(100);
        ::PostMessageW(owner, WM_CANCELMODE, 0, 0);
        ::PostThreadMessageW(thread, WM_KEYDOWN, VK_ESCAPE, 0);
        ::PostThreadMessageW(thread, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    ::SetForegroundWindow(owner);
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, 40, 40, 0, owner, nullptr);
    director.join();
    ::DestroyMenu(menu);
    ::DestroyWindow(owner);
    return 0;
}
