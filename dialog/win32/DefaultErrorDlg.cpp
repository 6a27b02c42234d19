#include "dialog/win32/DefaultErrorDlg.h"

#include "core/Prompts.h"
#include "dialog/win32/Resource.h"
#include "platform/win32/Wide.h"

CDefaultErrorDlg::CDefaultErrorDlg() : CModalDlg(IDD_DEFAULT_ERROR) {}

void CDefaultErrorDlg::OnInitDialog() {
    setItemText(IDC_FILE_NAME, fileName);
    setItemText(IDC_ERROR_CODE, errorCode);
    setItemText(IDC_HEADLINE, headline);
    setItemText(IDC_EXPLANATION, explanation);
    revealEnd(IDC_FILE_NAME);
    ::SetWindowTextW(window(), platform::widen(title).c_str());
    // Nothing to edit here: Enter or Space answers at once.
    focusItem(IDC_SKIP);
}

void CDefaultErrorDlg::OnCommand(int id, int code) {
    if (id == IDCANCEL) {
        end(kAnswerClosed);
    } else if (code == BN_CLICKED && (id == IDC_SKIP || id == IDC_SKIP_ALL)) {
        end(id);
    }
}
