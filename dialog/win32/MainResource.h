#pragma once

// Template, control and command ids of the main dialog and its option
// sections. Shared by MainDlg.rc and the C++ side, so it holds nothing but
// #defines.

#include "dialog/OptionIds.h"

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The main dialog and what it holds directly.
#define IDD_MAIN 1002
#define IDC_MAIN_SCOPE 1009
#define IDC_MAIN_ACTION 1001
#define IDC_MAIN_PARAMETERS 1054
#define IDC_MAIN_PARAMETERS_ARROW 1069
#define IDC_MAIN_SEPARATOR 1061
#define IDC_MAIN_DROPLET 1005
#define IDC_MAIN_SAVE_LIST 1007
// Beside "Save file list...": takes the last run back, from its journal.
#define IDC_MAIN_UNDO 1084
#define IDC_MAIN_SCOPE_LABEL 1082
#define IDC_MAIN_ACTION_LABEL 1083
// Under the preview: how many items there are and how many names change.
#define IDC_MAIN_STATUS 1080
// Beside the status line while the dialog reads, computes or renames.
#define IDC_MAIN_PROGRESS 1081
// The step strip above "Change:": which step is shown, the buttons that
// choose, add, remove and move steps, and the Presets button.
#define IDC_MAIN_STEP 1090
#define IDC_MAIN_STEP_PREVIOUS 1091
#define IDC_MAIN_STEP_NEXT 1092
#define IDC_MAIN_STEP_ADD 1093
#define IDC_MAIN_STEP_REMOVE 1094
#define IDC_MAIN_STEP_EARLIER 1095
#define IDC_MAIN_STEP_LATER 1096
#define IDC_MAIN_PRESETS 1097

// The commands of the Presets button's menu: the fixed ones, then one per
// kept preset of each kind, by the preset's place in the list.
// The preset the dialog was opened with is gone: said once the window shows.
#define ID_NO_PRESET 40009
#define ID_PRESET_SAVE_AS 40010
#define ID_PRESET_IMPORT 40011
#define ID_PRESET_APPLY 41000
#define ID_PRESET_RENAME 42000
#define ID_PRESET_DELETE 43000
#define ID_PRESET_EXPORT 44000
#define QLN_PRESET_COMMANDS 1000

// The box that asks for a preset's name.
#define IDD_PRESET_NAME 1161
#define IDC_PRESET_NAME 1000

// The option sections and the preview list, each a frameless child panel.
#define IDD_SECTION_INTERACTION 1153
#define IDD_SECTION_PROCESSING 1154
#define IDD_SECTION_PREVIEW 1155
#define IDD_SECTION_SORTING 1156
#define IDD_SECTION_LIST 1157
// In every section: the arrow beside its header, and the line after it.
#define IDC_SECTION_ARROW 1070
#define IDC_SECTION_LINE 1071
// The clickable headers.
#define IDC_HEADER_INTERACTION 1059
#define IDC_HEADER_PROCESSING 1058
#define IDC_HEADER_PREVIEW 1056
#define IDC_HEADER_SORTING 1063
// Their controls.
#define IDC_OPTION_ORDER_LABEL 1065
#define IDC_PREVIEW_LIST 1068

// Tab and Shift+Tab move the focus through the dialog and its panel.
#define IDR_MAIN_ACCELERATORS 1011
#define ID_NEXT_CONTROL 40001
#define ID_PREVIOUS_CONTROL 40002

// The product's icon.
#define IDI_MAIN 1005

// Asked of the rename dialog: 1 while it makes its controls, reads, computes
// or renames, or has a change still to take in; 0 when what it shows is all
// there is (DWLP_MSGRESULT). For those who drive it.
#define WM_MAIN_BUSY 0x0C04
// The box that edits a row's new name is done: wParam 1 keeps the typed
// name, 0 drops it.
#define WM_MAIN_NAME_EDITED 0x0C05

// The preview list's menu: a row's name typed by hand, or the computed one
// again.
#define ID_ROW_EDIT_NAME 40020
#define ID_ROW_RESET_NAME 40021
