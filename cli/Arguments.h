#pragma once

#include <optional>
#include <utility>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct CDialogOptions;

/// One step of a rename as typed: what --then ends.
struct CCommandStep {
    std::optional<std::string> action;
    std::vector<std::string> values;  ///< NAME=VALUE, in the order given
    std::optional<std::string> scope;

    bool operator==(const CCommandStep&) const = default;
};

/// What the command line asks for, as typed; nothing here is checked against
/// the catalogue yet.
struct CCommandLine {
    std::vector<std::string> paths;
    /// One step at least: the first holds what comes before the first
    /// --then.
    std::vector<CCommandStep> steps{1};
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
    std::optional<std::string> preset;      ///< run the preset of this name, or from this file
    std::optional<std::string> savePreset;  ///< keep the run's steps and options under this name
    bool presets = false;                   ///< list the presets kept
    /// --export-preset NAME FILE: the name and the file.
    std::optional<std::pair<std::string, std::string>> exportPreset;
    bool edit = false;                ///< the names edited in an editor
    std::optional<std::string> from;  ///< the names from this file ("-": standard input)
    bool json = false;                ///< the preview as a plan, one JSON object a line
    bool yes = false;                 ///< --edit renames without asking

    /// True when the names come from the person, not from an action.
    bool OwnNames() const { return edit || from.has_value(); }

    /// True when a step names an action.
    bool HasAction() const;
    /// True when some step sets a value or a scope.
    bool ChangesSteps() const;
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

