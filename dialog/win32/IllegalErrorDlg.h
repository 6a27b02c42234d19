#pragma once

#include "dialog/win32/NameDlg.h"

/// Lets the user correct a new name that the file system does not accept.
class CIllegalErrorDlg : public CNameDlg {
public:
    CIllegalErrorDlg();
};
