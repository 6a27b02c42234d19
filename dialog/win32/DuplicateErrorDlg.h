#pragma once

#include "dialog/win32/NameDlg.h"

/// Lets the user correct a new name that an existing file already has.
class CDuplicateErrorDlg : public CNameDlg {
public:
    CDuplicateErrorDlg();
};
