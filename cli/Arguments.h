#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CMainDlgModel;
class CRenameDlg;

/// What the command line asks for, as typed; nothing here is checked against
/// the catalogue yet.
struct CCommandLine {
    std::vector<std::string> paths;
    std::optional<std::string> action;
    std::vector<std::string> values;  ///< NAME=VALUE, in the order given
    std::optional<std::string> scope;
    std::optional<std::string> sort;
    std::optional<int> files, folders, subfolders, confirm, sortFolders;
    bool preview = false;
    std::optional<std::string> saveList;
    bool actions = false;
    std::optional<std::string> onConflict;
    std::string settings;  ///< where the settings live; empty: the usual place
};

/// How parsing ended.
enum class CParsed {
    kRun,    ///< `command` holds what to do
    kHelp,   ///< `message` holds the help or version text, for standard output
    kError,  ///< `message` holds the one-line reason
};

/// Reads the arguments after the program name.
CParsed ParseCommandLine(const std::vector<std::string>& args, CCommandLine& command, std::string& message);

/// The lower-case words of `text` joined by hyphens: "Replace anywhere" is
/// "replace-anywhere", "Add date/time to end" is "add-date-time-to-end".
std::string ShortForm(std::string_view text);

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

/// Sets one NAME=VALUE on `panel`. A choice takes its number or its text; a
/// check box 0 or 1. False with a one-line reason when the panel has no such
/// value or the value does not fit it.
bool AssignValue(CRenameDlg& panel, const std::string& assignment, std::string& error);

/// Why the chosen action builds no operation from its values: the names of
/// the values that would let it build one. Empty when no single value does.
std::vector<std::string> MissingValues(const CMainDlgModel& model);
