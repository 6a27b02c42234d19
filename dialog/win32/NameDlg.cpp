#include "dialog/win32/NameDlg.h"

#include <algorithm>

#include "core/Prompts.h"
#include "dialog/win32/Resource.h"
#include "platform/Text.h"
#include "dialog/win32/Controls.h"
#include "platform/win32/Wide.h"

static_assert(IDC_RENAME_ALL == kAnswerRenameAll && IDC_SKIP_ALL == kAnswerSkipAll && IDC_SKIP == kAnswerSkip &&
                  IDC_RENAME == kAnswerRename && IDC_ADD_NUMBER == kAnswerAddNumber && IDCANCEL == kAnswerClosed,
              "the buttons end the dialogs with their answer codes");

namespace {

// The edit control counts UTF-16 units; a character beyond the BMP takes two.
WPARAM Utf16Offset(const std::string& s, size_t chars) {
    return static_cast<WPARAM>(platform::Widen(std::string_view(s).substr(0, text::ByteOffset(s, chars))).size());
}

bool IsAnswerButton(int id) {
    switch (id) {
        case IDC_RENAME_ALL:
        case IDC_SKIP_ALL:
        case IDC_SKIP:
        case IDC_RENAME:
        case IDC_ADD_NUMBER:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool CNameDlg::OnInitDialog() {
    DialogItemSetText(window(), IDC_OLD_NAME, oldName);
    DialogItemSetText(window(), IDC_COMPUTED, computed);
    DialogItemSetText(window(), IDC_NEW_NAME, newName);
    // A long old name shows its end, where the part that changes usually is.
    EditRevealEnd(item(IDC_OLD_NAME));
    DialogFocus(window(), item(IDC_NEW_NAME));
    SelectNewName();
    ::SendDlgItemMessageW(window(), IDC_NEW_NAME, EM_SCROLLCARET, 0, 0);
    return false;  // the focus is placed
}

void CNameDlg::SelectNewName() {
    EditSelect(item(IDC_NEW_NAME), 0, -1);
}

void CNameDlg::SelectNewNameChars(size_t first, size_t last) {
    EditSelect(item(IDC_NEW_NAME), static_cast<int>(Utf16Offset(newName, first)),
               static_cast<int>(Utf16Offset(newName, last)));
}

void CNameDlg::OnCommand(int id, int code) {
    if (id == IDCANCEL) {
        End(kAnswerClosed);
        return;
    }
    // Edits notify through WM_COMMAND too, and each template has only some of
    // the buttons: only a click on one of this dialog's own buttons ends it.
    if (code != BN_CLICKED || !IsAnswerButton(id) || !::GetDlgItem(window(), id)) return;
    // The other two edits are read-only: only New name can come back changed.
    if (reads(id)) newName = DialogItemText(window(), IDC_NEW_NAME);
    End(id);
}

bool CNameDlg::reads(int id) const {
    return std::find(readers_.begin(), readers_.end(), id) != readers_.end();
}
