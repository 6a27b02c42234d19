// Shows the rename dialog of Qln.dll over a folder, for screenshots and for
// looking at it by hand:
//   ShowMainDialog <scene> <ready-file> <folder>
// Scenes: first, collapsed, conflict, large, steps (three steps), presets
// (the Presets button's menu open over two kept presets), pattern ("Replace
// by pattern" with a pattern that does not compile), choices (rows left out,
// a name typed by hand, the row menu); and for the pictures of the
// info wizard: scope and actions (the focus on that list), replace ("Replace
// anywhere" filled in) and ready (the dialog at its smallest height, the
// focus on OK); reading (the folder itself handed over, the dialog caught
// while it reads) and running (OK clicked: the run's progress and Stop).
// The dialog opens with "Add to beginning" and "Holiday " over the folder's
// entries, less those whose names begin with "Holiday " already, as a user
// would select them (so that such a name is taken outside the selection). Once the scene is set it writes the place on the screen to capture
// to <ready-file> (an ImageMagick geometry, WxH+X+Y); it closes everything
// when that file is removed again, or after two minutes at the latest.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>  // after windows.h, which they need

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "dialog/PanelIds.h"
#include "dialog/win32/MainResource.h"
#include "platform/win32/Wide.h"
#include "tests/library/LibraryDriver.h"
#include "tests/support/ScreenshotReady.h"

using namespace library_test;

namespace {

RECT Bounds(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

// The shown panel's control `id`.
HWND PanelField(HWND main, int id) {
    return ::GetDlgItem(ChildDialogWith(main, id), id);
}

void ClickHeader(HWND parent, int id) {
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(parent, id)));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc != 4) return 2;
    const std::wstring scene = argv[1];
    const std::wstring readyFile = argv[2];
    const std::string folder = platform::Narrow(argv[3]);
    ::LocalFree(argv);

    // The folder's entries, as Explorer would hand them over.
    std::vector<std::string> paths;
    const bool whole = scene == L"reading" || scene == L"running";
    if (whole) paths.push_back(folder);
    WIN32_FIND_DATAW data;
    HANDLE find = whole ? INVALID_HANDLE_VALUE : ::FindFirstFileW(platform::Widen(folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L".." && name.rfind(L"Holiday ", 0) != 0)
                paths.push_back(folder + "\\" + platform::Narrow(name));
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    std::sort(paths.begin(), paths.end());
    std::vector<const char*> raw;
    for (const auto& p : paths) raw.push_back(p.c_str());

    // As a user left them: the action and its text, every option at its default.
    StoreSettings({{L"lastSelection", L"Add to beginning"}, {L"add", L"Holiday "}}, {{L"renameKind", 0}});
    Library library;
    if (!library.handleRename) return 1;
    bool done = false;
    std::thread director([&] {
        const HWND main = WaitForMainDialog(120000);
        if (!main) return;
        const HWND list = ::GetDlgItem(ChildDialogWith(main, IDC_PREVIEW_LIST), IDC_PREVIEW_LIST);
        const auto status = [&] { return Text(main, IDC_MAIN_STATUS); };
        if (scene == L"reading")
            // Far enough into the folder that the count means something.
            WaitUntil([&] { return status().rfind("Reading... ", 0) == 0 && status().size() >= 23; }, 120000);
        else
            WaitUntil([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0; }, 120000);
        RECT shot = Bounds(main);
        if (scene == L"running") {
            WaitUntil([&] { return ::SendMessageW(main, WM_MAIN_BUSY, 0, 0) == 0; }, 120000);
            ClickLater(::GetDlgItem(main, IDOK));
            WaitUntil([&] { return status().rfind("Renaming... ", 0) == 0 && status().rfind("Renaming... 0 ", 0) != 0; },
                      120000);
            ::PostMessageW(main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(main, IDOK)), TRUE);
        } else if (scene == L"collapsed") {
            ClickHeader(ChildDialogWith(main, IDC_HEADER_INTERACTION), IDC_HEADER_INTERACTION);
            ClickHeader(ChildDialogWith(main, IDC_HEADER_PREVIEW), IDC_HEADER_PREVIEW);
            ClickHeader(ChildDialogWith(main, IDC_HEADER_SORTING), IDC_HEADER_SORTING);
        } else if (scene == L"conflict") {
            ClickLater(::GetDlgItem(main, IDOK));
            const HWND duplicate = WaitForWindow("Duplicate file name", 30000);
            if (duplicate) {
                // The dialog in front of the main one, both in the picture.
                const RECT front = Bounds(duplicate);
                shot = RECT{std::min(shot.left, front.left), std::min(shot.top, front.top),
                            std::max(shot.right, front.right), std::max(shot.bottom, front.bottom)};
            }
        } else if (scene == L"scope" || scene == L"actions") {
            // The list the user is about to choose from has the focus.
            const HWND combo = ::GetDlgItem(main, scene == L"scope" ? IDC_MAIN_SCOPE : IDC_MAIN_ACTION);
            ::PostMessageW(main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(combo), TRUE);
        } else if (scene == L"replace") {
            const HWND action = ::GetDlgItem(main, IDC_MAIN_ACTION);
            ComboChoose(::GetDlgItem(main, IDC_MAIN_SCOPE), 1);
            ComboChoose(action, ComboFind(action, "Replace anywhere"));
            EditSetText(PanelField(main, IDC_PANEL_FIND), "IMG_");
            EditSetText(PanelField(main, IDC_PANEL_REPLACE), "Holiday ");
            ::PostMessageW(main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(PanelField(main, IDC_PANEL_REPLACE)), TRUE);
            // The taller panel moved the sections down, and under Wine their
            // old places are not all drawn again yet: the whole dialog is.
            ::Sleep(300);
            ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        } else if (scene == L"steps" || scene == L"presets") {
            // "Holiday " at the front, then a number at the end of the name,
            // then the extension in lower case.
            const HWND action = ::GetDlgItem(main, IDC_MAIN_ACTION);
            const HWND scope = ::GetDlgItem(main, IDC_MAIN_SCOPE);
            ComboChoose(scope, 1);
            ComboChoose(action, ComboFind(action, "Replace anywhere"));
            EditSetText(PanelField(main, IDC_PANEL_FIND), "IMG_");
            EditSetText(PanelField(main, IDC_PANEL_REPLACE), "Holiday ");
            Click(::GetDlgItem(main, IDC_MAIN_STEP_ADD));
            ComboChoose(action, ComboFind(action, "Add number to end"));
            EditSetText(PanelField(main, IDC_PANEL_DIGITS), "2");
            Click(::GetDlgItem(main, IDC_MAIN_STEP_ADD));
            ComboChoose(scope, 3);
            ComboChoose(action, ComboFind(action, "Make lowercase"));
            ::Sleep(300);
            ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            if (scene == L"presets") {
                // Two kept, as the Save as... box keeps them, then the menu.
                for (const char* name : {"Holiday photos", "Scans, numbered"}) {
                    ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(ID_PRESET_SAVE_AS, 0), 0);
                    const HWND box = WaitForWindow("Save preset", 10000);
                    if (!box) break;
                    EditSetText(::GetDlgItem(box, IDC_PRESET_NAME), name);
                    Click(::GetDlgItem(box, IDOK));
                    WaitUntil([&] { return !::IsWindow(box); });
                }
                ClickLater(::GetDlgItem(main, IDC_MAIN_PRESETS));
                HWND menu = nullptr;
                WaitUntil([&] { return (menu = ::FindWindowW(L"#32768", nullptr)) != nullptr; });
                if (menu) {
                    const RECT front = Bounds(menu);
                    shot = RECT{std::min(shot.left, front.left), std::min(shot.top, front.top),
                                std::max(shot.right, front.right), std::max(shot.bottom, front.bottom)};
                }
            }
        } else if (scene == L"pattern") {
            const HWND action = ::GetDlgItem(main, IDC_MAIN_ACTION);
            ComboChoose(::GetDlgItem(main, IDC_MAIN_SCOPE), 1);
            ComboChoose(action, ComboFind(action, "Replace by pattern"));
            EditSetText(PanelField(main, IDC_PANEL_REPLACE), "Holiday $1");
            EditSetText(PanelField(main, IDC_PANEL_FIND), "IMG_(\\d+");
            ::PostMessageW(main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(PanelField(main, IDC_PANEL_FIND)), TRUE);
            ::Sleep(300);
            ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        } else if (scene == L"choices") {
            // Two rows left out by their boxes, one name typed by hand, and
            // the row menu open over it.
            WaitUntil([&] { return ::SendMessageW(main, WM_MAIN_BUSY, 0, 0) == 0; }, 120000);
            const auto focus = [&](int row) {
                LVITEMW state{};
                state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
                ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
                state.state = LVIS_SELECTED | LVIS_FOCUSED;
                ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
            };
            for (int row : {1, 4}) {
                focus(row);
                ::SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
            }
            focus(2);
            ::SendMessageW(list, WM_KEYDOWN, VK_F2, 0);
            HWND box = nullptr;
            WaitUntil([&] { return (box = ::FindWindowExW(list, nullptr, L"Edit", nullptr)) != nullptr; });
            if (box) {
                ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Beach at dusk.jpg"));
                ::SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
            }
            WaitUntil([&] { return ::SendMessageW(main, WM_MAIN_BUSY, 0, 0) == 0; }, 120000);
            ::Sleep(300);
            ::PostMessageW(list, WM_KEYDOWN, VK_APPS, 0);
            HWND menu = nullptr;
            WaitUntil([&] { return (menu = ::FindWindowW(L"#32768", nullptr)) != nullptr; });
            if (menu) {
                const RECT front = Bounds(menu);
                shot = RECT{std::min(shot.left, front.left), std::min(shot.top, front.top),
                            std::max(shot.right, front.right), std::max(shot.bottom, front.bottom)};
            }
        } else if (scene == L"ready") {
            // As short as the dialog goes: the preview's rows, then OK.
            const RECT r = Bounds(main);
            ::SetWindowPos(main, nullptr, 0, 0, r.right - r.left, 1, SWP_NOMOVE | SWP_NOZORDER);
            ::PostMessageW(main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(main, IDOK)), TRUE);
            ::Sleep(300);
            shot = Bounds(main);
        }
        if (scene != L"reading" && scene != L"running") ::Sleep(700);  // painted
        screenshot::AnnounceRect(readyFile, shot);
        const DWORD start = ::GetTickCount();
        while (::GetFileAttributesW(readyFile.c_str()) != INVALID_FILE_ATTRIBUTES && ::GetTickCount() - start < 120000)
            ::Sleep(100);
        while (!done) {
            ::PostMessageW(main, WM_CANCELMODE, 0, 0);  // a menu that is open
            CloseEverything();
            ::Sleep(200);
        }
    });
    library.handleRename(nullptr, 0, raw.data(), static_cast<int>(raw.size()));
    done = true;
    director.join();
    ForgetSettings();
    return 0;
}
