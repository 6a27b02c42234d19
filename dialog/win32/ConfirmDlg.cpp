#include "dialog/win32/ConfirmDlg.h"

#include "core/Prompts.h"
#include "dialog/win32/Resource.h"
#include "platform/Text.h"

CConfirmDlg::CConfirmDlg() : CNameDlg(IDD_CONFIRM, {kAnswerRenameAll, kAnswerRename}) {}

void CConfirmDlg::SelectNewName() {
    // Positions count characters; a start before the name or past its end finds nothing.
    const size_t chars = text::CharCount(newName);
    if (!highlight.empty() && highlightStart >= 0 && static_cast<size_t>(highlightStart) <= chars) {
        const size_t from = text::ByteOffset(newName, static_cast<size_t>(highlightStart));
        // Both are UTF-8, so a byte match always starts on a character boundary.
        const size_t at = newName.find(highlight, from);
        if (at != std::string::npos) {
            const size_t position = text::CharCount(std::string_view(newName).substr(0, at));
            if (static_cast<long long>(position) < static_cast<long long>(highlightStart) + highlightSpan) {
                SelectNewNameChars(position, position + text::CharCount(highlight));
                return;
            }
        }
    }
    CNameDlg::SelectNewName();
}
