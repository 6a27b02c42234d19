#include "tests/win32/DialogDriver.h"

#include <gtest/gtest.h>

#include "platform/win32/Wide.h"

namespace dialog_test {

namespace {

constexpr UINT kPollMs = 20;

// How long a visible dialog may stay without the keyboard focus before its
// script runs anyway: under load the display server activates windows late.
constexpr DWORD kFocusWaitMs = 3000;

struct Run {
    const std::function<void(HWND)>* script = nullptr;
    UINT_PTR pollTimer = 0;
    UINT_PTR watchdogTimer = 0;
    bool started = false;
    DWORD seenAt = 0;  ///< when the dialog was first seen, 0 before
};
Run* g_run = nullptr;

BOOL CALLBACK findDialog(HWND hwnd, LPARAM found) {
    wchar_t cls[16] = {};
    ::GetClassNameW(hwnd, cls, 16);
    if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND openDialog() {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK onPoll(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_run || g_run->started) return;
    const HWND dialog = openDialog();
    if (!dialog) return;
    // Scripts look at the focus as the user meets the dialog: once it is active.
    const HWND focus = ::GetFocus();
    const bool focused = focus && (focus == dialog || ::IsChild(dialog, focus));
    if (!g_run->seenAt) g_run->seenAt = ::GetTickCount() | 1;
    if (!focused && ::GetTickCount() - g_run->seenAt < kFocusWaitMs) return;
    g_run->started = true;
    ::KillTimer(nullptr, g_run->pollTimer);
    g_run->pollTimer = 0;
    (*g_run->script)(dialog);
}

void CALLBACK onWatchdog(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_run) return;
    ::KillTimer(nullptr, g_run->watchdogTimer);
    g_run->watchdogTimer = 0;
    ADD_FAILURE() << "the dialog was still open when the watchdog fired";
    if (const HWND dialog = openDialog()) ::EndDialog(dialog, kWatchdog);
}

}  // namespace

int Drive(const std::function<int()>& open, const std::function<void(HWND)>& script, unsigned timeoutMs) {
    Run run;
    run.script = &script;
    g_run = &run;
    run.pollTimer = ::SetTimer(nullptr, 0, kPollMs, onPoll);
    run.watchdogTimer = ::SetTimer(nullptr, 0, timeoutMs, onWatchdog);
    const int result = open();
    if (run.pollTimer) ::KillTimer(nullptr, run.pollTimer);
    if (run.watchdogTimer) ::KillTimer(nullptr, run.watchdogTimer);
    g_run = nullptr;
    // Drop a tick that came due after the dialog closed.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    }
    return result;
}

std::string Text(HWND dialog, int id) {
    const HWND window = id ? ::GetDlgItem(dialog, id) : dialog;
    if (!window) return "<no control " + std::to_string(id) + ">";
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return platform::Narrow(text);
}

std::vector<std::string> ChildTexts(HWND dialog) {
    std::vector<std::string> texts;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!(::GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE)) continue;  // what the user sees
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(child)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(child, text.data(), static_cast<int>(text.size()))));
        texts.push_back(platform::Narrow(text));
    }
    return texts;
}

std::pair<DWORD, DWORD> Selection(HWND dialog, int id) {
    DWORD start = 0;
    DWORD end = 0;
    ::SendDlgItemMessageW(dialog, id, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

void Type(HWND dialog, int id, const std::string& text) {
    const HWND edit = ::GetDlgItem(dialog, id);
    for (const wchar_t unit : platform::Widen(text)) ::SendMessageW(edit, WM_CHAR, unit, 1);
}

void Paste(HWND dialog, int id, const std::string& text) {
    ::SendDlgItemMessageW(dialog, id, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(platform::Widen(text).c_str()));
}

bool ShowsItsEnd(HWND dialog, int id) {
    const HWND edit = ::GetDlgItem(dialog, id);
    const LRESULT length = ::GetWindowTextLengthW(edit);
    if (length < 1) return false;
    const LRESULT firstVisible = ::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    // A character scrolled out of view lies left or right of the client area.
    const LRESULT last = ::SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(length - 1), 0);
    RECT client{};
    ::GetClientRect(edit, &client);
    const int x = static_cast<short>(LOWORD(last));
    return firstVisible > 0 && last != -1 && x >= 0 && x < client.right;
}

void Click(HWND dialog, int id) {
    ::SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0);
}

void PressKey(HWND dialog, UINT virtualKey) {
    const HWND focus = ::GetFocus();
    const HWND target = focus && (focus == dialog || ::IsChild(dialog, focus)) ? focus : dialog;
    ::PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
    ::PostMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
}

}  // namespace dialog_test
