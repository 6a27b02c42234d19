#include "dialog/win32/PanelHost.h"

#include <algorithm>

#include "dialog/win32/PanelLists.h"
#include "platform/win32/Wide.h"

namespace {

std::string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return platform::narrow(text);
}

bool IsDialog(HWND window) {
    wchar_t cls[16] = {};
    ::GetClassNameW(window, cls, 16);
    return std::wstring_view(cls) == L"#32770";
}

bool IsEdit(HWND window) {
    wchar_t cls[16] = {};
    ::GetClassNameW(window, cls, 16);
    return ::lstrcmpiW(cls, L"Edit") == 0;
}

}  // namespace

CPanelHost::CPanelHost(CRenameDlg& panel) : m_panel(panel), m_beep([] { ::MessageBeep(MB_ICONEXCLAMATION); }) {}

CPanelHost::~CPanelHost() {
    m_panel.SetChangeListener({});
    if (m_hwnd) ::DestroyWindow(m_hwnd);
}

bool CPanelHost::Create(HINSTANCE instance, HWND parent) {
    if (m_hwnd) return true;
    m_instance = instance;
    m_parent = parent;
    m_panel.SetChangeListener([this](CRenameDlg& changed) {
        ::PostMessageW(m_parent, WM_PANEL_CHANGED, 0, reinterpret_cast<LPARAM>(&changed));
    });
    const HWND created = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(m_panel.templateId()), parent,
                                              &CPanelHost::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!created) m_panel.SetChangeListener({});
    return created != nullptr;
}

INT_PTR CALLBACK CPanelHost::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CPanelHost* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CPanelHost*>(lParam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->m_hwnd = hwnd;
    } else {
        self = reinterpret_cast<CPanelHost*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->m_hwnd = nullptr;
        return FALSE;
    }
    try {
        return self->handle(message, wParam, lParam);
    } catch (...) {
        // A value that could not be copied stays as it was; the next change
        // tries again. Nothing may unwind through the dialog manager.
        return TRUE;
    }
}

INT_PTR CPanelHost::handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            // The main dialog places the focus when it shows the panel.
            return FALSE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

void CPanelHost::OnInitDialog() {
    FillPanelLists(m_hwnd, m_instance, m_panel.templateId());
    for (const CPanelBinding& b : m_panel.bindings())
        if (b.kind == ValueKind::kEditText && b.maxChars > 0)
            ::SendDlgItemMessageW(m_hwnd, b.controlId, EM_LIMITTEXT, static_cast<WPARAM>(b.maxChars), 0);
    PushValues();
}

void CPanelHost::OnCommand(int id, int code) {
    if (m_quiet) return;
    const CPanelBinding* b = m_panel.FindControl(id);
    if (code == EN_CHANGE && b && b->kind == ValueKind::kEditText) {
        OnEditChange(id);
    } else if (code == CBN_SELCHANGE && b && b->kind == ValueKind::kComboIndex) {
        Changed();
    } else if (code == BN_CLICKED) {
        if (b && b->kind == ValueKind::kCheckBox)
            Changed();
        else if (IsRadio(id))
            OnRadioClick(id);
    }
}

void CPanelHost::OnEditChange(int id) {
    const HWND edit = ::GetDlgItem(m_hwnd, id);
    const std::string typed = WindowText(edit);
    std::string kept = typed;
    if (m_panel.FilterText(id, kept)) {
        // Keep the caret where it was, counted from the end, so that typing
        // goes on where it stopped.
        DWORD selEnd = 0;
        ::SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selEnd));
        const long before = ::GetWindowTextLengthW(edit);
        ++m_quiet;
        ::SetWindowTextW(edit, platform::widen(kept).c_str());
        --m_quiet;
        const long after = ::GetWindowTextLengthW(edit);
        const long caret = std::clamp(after - (before - static_cast<long>(selEnd)), 0L, after);
        ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(caret), caret);
        m_beep();
        const CPanelBinding* b = m_panel.FindControl(id);
        // Nothing of what was typed was kept: the value did not change.
        if (b && b->text && *b->text == kept) return;
    }
    Changed();
}

void CPanelHost::OnRadioClick(int id) {
    m_panel.CheckRadio(id);
    ShowRadios();
    UpdateEnabling();
    Changed();
}

bool CPanelHost::IsRadio(int id) const {
    for (const CPanelBinding& b : m_panel.bindings())
        if (b.kind == ValueKind::kRadioGroup)
            for (const CRadioChoice& r : b.radios)
                if (r.radioId == id) return true;
    return false;
}

void CPanelHost::PushValues() {
    if (!m_hwnd) return;
    ++m_quiet;
    for (const CPanelBinding& b : m_panel.bindings()) {
        switch (b.kind) {
            case ValueKind::kEditText:
                ::SetDlgItemTextW(m_hwnd, b.controlId, platform::widen(*b.text).c_str());
                break;
            case ValueKind::kComboIndex:
                ::SendDlgItemMessageW(m_hwnd, b.controlId, CB_SETCURSEL, static_cast<WPARAM>(*b.number), 0);
                break;
            case ValueKind::kCheckBox:
                ::CheckDlgButton(m_hwnd, b.controlId, *b.number ? BST_CHECKED : BST_UNCHECKED);
                break;
            case ValueKind::kRadioGroup:
                break;
        }
    }
    --m_quiet;
    ShowRadios();
    UpdateEnabling();
}

void CPanelHost::PullValues() {
    if (!m_hwnd) return;
    for (const CPanelBinding& b : m_panel.bindings()) {
        switch (b.kind) {
            case ValueKind::kEditText:
                *b.text = WindowText(::GetDlgItem(m_hwnd, b.controlId));
                break;
            case ValueKind::kComboIndex: {
                const auto index = static_cast<int>(::SendDlgItemMessageW(m_hwnd, b.controlId, CB_GETCURSEL, 0, 0));
                // A combo with nothing selected keeps the model's choice.
                if (b.Accepts(index)) *b.number = index;
                break;
            }
            case ValueKind::kCheckBox:
                *b.number = ::IsDlgButtonChecked(m_hwnd, b.controlId) == BST_CHECKED ? 1 : 0;
                break;
            case ValueKind::kRadioGroup:
                for (const CRadioChoice& r : b.radios)
                    if (::IsDlgButtonChecked(m_hwnd, r.radioId) == BST_CHECKED) *b.number = r.radioId;
                break;
        }
    }
}

void CPanelHost::ShowRadios() {
    for (const CPanelBinding& b : m_panel.bindings())
        if (b.kind == ValueKind::kRadioGroup)
            for (const CRadioChoice& r : b.radios)
                ::CheckDlgButton(m_hwnd, r.radioId, r.radioId == *b.number ? BST_CHECKED : BST_UNCHECKED);
}

void CPanelHost::UpdateEnabling() {
    for (const auto& [id, enabled] : m_panel.ControlStates())
        if (const HWND control = ::GetDlgItem(m_hwnd, id)) ::EnableWindow(control, enabled);
}

void CPanelHost::Changed() {
    PullValues();
    m_panel.NotifyChanged();
}

void CPanelHost::FocusFirstField() {
    if (!m_hwnd || m_panel.focusKind() == FocusKind::kNone) return;
    const int id = m_panel.focusControl();
    HWND field = id ? ::GetDlgItem(m_hwnd, id) : nullptr;
    // The field may be off with its radio button: the first field that is on
    // takes the focus instead.
    if (!field || !::IsWindowEnabled(field)) field = ::GetNextDlgTabItem(m_hwnd, nullptr, FALSE);
    if (!field) return;
    switch (m_panel.focusKind()) {
        case FocusKind::kNextControl: {
            // As tabbing does: through the dialog that holds the panel, which
            // also moves its default button and selects an edit's text.
            const HWND root = ::GetAncestor(m_hwnd, GA_ROOT);
            if (root && root != m_hwnd && IsDialog(root)) {
                ::SendMessageW(root, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
            } else {
                ::SetFocus(field);
                if (IsEdit(field)) ::SendMessageW(field, EM_SETSEL, 0, -1);
            }
            break;
        }
        case FocusKind::kSelectAll:
            ::SetFocus(field);
            if (IsEdit(field)) {
                ::SendMessageW(field, EM_SETSEL, 0, -1);
                ::SendMessageW(field, EM_SCROLLCARET, 0, 0);
            }
            break;
        case FocusKind::kCombo: {
            ::SetFocus(field);
            const CPanelBinding* b = m_panel.FindControl(::GetDlgCtrlID(field));
            if (b && b->kind == ValueKind::kComboIndex)
                ::SendMessageW(field, CB_SETCURSEL, static_cast<WPARAM>(*b->number), 0);
            break;
        }
        case FocusKind::kNone:
            break;
    }
}
