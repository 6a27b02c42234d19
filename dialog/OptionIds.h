#pragma once

// The controls of the option sections that hold a value: shared by the
// dialog's resources and the table of the options, so nothing but #defines.

#define IDC_OPTION_CONFIRM 1006
#define IDC_OPTION_FILES 1002
#define IDC_OPTION_FOLDERS 1003
#define IDC_OPTION_SUBFOLDERS 1004
#define IDC_OPTION_PREVIEW 1062
#define IDC_OPTION_ORDER 1021
#define IDC_OPTION_SORT_FOLDERS 1064
