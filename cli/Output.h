#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Execute.h"

class CMainDlgModel;

/// `name` as it can be shown on one line of a terminal: control characters
/// and bytes that are not UTF-8 are written as \xNN, so that no name can
/// break a table or move the cursor.
std::string DisplayName(std::string_view name);

/// Writes the old and new names as two aligned columns under the headings
/// "Old" and "New", passing the text to `write` in large pieces.
void WritePreviewTable(const CPreview& rows, const std::function<void(std::string_view)>& write);

/// Every action of the catalogue with its values: their names, kinds,
/// defaults and the choices they allow; and the scopes and sorting orders.
std::string DescribeActions(const CMainDlgModel& model);
