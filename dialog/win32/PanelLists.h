#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

/// The entries of one combo box of a panel template.
struct CPanelList {
    int controlId = 0;
    std::vector<std::string> entries;
};

/// Reads the lists of a QLN_PANEL_LISTS resource: "@" and a control id on a
/// line of its own, then one line per entry of that combo. Lines before the
/// first "@" line, and "@" lines without a number, are skipped with what
/// follows them up to the next list.
std::vector<CPanelList> ParsePanelLists(std::string_view text);

/// The combo lists of panel template `templateId` in `instance`; none when
/// the template has no combos.
std::vector<CPanelList> LoadPanelLists(HINSTANCE instance, int templateId);

/// Fills every combo of the panel window `panel` (made from `templateId`)
/// with its entries. False when a list names a control that the window lacks.
bool FillPanelLists(HWND panel, HINSTANCE instance, int templateId);
