#pragma once

#include <string>

/// The product version of the loaded module `moduleName` ("Qln"), as its
/// version resource states it in "\StringFileInfo\040904B0\ProductVersion",
/// blanks removed and "," made ".": "1, 0, 0" gives "1.0.0". Empty when the
/// module is not loaded or states no version.
std::string GetProductVersion(const std::string& moduleName);
