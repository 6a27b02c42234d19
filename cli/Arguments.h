#pragma once

#include <optional>
#include <utility>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct CDialogOptions;

/// What the command line asks for, as typed; nothing here is checked against
/// the catalogue yet.
struct CCommandLine {
    std::vector<std::string> paths;
    std::optional<std::string> action;
    std::vector<std::string> values;  ///< NAME=VALUE, in the order given
    std::optional<std::string> scope;
    std::optional<std::string> sort;
    /// The section options given, each with 1 or 0, in the order given.
    std::vector<std::pair<int CDialogOptions::*, int>> sections;
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

/// The value given for the section option `member`, if any.
std::optional<int> SectionGiven(const CCommandLine& command, int CDialogOptions::*member);

/// How parsing ended.
enum class CParsed {
    kRun,    ///< `command` holds what to do
    kHelp,   ///< `message` holds the help, version, manual page or completion, for standard output
    kError,  ///< `message` holds the one-line reason
};

/// Reads the arguments after the program name.
CParsed ParseCommandLine(const std::vector<std::string>& args, CCommandLine& command, std::string& message);

