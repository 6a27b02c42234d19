#pragma once

#include "dialog/win32/NameDlg.h"

/// Asks before each rename when confirmation is on.
class CConfirmDlg : public CNameDlg {
public:
    CConfirmDlg();

    /// The text to preselect in New name (manual rename); empty selects the whole name.
    std::string highlight;
    /// Character in New name from which `highlight` is searched.
    int highlightStart = 0;
    /// The occurrence is preselected only when it starts within this many characters of `highlightStart`.
    int highlightSpan = 0;

protected:
    void SelectNewName() override;
};
