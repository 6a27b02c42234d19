// Shows one parameter panel in a captioned frame, for screenshots:
//   ShowPanels <template id> <ready-file> [name=value]...
// Each name=value sets a value of the panel's model, by its settings name,
// before the window is made. Once the
// panel is on screen it writes the frame's place on the screen to
// <ready-file> as an ImageMagick geometry (WxH+X+Y); it closes when that file
// is removed again, or after a minute at the latest.

#include <windows.h>

#include <shellapi.h>  // after windows.h, which it needs

#include <memory>
#include <string>
#include <vector>

#include "dialog/ActionCatalogue.h"
#include "dialog/StringTable.h"
#include "dialog/win32/PanelHost.h"
#include "platform/win32/Wide.h"
#include "tests/support/ScreenshotReady.h"

namespace {

INT_PTR CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        ::DestroyWindow(hwnd);
        return TRUE;
    }
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return message == WM_INITDIALOG;
}

HWND CreateFrame(const std::string& caption) {
    struct alignas(DWORD) {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } tpl{};
    tpl.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    tpl.dialog.cx = 100;
    tpl.dialog.cy = 50;
    const HWND frame = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), &tpl.dialog, nullptr, FrameProc, 0);
    if (frame) ::SetWindowTextW(frame, platform::Widen(caption).c_str());
    return frame;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc < 3) return 2;
    const int templateId = std::stoi(argv[1]);
    const std::wstring readyFile = argv[2];
    std::vector<std::string> settings;
    for (int i = 3; i < argc; ++i) settings.push_back(platform::Narrow(argv[i]));
    ::LocalFree(argv);

    const CCatalogueSlot* slot = nullptr;
    for (const CCatalogueSlot& s : ActionCatalogue())
        if (!s.blank() && s.panelTemplate == templateId) slot = &s;
    if (!slot || !slot->create) return 2;

    const HWND frame = CreateFrame(LoadStringText(slot->textId));
    if (!frame) return 1;
    std::unique_ptr<CRenameDlg> model = slot->create(nullptr);
    for (const std::string& s : settings) {
        const size_t eq = s.find('=');
        if (eq == std::string::npos || !model->SetValue(s.substr(0, eq), s.substr(eq + 1))) return 2;
    }
    CPanelHost host(*model);
    if (!host.Create(instance, frame)) return 1;
    const HWND panel = host.window();

    // The frame's client area is exactly the panel, as the main dialog will
    // hold it.
    RECT r{};
    ::GetWindowRect(panel, &r);
    RECT outer{0, 0, r.right - r.left, r.bottom - r.top};
    ::AdjustWindowRectEx(&outer, static_cast<DWORD>(::GetWindowLongW(frame, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongW(frame, GWL_EXSTYLE)));
    ::SetWindowPos(frame, nullptr, 40, 40, outer.right - outer.left, outer.bottom - outer.top, SWP_NOZORDER);
    ::SetWindowPos(panel, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    ::ShowWindow(panel, SW_SHOW);
    ::ShowWindow(frame, SW_SHOW);
    ::UpdateWindow(frame);

    const DWORD started = ::GetTickCount();
    bool announced = false;
    MSG msg;
    for (;;) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return 0;
            if (!::IsDialogMessageW(frame, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        const DWORD elapsed = ::GetTickCount() - started;
        // Half a second on screen before the announcement, so the panel is painted.
        if (!announced && elapsed > 500) {
            screenshot::AnnounceWindow(readyFile, frame);
            announced = true;
        } else if (announced &&
                   (::GetFileAttributesW(readyFile.c_str()) == INVALID_FILE_ATTRIBUTES || elapsed > 60000)) {
            ::DestroyWindow(frame);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}
