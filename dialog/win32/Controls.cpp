#include "dialog/win32/Controls.h"

#include <algorithm>

#include "platform/win32/Wide.h"

std::string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return platform::Narrow(text);
}

void WindowSetText(HWND window, std::string_view text) {
    ::SetWindowTextW(window, platform::Widen(text).c_str());
}

std::wstring WindowClass(HWND window) {
    wchar_t name[64] = {};
    const int n = ::GetClassNameW(window, name, 64);
    return std::wstring(name, static_cast<size_t>(std::max(n, 0)));
}

void WindowShow(HWND window, bool show) {
    if (window) ::ShowWindow(window, show ? SW_SHOW : SW_HIDE);
}

RECT WindowRectInParent(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void WindowMove(HWND window, const RECT& rect) {
    if (window) ::MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

std::string DialogItemText(HWND dialog, int id) {
    return WindowText(::GetDlgItem(dialog, id));
}

void DialogItemSetText(HWND dialog, int id, std::string_view text) {
    ::SetDlgItemTextW(dialog, id, platform::Widen(text).c_str());
}

void DialogFocus(HWND dialog, HWND control) {
    ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

RECT DialogUnitsToPixels(HWND dialog, RECT units) {
    ::MapDialogRect(dialog, &units);
    return units;
}

int DialogUnitsToPixelsX(HWND dialog, int units) {
    return DialogUnitsToPixels(dialog, RECT{0, 0, units, 0}).right;
}

int DialogUnitsToPixelsY(HWND dialog, int units) {
    return DialogUnitsToPixels(dialog, RECT{0, 0, 0, units}).bottom;
}

void EditSelect(HWND edit, int first, int last) {
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(first), static_cast<LPARAM>(last));
}

void EditSelectAll(HWND edit) {
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

void EditRevealEnd(HWND edit) {
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
}

void ComboClear(HWND combo) {
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
}

int ComboAdd(HWND combo, std::string_view text, LPARAM data) {
    const auto index = static_cast<int>(
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Widen(text).c_str())));
    if (index >= 0) ::SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), data);
    return index;
}

int ComboSelection(HWND combo) {
    return static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

void ComboSelect(HWND combo, int index) {
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

LPARAM ComboData(HWND combo, int index) {
    return ::SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}

int ComboCount(HWND combo) {
    return static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
}

bool ButtonChecked(HWND dialog, int id) {
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void ButtonSetChecked(HWND dialog, int id, bool checked) {
    ::CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void DrawHeader(const DRAWITEMSTRUCT& draw) {
    const std::wstring text = platform::Widen(WindowText(draw.hwndItem));
    RECT box = draw.rcItem;
    ::FillRect(draw.hDC, &box, ::GetSysColorBrush(COLOR_BTNFACE));
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(draw.hwndItem, WM_GETFONT, 0, 0));
    const HGDIOBJ old = font ? ::SelectObject(draw.hDC, font) : nullptr;
    ::SetBkMode(draw.hDC, TRANSPARENT);
    ::SetTextColor(draw.hDC, ::GetSysColor((draw.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    // The focus goes around the text alone, as a label's would.
    RECT measured = box;
    ::DrawTextW(draw.hDC, text.c_str(), -1, &measured, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_CALCRECT);
    measured.bottom = box.bottom;
    measured.top = box.top;
    ::DrawTextW(draw.hDC, text.c_str(), -1, &box, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    if ((draw.itemState & ODS_FOCUS) && !(draw.itemState & ODS_NOFOCUSRECT)) ::DrawFocusRect(draw.hDC, &measured);
    if (old) ::SelectObject(draw.hDC, old);
}
