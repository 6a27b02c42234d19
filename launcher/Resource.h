#pragma once

// Resource ids of the launcher. Shared by the .rc files and the C++ side, so
// it holds nothing but #defines.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The one page template of the info wizard; every page uses it.
#define IDD_WIZARD_PAGE 129
#define IDC_WIZARD_PICTURE 1001
#define IDC_WIZARD_TEXT 1002

// The texts of the wizard's pages, one per page in page order.
#define IDS_WIZARD_PAGE1 1
#define IDS_WIZARD_PAGE2 2
#define IDS_WIZARD_PAGE3 3
#define IDS_WIZARD_PAGE4 4
#define IDS_WIZARD_PAGE5 5

// The program's icon: the first icon is the one Explorer shows.
#define IDI_LAUNCHER 100
