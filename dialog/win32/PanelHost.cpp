#include "dialog/win32/PanelHost.h"

#include <algorithm>

#include "dialog/win32/Controls.h"
#include "dialog/win32/PanelLists.h"

namespace {

bool IsDialog(HWND window) {
    return WindowClass(window) == L"#32770";
}

bool IsEdit(HWND window) {
    return ::lstrcmpiW(WindowClass(window).c_str(), L"Edit") == 0;
}

}  // namespace

CPanelHost::CPanelHost(CRenameDlg& panel) : m_panel(panel), m_beep([] { ::MessageBeep(MB_ICONEXCLAMATION); }) {}

CPanelHost::~CPanelHost() {
    m_panel.SetChangeListener({});
}

bool CPanelHost::Create(HINSTANCE instance, HWND parent) {
    if (window()) return true;
    m_instance = instance;
    m_parent = parent;
    m_panel.SetChangeListener([this](CRenameDlg& changed) {
        ::PostMessageW(m_parent, WM_PANEL_CHANGED, 0, reinterpret_cast<LPARAM>(&changed));
    });
    const bool created = CreateModeless(instance, m_panel.templateId(), parent);
    if (!created) m_panel.SetChangeListener({});
    return created;
}

bool CPanelHost::OnInitDialog() {
    FillPanelLists(window(), m_instance, m_panel.templateId());
    for (const CPanelBinding& b : m_panel.bindings())
        if (b.kind == ValueKind::kEditText && b.maxChars > 0)
            ::SendDlgItemMessageW(window(), b.controlId, EM_LIMITTEXT, static_cast<WPARAM>(b.maxChars), 0);
    PushValues();
    // The main dialog places the focus when it shows the panel.
    return false;
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
    const HWND edit = item(id);
    const std::string typed = WindowText(edit);
    std::string kept = typed;
    if (m_panel.FilterText(id, kept)) {
        // Keep the caret where it was, counted from the end, so that typing
        // goes on where it stopped.
        DWORD selEnd = 0;
        ::SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selEnd));
        const long before = ::GetWindowTextLengthW(edit);
        ++m_quiet;
        WindowSetText(edit, kept);
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
    if (!window()) return;
    ++m_quiet;
    for (const CPanelBinding& b : m_panel.bindings()) {
        switch (b.kind) {
            case ValueKind::kEditText:
                DialogItemSetText(window(), b.controlId, *b.text);
                break;
            case ValueKind::kComboIndex:
                ComboSelect(item(b.controlId), *b.number);
                break;
            case ValueKind::kCheckBox:
                ButtonSetChecked(window(), b.controlId, *b.number != 0);
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
    if (!window()) return;
    for (const CPanelBinding& b : m_panel.bindings()) {
        switch (b.kind) {
            case ValueKind::kEditText:
                *b.text = DialogItemText(window(), b.controlId);
                break;
            case ValueKind::kComboIndex: {
                const int index = ComboSelection(item(b.controlId));
                // A combo with nothing selected keeps the model's choice.
                if (b.Accepts(index)) *b.number = index;
                break;
            }
            case ValueKind::kCheckBox:
                *b.number = ButtonChecked(window(), b.controlId) ? 1 : 0;
                break;
            case ValueKind::kRadioGroup:
                for (const CRadioChoice& r : b.radios)
                    if (ButtonChecked(window(), r.radioId)) *b.number = r.radioId;
                break;
        }
    }
}

void CPanelHost::ShowRadios() {
    for (const CPanelBinding& b : m_panel.bindings())
        if (b.kind == ValueKind::kRadioGroup)
            for (const CRadioChoice& r : b.radios)
                ButtonSetChecked(window(), r.radioId, r.radioId == *b.number);
}

void CPanelHost::UpdateEnabling() {
    for (const auto& [id, enabled] : m_panel.ControlStates())
        if (const HWND control = item(id)) ::EnableWindow(control, enabled);
}

void CPanelHost::Changed() {
    PullValues();
    m_panel.NotifyChanged();
}

void CPanelHost::FocusFirstField() {
    if (!window() || m_panel.focusKind() == FocusKind::kNone) return;
    const int id = m_panel.focusControl();
    HWND field = id ? item(id) : nullptr;
    // The field may be off with its radio button: the first field that is on
    // takes the focus instead.
    if (!field || !::IsWindowEnabled(field)) field = ::GetNextDlgTabItem(window(), nullptr, FALSE);
    if (!field) return;
    switch (m_panel.focusKind()) {
        case FocusKind::kNextControl: {
            // As tabbing does: through the dialog that holds the panel, which
            // also moves its default button and selects an edit's text.
            const HWND root = ::GetAncestor(window(), GA_ROOT);
            if (root && root != window() && IsDialog(root)) {
                DialogFocus(root, field);
            } else {
                ::SetFocus(field);
                if (IsEdit(field)) EditSelect(field, 0, -1);
            }
            break;
        }
        case FocusKind::kSelectAll:
            ::SetFocus(field);
            if (IsEdit(field)) EditSelectAll(field);
            break;
        case FocusKind::kCombo: {
            ::SetFocus(field);
            const CPanelBinding* b = m_panel.FindControl(::GetDlgCtrlID(field));
            if (b && b->kind == ValueKind::kComboIndex) ComboSelect(field, *b->number);
            break;
        }
        case FocusKind::kNone:
            break;
    }
}
