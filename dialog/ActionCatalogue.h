#pragma once

#include <memory>
#include <span>
#include <vector>

#include "dialog/panels/RenameDlg.h"

class CSettingsStore;

/// One line of the "Action:" combo: an action with its panel, or a blank line
/// between groups.
struct CCatalogueSlot {
    int textId = 0;         ///< string id of the action name; 0 for a blank
    int panelTemplate = 0;  ///< dialog template of the panel
    const char* panelClass = nullptr;
    /// Makes the panel over the dialog's store; null for a blank.
    std::unique_ptr<CRenameDlg> (*create)(CSettingsStore* store) = nullptr;

    bool blank() const { return textId == 0; }
};

/// The 41 lines of the "Action:" combo in their order: 34 actions and seven
/// blank lines. Actions added later come after the earlier ones, which keep
/// their places.
std::span<const CCatalogueSlot> ActionCatalogue();

/// One entry per catalogue line, in combo order: the panel of each action,
/// restored from `store`, and null for each blank line.
std::vector<std::unique_ptr<CRenameDlg>> CreatePanels(CSettingsStore* store);
