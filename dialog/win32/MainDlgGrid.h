#pragma once

// The grid of the rename dialog, in dialog units: where the left column, the
// sections, the preview list and the buttons go.

#include <algorithm>

namespace main_grid {

// The grid of the left column, in dialog units.
constexpr int kMargin = 7;
constexpr int kColumnWidth = 280;   // as wide as a parameter panel
constexpr int kSectionLeft = 7;     // sections sit inside the column
constexpr int kSectionWidth = 266;  // from 7 to 273
constexpr int kRowGap = 4;
constexpr int kClosedSection = 10;  // a closed section shows its header only
constexpr int kButtonWidth = 50;
constexpr int kWideButtonWidth = 70;
constexpr int kButtonHeight = 14;
constexpr int kStatusHeight = 10;
constexpr int kMinimumListWidth = 160;
// The buttons under the list: two wide ones at the left, two at the right,
// in one row where the column is wide enough, else the wide ones on a row
// of their own above the others, so that a small screen still holds the
// dialog.
constexpr int kButtonRowWidth = 2 * kWideButtonWidth + 2 * kButtonWidth + 4 * kRowGap;
constexpr int kMinimumRightWidth = std::max(kMinimumListWidth, 2 * kWideButtonWidth + kRowGap);
constexpr int kStatusColumnWidth = 56;
constexpr int kMinimumListHeight = 60;

}  // namespace main_grid
