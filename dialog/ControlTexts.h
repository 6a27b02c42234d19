#pragma once

#include <span>
#include <string>
#include <vector>

/// The entries of the "Change:" combo, by scope.
std::span<const char* const> ScopeTexts();

/// The entries of the "Order:" combo, by the position that "sort" stores.
std::span<const char* const> SortOrderTexts();

/// The entries of combo `controlId` on the panel made from template
/// `templateId`, in their order; empty for a combo this table does not know.
std::vector<std::string> PanelComboEntries(int templateId, int controlId);
