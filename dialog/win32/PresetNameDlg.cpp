#include "dialog/win32/PresetNameDlg.h"

#include "dialog/win32/Controls.h"
#include "dialog/win32/MainResource.h"

CPresetNameDlg::CPresetNameDlg(std::string caption, std::string name)
    : CModalDlg(IDD_PRESET_NAME), caption_(std::move(caption)), name_(std::move(name)) {}

bool CPresetNameDlg::OnInitDialog() {
    WindowSetText(window(), caption_);
    DialogItemSetText(window(), IDC_PRESET_NAME, name_);
    // Typing replaces the name offered.
    DialogFocus(window(), item(IDC_PRESET_NAME));
    return false;
}

void CPresetNameDlg::OnCommand(int id, int) {
    if (id == IDOK) {
        name_ = DialogItemText(window(), IDC_PRESET_NAME);
        End(IDOK);
    } else if (id == IDCANCEL) {
        End(IDCANCEL);
    }
}
