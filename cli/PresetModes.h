#pragma once

// Presets on the command line: finding one by its name or file, listing
// them, writing one to a file.

#include <string>
#include <vector>

#include "dialog/Presets.h"

class CSettingsStore;

/// The preset that --preset names: one kept in `store` by that name, or
/// else the preset file of that path (a path with a folder in it, or ending
/// in ".json", is always a file). False with a one-line reason.
bool FindPreset(const std::string& nameOrFile, CSettingsStore& store, CPreset& preset, std::string& error);

/// What --presets prints: each preset's name and its steps, one a line.
std::string PresetList(const std::vector<CPreset>& presets);

/// Its steps' actions in order: "Replace anywhere, then Make lowercase".
std::string StepsSummary(const std::vector<CStep>& steps);
