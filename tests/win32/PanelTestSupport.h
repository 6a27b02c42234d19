#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "dialog/ActionCatalogue.h"

/// Helpers of the panel tests: a dialog to hold the panels, the change
/// messages it received, and what kind of control a window is.
namespace panel_test {

/// A modeless top-level dialog, standing in for the main dialog.
class CParentDialog {
public:
    /// Hidden unless `visible`.
    explicit CParentDialog(bool visible = false);
    ~CParentDialog();
    CParentDialog(const CParentDialog&) = delete;
    CParentDialog& operator=(const CParentDialog&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

/// Removes the WM_PANEL_CHANGED messages posted to `parent` and returns
/// their lParams in order.
std::vector<LPARAM> TakeChanges(HWND parent);

/// "Edit", "ComboBox", "CheckBox", "Radio", or the window class name.
std::string KindOf(HWND control);

/// The catalogue lines that are actions (32), in combo order.
std::vector<CCatalogueSlot> Actions();
/// The actions whose panel model this build has.
std::vector<CCatalogueSlot> ActionsWithPanels();

/// A parameter name for gtest: the panel class.
std::string SlotName(const CCatalogueSlot& slot);

}  // namespace panel_test

/// Names a catalogue line in gtest's messages by its panel class.
inline void PrintTo(const CCatalogueSlot& slot, std::ostream* os) {
    *os << (slot.panelClass ? slot.panelClass : "blank");
}
