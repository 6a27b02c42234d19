#pragma once

#include "dialog/win32/NameDlg.h"

/// Lets the user shorten a new name that is too long for the file system.
class CTooLongErrorDlg : public CNameDlg {
public:
    CTooLongErrorDlg();
};
