#pragma once

// What Qln.exe does with its command line: a list file from the Explorer
// extension, paths to rename, or nothing, which shows the info wizard.

#include <windows.h>

#include <string>
#include <vector>

#include "library/QlnDll.h"

namespace launcher {

/// The command line, split as Windows splits it.
struct CommandLine {
    enum class Mode {
        Wizard,    ///< no arguments: the info wizard
        ListFile,  ///< one argument that names a list file (see IsListFile)
        Paths,     ///< anything else: the items to rename themselves
    };
    Mode mode = Mode::Wizard;
    /// The arguments after the program's name, without empty ones, as given.
    /// For a list file given as "/preset NAME FILE" by the extension's presets
    /// menu, the file alone.
    std::vector<std::wstring> arguments;
    /// That preset's name; empty otherwise.
    std::wstring preset;
};

/// Splits `commandLine` (all of it, the program's name first).
CommandLine ParseCommandLine(const wchar_t* commandLine);

/// The Qln.dll beside this program and its exports, loaded once and never
/// unloaded: the dialogs it shows run inside it until it returns.
struct RenameLibrary {
    HandleRenameFunction handleRename = nullptr;
    /// Null in a library without presets: the dialog then opens without one.
    HandleRenameWithPresetFunction withPreset = nullptr;
    /// Why there is no HandleRename: where the program looked and what went
    /// wrong; empty when it is there.
    std::wstring problem;
};
RenameLibrary LoadRenameLibrary();

/// Reads the list file `listFile` (as given on the command line), deletes it
/// and has `library` show the rename dialog over its paths, with the kept
/// preset `preset` applied when it is not empty. A list without paths is
/// left where it is and nothing is shown. Failures are reported in message
/// boxes captioned "Error", a library without HandleRename too; false after
/// one that ended the work, or kept the dialog from showing.
bool RenameListFile(const std::wstring& listFile, const RenameLibrary& library, const std::wstring& preset = {});

/// Has `library` show the rename dialog over `paths`, made full paths first.
/// Nothing is deleted. False when the library could not (and said so).
bool RenamePaths(const std::vector<std::wstring>& paths, const RenameLibrary& library);

/// The folder of `module` (null: this program), ending in a backslash;
/// empty when the system does not say.
std::wstring ModuleFolder(HMODULE module);

/// Shows the message box "`text` `path`" captioned "Error", with no owner.
void ShowError(const wchar_t* text, const std::wstring& path);

}  // namespace launcher
