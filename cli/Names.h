#pragma once

// The names the command line knows things by: actions, scopes, sorting
// orders, values and their choices; and the values of a panel set by them.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CMainDlgModel;
class CRenameDlg;
struct CPanelBinding;

/// The lower-case words of `text` joined by hyphens: "Replace anywhere" is
/// "replace-anywhere", "Add date/time to end" is "add-date-time-to-end".
std::string ShortForm(std::string_view text);

/// The sorting orders by name, in the order of their positions.
std::span<const char* const> SortOrderNames();
/// The scopes by name, in the order of their positions.
std::span<const char* const> ScopeNames();

/// A "Change:" scope by number (0 to 3), text or short form ("entire",
/// "name", "extension" with its separator, "ext" without); nothing when none
/// matches.
std::optional<int> ParseScope(std::string_view text);
/// A sorting order by position (0 to 9), text or short form ("name",
/// "name-desc", "modified", "modified-desc", "created", "created-desc",
/// "picture", "picture-desc", "random", "number").
std::optional<int> ParseSortOrder(std::string_view text);

/// The catalogue text of the action that `text` names, by its text (in any
/// case) or its short form; empty when none does.
std::string FindActionText(std::string_view text);

/// The short forms of every action.
std::vector<std::string> ActionNames();

/// The names a choice of `b` on `panel` is known by, by position: the short
/// form of a combo's entry, the name of a radio button.
std::vector<std::string> ChoiceNames(const CRenameDlg& panel, const CPanelBinding& b);

/// Sets one NAME=VALUE on `panel`. A choice takes its number or its name; a
/// check box 0 or 1; a step may be negative. False with a one-line reason
/// when the panel has no such value or the value does not fit it.
bool AssignValue(CRenameDlg& panel, const std::string& assignment, std::string& error);

/// Why the chosen action builds no operation from its values: the names of
/// the values that would let it build one. Empty when no single value does.
std::vector<std::string> MissingValues(const CMainDlgModel& model);

/// The options that repeat what `model` holds now, as they would be typed:
/// the action, every value that differs from its default, the scope, the
/// sorting order and the options that are not at their defaults.
std::string DescribeRun(const CMainDlgModel& model);
