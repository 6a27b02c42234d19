#include "dialog/win32/DuplicateErrorDlg.h"

#include "core/Prompts.h"
#include "dialog/win32/Resource.h"

CDuplicateErrorDlg::CDuplicateErrorDlg() : CNameDlg(IDD_DUPLICATE_ERROR, {kAnswerRename}) {}
