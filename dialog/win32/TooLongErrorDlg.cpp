#include "dialog/win32/TooLongErrorDlg.h"

#include "core/Prompts.h"
#include "dialog/win32/Resource.h"

CTooLongErrorDlg::CTooLongErrorDlg() : CNameDlg(IDD_TOO_LONG_ERROR, {kAnswerRename}) {}
