// Shows one of the conflict and confirmation dialogs with sample names, for
// screenshots: ShowDialogs <confirm|duplicate|illegal|toolong|error|inuse> <ready-file>.
// Once the dialog is on screen it writes its place on the screen to
// <ready-file> as an ImageMagick geometry (WxH+X+Y); it closes the dialog when
// that file is removed again, or after a minute at the latest.

#include <windows.h>

#include <shellapi.h>  // after windows.h, which it needs

#include <string>

#include "dialog/win32/Win32Prompts.h"
#include "tests/support/ScreenshotReady.h"

namespace {

std::wstring g_readyFile;
bool g_announced = false;
DWORD g_started = 0;

BOOL CALLBACK findDialog(HWND hwnd, LPARAM found) {
    wchar_t cls[16] = {};
    ::GetClassNameW(hwnd, cls, 16);
    if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK onTick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    const bool exists = ::GetFileAttributesW(g_readyFile.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!g_announced) {
        ::UpdateWindow(dialog);
        screenshot::AnnounceWindow(g_readyFile, dialog);
        g_announced = true;
    } else if (!exists || ::GetTickCount() - g_started > 60000) {
        ::EndDialog(dialog, IDCANCEL);
    }
}

CNameRequest names(const char* oldName, const char* computed) {
    CNameRequest request;
    request.oldName = oldName;
    request.computed = computed;
    request.newName = computed;
    return request;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc != 3) return 2;
    const std::wstring which = argv[1];
    g_readyFile = argv[2];
    ::LocalFree(argv);

    g_started = ::GetTickCount();
    // Half a second on screen before the announcement, so the dialog is painted.
    ::SetTimer(nullptr, 0, 500, onTick);
    Win32Prompts prompts;
    if (which == L"confirm") {
        CNameRequest request = names("IMG_0001.jpg", "Holiday 2023 - IMG_0001.jpg");
        request.highlight = "Holiday 2023";
        request.highlightStart = 0;
        request.highlightSpan = 12;
        prompts.Confirm(request);
    } else if (which == L"duplicate") {
        CNameRequest request = names("C:\\Users\\anna\\Pictures\\Holiday 2023\\IMG_0001.jpg", "Beach.jpg");
        prompts.Duplicate(request);
    } else if (which == L"illegal") {
        CNameRequest request = names("C:\\Users\\anna\\Documents\\Report.txt", "Report: final?.txt");
        prompts.Illegal(request);
    } else if (which == L"toolong") {
        CNameRequest request = names("C:\\Users\\anna\\Documents\\Notes\\Minutes.txt",
                                     "Minutes of the meeting on the budget for the next three years, with all the "
                                     "remarks made by every member of the committee.txt");
        prompts.TooLong(request);
    } else if (which == L"error" || which == L"inuse") {
        CErrorReport report;
        report.title = "Cannot rename";
        report.headline = "The file cannot be renamed.";
        report.fileName = "C:\\Users\\anna\\Documents\\Locked report.docx";
        report.errorCode = 32;
        report.explanation = "The process cannot access the file because it is being used by another process.";
        // As a run offers it: who holds the file, and "Try again".
        if (which == L"inuse") {
            report.holders = {"Microsoft Word (pid 4242)"};
            report.canRetry = true;
        }
        prompts.DefaultError(report);
    } else {
        return 2;
    }
    return 0;
}
