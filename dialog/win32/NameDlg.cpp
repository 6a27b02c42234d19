#include "dialog/win32/NameDlg.h"

#include <algorithm>

#include "core/Prompts.h"
#include "dialog/win32/Resource.h"
#include "platform/Text.h"
#include "platform/win32/Wide.h"

static_assert(IDC_RENAME_ALL == kAnswerRenameAll && IDC_SKIP_ALL == kAnswerSkipAll && IDC_SKIP == kAnswerSkip &&
                  IDC_RENAME == kAnswerRename && IDC_ADD_NUMBER == kAnswerAddNumber && IDCANCEL == kAnswerClosed,
              "the buttons end the dialogs with their answer codes");

namespace {

// The edit control counts UTF-16 units; a character beyond the BMP takes two.
WPARAM utf16Offset(const std::string& s, size_t chars) {
    return static_cast<WPARAM>(platform::widen(std::string_view(s).substr(0, text::byteOffset(s, chars))).size());
}

bool isAnswerButton(int id) {
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

void CNameDlg::OnInitDialog() {
    setItemText(IDC_OLD_NAME, oldName);
    setItemText(IDC_COMPUTED, computed);
    setItemText(IDC_NEW_NAME, newName);
    // A long old name shows its end, where the part that changes usually is.
    revealEnd(IDC_OLD_NAME);
    focusItem(IDC_NEW_NAME);
    selectNewName();
    ::SendDlgItemMessageW(window(), IDC_NEW_NAME, EM_SCROLLCARET, 0, 0);
}

void CNameDlg::selectNewName() {
    ::SendDlgItemMessageW(window(), IDC_NEW_NAME, EM_SETSEL, 0, -1);
}

void CNameDlg::selectNewNameChars(size_t first, size_t last) {
    ::SendDlgItemMessageW(window(), IDC_NEW_NAME, EM_SETSEL, utf16Offset(newName, first),
                          static_cast<LPARAM>(utf16Offset(newName, last)));
}

void CNameDlg::OnCommand(int id, int code) {
    if (id == IDCANCEL) {
        end(kAnswerClosed);
        return;
    }
    // Edits notify through WM_COMMAND too, and each template has only some of
    // the buttons: only a click on one of this dialog's own buttons ends it.
    if (code != BN_CLICKED || !isAnswerButton(id) || !::GetDlgItem(window(), id)) return;
    // The other two edits are read-only: only New name can come back changed.
    if (reads(id)) newName = itemText(IDC_NEW_NAME);
    end(id);
}

bool CNameDlg::reads(int id) const {
    return std::find(m_readers.begin(), m_readers.end(), id) != m_readers.end();
}
