#include "dialog/win32/DefaultErrorDlg.h"

#include "core/Prompts.h"
#include "dialog/win32/Resource.h"
#include "dialog/win32/Controls.h"

static_assert(IDC_TRY_AGAIN == kAnswerTryAgain, "the button ends the dialog with its answer");

CDefaultErrorDlg::CDefaultErrorDlg() : CModalDlg(IDD_DEFAULT_ERROR) {}

bool CDefaultErrorDlg::OnInitDialog() {
    DialogItemSetText(window(), IDC_FILE_NAME, fileName);
    DialogItemSetText(window(), IDC_ERROR_CODE, errorCode);
    DialogItemSetText(window(), IDC_HEADLINE, headline);
    DialogItemSetText(window(), IDC_EXPLANATION, explanation);
    std::string held;
    for (const auto& holder : holders) held += (held.empty() ? "In use by " : ", ") + holder;
    DialogItemSetText(window(), IDC_HOLDERS, held);
    WindowShow(item(IDC_HOLDERS), !held.empty());
    WindowShow(item(IDC_TRY_AGAIN), canRetry);
    EditRevealEnd(item(IDC_FILE_NAME));
    WindowSetText(window(), title);
    // Nothing to edit here: Enter or Space answers at once.
    DialogFocus(window(), item(IDC_SKIP));
    return false;
}

void CDefaultErrorDlg::OnCommand(int id, int code) {
    if (id == IDCANCEL) {
        End(kAnswerClosed);
    } else if (code == BN_CLICKED && (id == IDC_SKIP || id == IDC_SKIP_ALL || (id == IDC_TRY_AGAIN && canRetry))) {
        End(id);
    }
}
