// Drives the setup program's (or the uninstaller's) pages from outside, as a
// user would click through them, for scripts/screenshot-installer.sh:
//
//   installer_pilot page CAPTION FILE   waits until the window whose caption
//                                       starts with CAPTION shows a page that
//                                       is done (its Next/Install/Finish/Close
//                                       button enabled) and writes the
//                                       window's geometry ("WxH+X+Y") to FILE
//   installer_pilot click CAPTION ID    clicks the button ID (1 Next, 2 Cancel,
//                                       3 Back) and waits until the page has
//                                       changed or the window has gone
//
// Exit code 0 on success, 1 when the window or the page does not come.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kTimeoutMs = 60000;

struct Search {
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK matchCaption(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    // Each page adds its title to the caption ("Quorlin Setup: Installing").
    if (::IsWindowVisible(window) && std::wstring(text).rfind(search->caption, 0) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindSetupWindow(const wchar_t* caption) {
    Search search{caption, nullptr};
    ::EnumWindows(matchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The page is a dialog inside the main window.
HWND CurrentPage(HWND window) {
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        ::GetClassNameW(child, cls, 16);
        if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(child)) return child;
    }
    return nullptr;
}

template <typename Condition>
bool WaitFor(Condition condition) {
    const ULONGLONG deadline = ::GetTickCount64() + kTimeoutMs;
    while (!condition()) {
        if (::GetTickCount64() > deadline) return false;
        ::Sleep(100);
    }
    return true;
}

int Page(const wchar_t* caption, const wchar_t* file) {
    HWND window = nullptr;
    const bool done = WaitFor([&] {
        window = FindSetupWindow(caption);
        if (!window || !CurrentPage(window)) return false;
        const HWND next = ::GetDlgItem(window, IDOK);
        return next && ::IsWindowEnabled(next);
    });
    if (!done) {
        std::fwprintf(stderr, L"no finished page in a window \"%ls\"\n", caption);
        return 1;
    }
    // Let the page paint before it is captured.
    ::Sleep(700);
    RECT rect{};
    ::GetWindowRect(window, &rect);
    FILE* out = _wfopen(file, L"w");
    if (!out) return 1;
    std::fprintf(out, "%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left, rect.top);
    std::fclose(out);
    return 0;
}

int Click(const wchar_t* caption, int id) {
    const HWND window = FindSetupWindow(caption);
    if (!window) {
        std::fwprintf(stderr, L"no window \"%ls\"\n", caption);
        return 1;
    }
    const HWND page = CurrentPage(window);
    ::PostMessageW(::GetDlgItem(window, id), BM_CLICK, 0, 0);
    const bool changed = WaitFor([&] { return !::IsWindow(window) || CurrentPage(window) != page; });
    if (!changed) {
        std::fwprintf(stderr, L"the page of \"%ls\" did not change\n", caption);
        return 1;
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && std::wstring(argv[1]) == L"page") return Page(argv[2], argv[3]);
    if (argc == 4 && std::wstring(argv[1]) == L"click") return Click(argv[2], _wtoi(argv[3]));
    std::fwprintf(stderr, L"usage: installer_pilot page CAPTION FILE | click CAPTION ID\n");
    return 2;
}
