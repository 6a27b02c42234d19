#pragma once

// The options of the command line, defined once: the parser reads the
// arguments with them, the manual page and the completion are made from them.

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "dialog/DialogOptions.h"

/// What the program does, as its help and manual page open.
extern const char* const kDescription;

/// What each example shows, and the command; the help, the manual page and
/// the README say the same.
struct CExample {
    const char* what;
    const char* command;
};
extern const std::vector<CExample> kExamples;

/// Every option of the command line, bound to a CCommandLine; what needs
/// looking at after parsing is kept here.
struct Parsing {
    /// Every --action, --set and --change in the order typed; the parse
    /// order puts each in its step.
    std::vector<std::string> actions, values, scopes, exported;
    std::string sort, saveList, onConflict, undo, preset, savePreset, from;
    bool version = false, man = false, completion = false;
    struct Toggle {
        const CSectionOption* option;
        CLI::Option* onOption = nullptr;
        CLI::Option* offOption = nullptr;
    };
    std::vector<Toggle> toggles;
    CLI::Option *actionOption = nullptr, *setOption = nullptr, *scopeOption = nullptr, *thenOption = nullptr,
                *sortOption = nullptr, *saveOption = nullptr, *conflictOption = nullptr, *undoOption = nullptr,
                *presetOption = nullptr, *savePresetOption = nullptr, *exportOption = nullptr, *fromOption = nullptr;
};


/// Puts every option into `app`, bound to `command` and `p`.
void Define(CLI::App& app, CCommandLine& command, Parsing& p);

/// The option names of the parser, as typed: "--action", "-a", ...
std::vector<std::string> OptionNames(const CLI::App& app);
