#include "dialog/win32/Dialog.h"

CDialog::~CDialog() {
    // A modeless window outliving its object would call into freed memory.
    if (hwnd_ && !modal_) {
        ::SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        ::DestroyWindow(hwnd_);
    }
}

INT_PTR CDialog::RunModal(HINSTANCE instance, int templateId, HWND owner) {
    modal_ = true;
    const INT_PTR result = ::DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, &CDialog::DialogProc,
                                             reinterpret_cast<LPARAM>(this));
    hwnd_ = nullptr;
    // 0 means the owner was not a window; -1 that the template is missing.
    return result == 0 ? kFailed : result;
}

INT_PTR CDialog::RunModal(HINSTANCE instance, const DLGTEMPLATE* dialogTemplate, HWND owner) {
    modal_ = true;
    const INT_PTR result = ::DialogBoxIndirectParamW(instance, dialogTemplate, owner, &CDialog::DialogProc,
                                                     reinterpret_cast<LPARAM>(this));
    hwnd_ = nullptr;
    return result == 0 ? kFailed : result;
}

bool CDialog::CreateModeless(HINSTANCE instance, int templateId, HWND parent) {
    modal_ = false;
    return ::CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), parent, &CDialog::DialogProc,
                                reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::FillPage(PROPSHEETPAGEW& page, HINSTANCE instance, int templateId) {
    modal_ = true;  // the sheet destroys the page's window
    page = PROPSHEETPAGEW{};
    page.dwSize = sizeof page;
    page.hInstance = instance;
    page.pszTemplate = MAKEINTRESOURCEW(templateId);
    page.pfnDlgProc = &CDialog::PageProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
}

void CDialog::End(INT_PTR code) {
    if (hwnd_) ::EndDialog(hwnd_, code);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    return Dispatch(self, hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK CDialog::PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        // A page is handed its PROPSHEETPAGE, which carries the object.
        const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        self = reinterpret_cast<CDialog*>(page->lParam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, page->lParam);
    } else {
        self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    return Dispatch(self, hwnd, message, wParam, lParam);
}

INT_PTR CDialog::Dispatch(CDialog* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!self) return FALSE;
    if (message == WM_INITDIALOG) self->hwnd_ = hwnd;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        return FALSE;
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        self->OnFailure();
        return TRUE;
    }
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog() ? TRUE : FALSE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY:
            ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, OnNotify(*reinterpret_cast<const NMHDR*>(lParam)));
            return TRUE;
        default:
            return FALSE;
    }
}

void CDialog::OnFailure() {
    if (modal_ && hwnd_) ::EndDialog(hwnd_, kFailed);
}

HINSTANCE ModuleOfThisCode() {
    static const int anchor = 0;
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&anchor), &module);
    return module;
}
