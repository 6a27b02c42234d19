#include "dialog/win32/IllegalErrorDlg.h"

#include "core/Prompts.h"
#include "dialog/win32/Resource.h"

CIllegalErrorDlg::CIllegalErrorDlg() : CNameDlg(IDD_ILLEGAL_ERROR, {kAnswerRenameAll, kAnswerRename}) {}
