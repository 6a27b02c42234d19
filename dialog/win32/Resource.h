#pragma once

// Template and control ids of the conflict and confirmation dialogs. Shared by
// Dialogs.rc and the C++ side, so it holds nothing but #defines.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Templates.
#define IDD_DEFAULT_ERROR 1004
#define IDD_DUPLICATE_ERROR 1005
#define IDD_ILLEGAL_ERROR 1006
#define IDD_TOO_LONG_ERROR 1007
#define IDD_CONFIRM 1008

// Name rows of the four name dialogs; the error dialog's File name is the same edit id.
#define IDC_NEW_NAME 1009
#define IDC_FILE_NAME 1009
#define IDC_OLD_NAME 1015
#define IDC_COMPUTED 1016

// Error dialog statics.
#define IDC_ERROR_CODE 1010
#define IDC_HEADLINE 1017
#define IDC_EXPLANATION 1018

// Buttons: each id is the answer the dialog ends with.
#define IDC_RENAME_ALL 1011
#define IDC_SKIP_ALL 1012
#define IDC_SKIP 1013
#define IDC_RENAME 1014
#define IDC_ADD_NUMBER 1017
// The error dialog, for an item another program holds open: who holds it,
// and the button that tries the rename again (its answer is the same id).
#define IDC_TRY_AGAIN 1019
#define IDC_HOLDERS 1020
