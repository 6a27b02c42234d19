#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CMainDlgModel;
class CRenameDlg;
struct CPanelBinding;

/// What the command line asks for, as typed; nothing here is checked against
/// the catalogue yet.
struct CCommandLine {
    std::vector<std::string> paths;
    std::optional<std::string> action;
    std::vector<std::string> values;  ///< NAME=VALUE, in the order given
    std::optional<std::string> scope;
    std::optional<std::string> sort;
    std::optional<int> files, folders, subfolders, confirm, sortFolders;
    bool last = false;  ///< repeat the stored action with its values and options
    bool preview = false;
    bool all = false;  ///< the preview shows unchanged rows too
    std::optional<std::string> saveList;
    bool force = false;  ///< the list file may replace a file
    bool nulls = false;  ///< the list file ends each path with a NUL, not a line end
    bool actions = false;
    std::optional<std::string> onConflict;
    std::optional<size_t> undo;  ///< take back run N of the history (1: the last)
    bool undoNumbered = false;   ///< N was given; without it, the newest run that renamed something
    bool history = false;        ///< list the runs that can be taken back
    std::string settings;  ///< where the settings live; empty: the usual place
};

/// How parsing ended.
enum class CParsed {
    kRun,    ///< `command` holds what to do
    kHelp,   ///< `message` holds the help, version, manual page or completion, for standard output
    kError,  ///< `message` holds the one-line reason
};

/// Reads the arguments after the program name.
CParsed ParseCommandLine(const std::vector<std::string>& args, CCommandLine& command, std::string& message);

/// The manual page, in the man macros, made from what --help says.
std::string ManualPage();
/// A bash completion script for quorlin: its options, the actions, scopes,
/// sorting orders and value names.
std::string BashCompletion();

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

/// The name among `candidates` that `typed` most likely meant: one or two
/// letters off, or missing a word; empty when none is that close.
std::string Suggestion(std::string_view typed, const std::vector<std::string>& candidates);
/// "; did you mean \"x\"?" for Suggestion's answer; empty when it has none.
std::string DidYouMean(std::string_view typed, const std::vector<std::string>& candidates);
/// The short forms of every action.
std::vector<std::string> ActionNames();

/// The names a choice of `b` on `panel` is known by, by position: the short
/// form of a combo's entry, the name of a radio button.
std::vector<std::string> ChoiceNames(const CRenameDlg& panel, const CPanelBinding& b);

/// Sets one NAME=VALUE on `panel`. A choice takes its number or its name; a
/// check box 0 or 1; a step may be negative. False with a one-line reason
/// when the panel has no such value or the value does not fit it.
bool AssignValue(CRenameDlg& panel, const std::string& assignment, std::string& error);

/// A step is the one number that may be negative, where the field itself
/// holds digits only: true when `b` is a step and `value` is a negative
/// whole number, which is then set.
bool SetNegativeStep(const CPanelBinding& b, const std::string& value);

/// Why the chosen action builds no operation from its values: the names of
/// the values that would let it build one. Empty when no single value does.
std::vector<std::string> MissingValues(const CMainDlgModel& model);

/// The options that repeat what `model` holds now, as they would be typed:
/// the action, every value that differs from its default, the scope, the
/// sorting order and the options that are not at their defaults.
std::string DescribeRun(const CMainDlgModel& model);
