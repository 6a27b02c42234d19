#include "dialog/win32/PanelHost.h"

#include <algorithm>

#include "dialog/PanelIds.h"
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

CPanelHost::CPanelHost(CRenameDlg& panel) : panel_(panel), beep_([] { ::MessageBeep(MB_ICONEXCLAMATION); }) {}

CPanelHost::~CPanelHost() {
    panel_.SetChangeListener({});
}

bool CPanelHost::Create(HINSTANCE instance, HWND parent) {
    if (window()) return true;
    instance_ = instance;
    parent_ = parent;
    panel_.SetChangeListener([this](CRenameDlg& changed) {
        ::PostMessageW(parent_, WM_PANEL_CHANGED, 0, reinterpret_cast<LPARAM>(&changed));
    });
    const bool created = CreateModeless(instance, panel_.templateId(), parent);
    if (!created) panel_.SetChangeListener({});
    return created;
}

bool CPanelHost::OnInitDialog() {
    FillPanelLists(window(), instance_, panel_.templateId());
    for (const CPanelBinding& b : panel_.bindings())
        if (b.kind == ValueKind::kEditText && b.maxChars > 0)
            ::SendDlgItemMessageW(window(), b.controlId, EM_LIMITTEXT, static_cast<WPARAM>(b.maxChars), 0);
    PushValues();
    // The main dialog places the focus when it shows the panel.
    return false;
}

void CPanelHost::OnCommand(int id, int code) {
    if (quiet_) return;
    const CPanelBinding* b = panel_.FindControl(id);
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
    if (panel_.FilterText(id, kept)) {
        // Keep the caret where it was, counted from the end, so that typing
        // goes on where it stopped.
        DWORD selEnd = 0;
        ::SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selEnd));
        const long before = ::GetWindowTextLengthW(edit);
        ++quiet_;
        WindowSetText(edit, kept);
        --quiet_;
        const long after = ::GetWindowTextLengthW(edit);
        const long caret = std::clamp(after - (before - static_cast<long>(selEnd)), 0L, after);
        ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(caret), caret);
        beep_();
        const CPanelBinding* b = panel_.FindControl(id);
        // Nothing of what was typed was kept: the value did not change.
        if (b && b->text && *b->text == kept) return;
    }
    Changed();
}

void CPanelHost::OnRadioClick(int id) {
    panel_.CheckRadio(id);
    ShowRadios();
    UpdateEnabling();
    Changed();
}

bool CPanelHost::IsRadio(int id) const {
    for (const CPanelBinding& b : panel_.bindings())
        if (b.kind == ValueKind::kRadioGroup)
            for (const CRadioChoice& r : b.radios)
                if (r.radioId == id) return true;
    return false;
}

void CPanelHost::PushValues() {
    if (!window()) return;
    ++quiet_;
    for (const CPanelBinding& b : panel_.bindings()) {
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
    --quiet_;
    ShowRadios();
    UpdateEnabling();
    ShowProblem();
}

void CPanelHost::PullValues() {
    if (!window()) return;
    for (const CPanelBinding& b : panel_.bindings()) {
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
    for (const CPanelBinding& b : panel_.bindings())
        if (b.kind == ValueKind::kRadioGroup)
            for (const CRadioChoice& r : b.radios)
                ButtonSetChecked(window(), r.radioId, r.radioId == *b.number);
}

void CPanelHost::UpdateEnabling() {
    for (const auto& [id, enabled] : panel_.ControlStates())
        if (const HWND control = item(id)) ::EnableWindow(control, enabled);
}

void CPanelHost::ShowProblem() {
    if (item(IDC_PANEL_PROBLEM)) DialogItemSetText(window(), IDC_PANEL_PROBLEM, panel_.Problem());
}

void CPanelHost::Changed() {
    PullValues();
    ShowProblem();
    panel_.NotifyChanged();
}

void CPanelHost::FocusFirstField() {
    if (!window() || panel_.focusKind() == FocusKind::kNone) return;
    const int id = panel_.focusControl();
    HWND field = id ? item(id) : nullptr;
    // The field may be off with its radio button: the first field that is on
    // takes the focus instead.
    if (!field || !::IsWindowEnabled(field)) field = ::GetNextDlgTabItem(window(), nullptr, FALSE);
    if (!field) return;
    switch (panel_.focusKind()) {
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
            const CPanelBinding* b = panel_.FindControl(::GetDlgCtrlID(field));
            if (b && b->kind == ValueKind::kComboIndex) ComboSelect(field, *b->number);
            break;
        }
        case FocusKind::kNone:
            break;
    }
}
