#pragma once

// Template and control ids of the parameter panels. Shared by the templates
// (Panels.rc), the panel models and their views, so it holds nothing but
// #defines. Several panels reuse the same control ids for fields of the same
// role, so the names say the role.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The resource type of the combo lists of a panel: one resource per panel
// template, of the template's id, listing each combo's entries.
#define QLN_PANEL_LISTS 2400

// Templates, in the order of the "Action:" combo.
#define IDD_PANEL_ADD_ANYWHERE 1119
#define IDD_PANEL_ADD_AT_BEGINNING 1012
#define IDD_PANEL_ADD_AT_END 1000
#define IDD_PANEL_ADD_DATE_AT_BEGINNING 1032
#define IDD_PANEL_ADD_DATE_AT_END 1033
#define IDD_PANEL_ADD_FOLDER_AT_BEGINNING 1129
#define IDD_PANEL_REMOVE_ANYWHERE 1009
#define IDD_PANEL_REMOVE_AT_BEGINNING 1020
#define IDD_PANEL_REMOVE_AT_END 1019
#define IDD_PANEL_REMOVE_EXTENSIONS 1022
#define IDD_PANEL_REMOVE_VOWELS 1023
#define IDD_PANEL_TRUNCATE 1021
#define IDD_PANEL_REPLACE_ANYWHERE 1015
#define IDD_PANEL_REPLACE_AT_BEGINNING 1014
#define IDD_PANEL_REPLACE_AT_END 1013
#define IDD_PANEL_REPLACE_EXTENSIONS 1028
#define IDD_PANEL_REPLACE_CHARACTERS 1027
#define IDD_PANEL_CAPITAL 1137
#define IDD_PANEL_LOWERCASE 1001
#define IDD_PANEL_PROPERCASE 1029
#define IDD_PANEL_TITLECASE 1124
#define IDD_PANEL_UPPERCASE 1011
#define IDD_PANEL_PRODUCE_ALPHABETICAL_LIST 1034
#define IDD_PANEL_PRODUCE_NUMBERED_LIST 1030
#define IDD_PANEL_ADD_ALPHA_AT_BEGINNING 1130
#define IDD_PANEL_ADD_ALPHA_AT_END 1151
#define IDD_PANEL_ADD_NUMBER_AT_BEGINNING 1017
#define IDD_PANEL_ADD_NUMBER_AT_END 1016
#define IDD_PANEL_REFORMAT_NUMBER 1026
#define IDD_PANEL_RENUMBER 1035
#define IDD_PANEL_TO_DATE 1031
#define IDD_PANEL_MANUALLY 1025
#define IDD_PANEL_REPLACE_BY_PATTERN 1160
#define IDD_PANEL_RENAME_FROM_TAGS 1162

// Where a panel says why its values build nothing (a pattern that does not
// compile); a panel without it has nothing to say.
#define IDC_PANEL_PROBLEM 1099

// The single edit of the simple panels.
#define IDC_PANEL_TEXT 1000

// Number and alphabetical panels.
#define IDC_PANEL_STEP 1000
#define IDC_PANEL_START 1001
#define IDC_PANEL_DIGITS 1002
#define IDC_PANEL_PREFIX 1003
#define IDC_PANEL_SUFFIX 1004
#define IDC_PANEL_UPPERCASE 1036

// "Change numbers".
#define IDC_PANEL_AMOUNT 1000
#define IDC_PANEL_CALCULATION 1001
#define IDC_PANEL_NUMBER_DIGITS 1002

// Replace panels; "Replace characters" has three rows.
#define IDC_PANEL_FIND 1000
#define IDC_PANEL_REPLACE 1001
#define IDC_PANEL_FIND2 1002
#define IDC_PANEL_REPLACE2 1003
#define IDC_PANEL_FIND3 1004
#define IDC_PANEL_REPLACE3 1005
#define IDC_PANEL_IGNORE_CASE 1036
#define IDC_PANEL_IGNORE_CASE2 1037
#define IDC_PANEL_IGNORE_CASE3 1038
#define IDC_PANEL_OCCURRENCE 1002
// "Replace by pattern": its pattern and replacement are IDC_PANEL_FIND and
// IDC_PANEL_REPLACE.
#define IDC_PANEL_ALL_MATCHES 1037

// Case panels.
#define IDC_PANEL_DELIMITERS 1000
#define IDC_PANEL_WORDS 1001

// Date panels, and the space box of "Add folder to beginning".
#define IDC_PANEL_DATE 1021
#define IDC_PANEL_TIME_FORMAT 1022
#define IDC_PANEL_DATE_FORMAT 1023
#define IDC_PANEL_SEPARATOR 1049
#define IDC_PANEL_SPACE 1036

// "Remove anywhere": where the cut starts...
#define IDC_PANEL_START_AT_POSITION 1019
#define IDC_PANEL_START_AT_TEXT 1020
#define IDC_PANEL_START_OCCURRENCE 1022
#define IDC_PANEL_START_POSITION 1023
#define IDC_PANEL_START_DIRECTION 1040
#define IDC_PANEL_START_TEXT 1041
// ...and where it ends; "Insert anywhere" uses the first two of these groups
// for its insertion point.
#define IDC_PANEL_TO_POSITION_RADIO 1024
#define IDC_PANEL_TO_DIRECTION 1025
#define IDC_PANEL_TO_POSITION 1026
#define IDC_PANEL_TO_TEXT_RADIO 1027
#define IDC_PANEL_TO_EDGE 1028
#define IDC_PANEL_TO_OCCURRENCE 1029
#define IDC_PANEL_TO_TEXT 1042
#define IDC_PANEL_TO_COUNT_RADIO 1030
#define IDC_PANEL_TO_WAY 1031
#define IDC_PANEL_TO_COUNT 1043
#define IDC_PANEL_INSERT_TEXT 1047
