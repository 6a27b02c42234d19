#include "dialog/win32/ModalDlg.h"

#include "platform/win32/Wide.h"

INT_PTR CModalDlg::DoModal(HINSTANCE instance, HWND owner) {
    const INT_PTR result = ::DialogBoxParamW(instance, MAKEINTRESOURCEW(m_templateId), owner, &CModalDlg::DialogProc,
                                             reinterpret_cast<LPARAM>(this));
    m_hwnd = nullptr;
    // 0 means the owner was not a window: the dialog never showed.
    return result == 0 ? kFailed : result;
}

INT_PTR CALLBACK CModalDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CModalDlg* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CModalDlg*>(lParam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->m_hwnd = hwnd;
    } else {
        self = reinterpret_cast<CModalDlg*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    try {
        return self->handle(message, wParam, lParam);
    } catch (...) {
        // Half-filled controls or a half-copied name must not reach the run.
        ::EndDialog(hwnd, kFailed);
        return TRUE;
    }
}

INT_PTR CModalDlg::handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            // Every dialog places its own focus.
            return FALSE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

void CModalDlg::setItemText(int id, const std::string& text) {
    ::SetDlgItemTextW(m_hwnd, id, platform::widen(text).c_str());
}

std::string CModalDlg::itemText(int id) const {
    const HWND item = ::GetDlgItem(m_hwnd, id);
    const int length = ::GetWindowTextLengthW(item);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(item, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return platform::narrow(text);
}

void CModalDlg::focusItem(int id) {
    ::SendMessageW(m_hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(m_hwnd, id)), TRUE);
}

void CModalDlg::revealEnd(int id) {
    const HWND edit = ::GetDlgItem(m_hwnd, id);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
}

void CModalDlg::end(INT_PTR code) {
    ::EndDialog(m_hwnd, code);
}
