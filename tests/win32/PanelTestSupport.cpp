#include "tests/win32/PanelTestSupport.h"

#include "dialog/win32/PanelHost.h"

namespace panel_test {

namespace {

INT_PTR CALLBACK ParentProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

}  // namespace

CParentDialog::CParentDialog(bool visible) {
    // A dialog template with no menu, class, title or controls.
    struct alignas(DWORD) {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } tpl{};
    tpl.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | (visible ? WS_VISIBLE : 0);
    tpl.dialog.cx = 320;
    tpl.dialog.cy = 200;
    hwnd_ = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), &tpl.dialog, nullptr, ParentProc, 0);
}

CParentDialog::~CParentDialog() {
    if (hwnd_) ::DestroyWindow(hwnd_);
    TakeChanges(nullptr);
}

std::vector<LPARAM> TakeChanges(HWND parent) {
    std::vector<LPARAM> changes;
    MSG msg;
    while (::PeekMessageW(&msg, parent, WM_PANEL_CHANGED, WM_PANEL_CHANGED, PM_REMOVE)) changes.push_back(msg.lParam);
    return changes;
}

std::string KindOf(HWND control) {
    wchar_t cls[32] = {};
    ::GetClassNameW(control, cls, 32);
    const std::wstring name = cls;
    if (::lstrcmpiW(cls, L"Edit") == 0) return "Edit";
    if (::lstrcmpiW(cls, L"ComboBox") == 0) return "ComboBox";
    if (::lstrcmpiW(cls, L"Button") == 0) {
        switch (::GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) {
            case BS_AUTOCHECKBOX:
            case BS_CHECKBOX:
                return "CheckBox";
            case BS_AUTORADIOBUTTON:
            case BS_RADIOBUTTON:
                return "Radio";
            default:
                return "Button";
        }
    }
    return std::string(name.begin(), name.end());
}

std::vector<CCatalogueSlot> Actions() {
    std::vector<CCatalogueSlot> actions;
    for (const CCatalogueSlot& slot : ActionCatalogue())
        if (!slot.blank()) actions.push_back(slot);
    return actions;
}

std::vector<CCatalogueSlot> ActionsWithPanels() {
    std::vector<CCatalogueSlot> actions;
    for (const CCatalogueSlot& slot : Actions())
        if (slot.create) actions.push_back(slot);
    return actions;
}

std::string SlotName(const CCatalogueSlot& slot) {
    return slot.panelClass;
}

}  // namespace panel_test
