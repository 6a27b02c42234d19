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

/// HandleRename of the Qln.dll beside this program, loaded once and never
/// unloaded: the dialogs it shows run inside it until it returns. Null when
/// the library or its export is missing, which is not reported.
HandleRenameFunction LoadRenameLibrary();

/// HandleRenameWithPreset of the same library; null when it lacks it.
HandleRenameWithPresetFunction LoadPresetFunction();

/// Reads the list file `listFile` (as given on the command line), deletes it
/// and has `handleRename` (may be null) show the rename dialog over its
/// paths. A list without paths is left where it is and nothing is shown.
/// Failures are reported in message boxes captioned "Error"; false after one
/// that ended the work.
bool RenameListFile(const std::wstring& listFile, HandleRenameFunction handleRename);
/// The same, with the kept preset `preset` applied as the dialog opens; a
/// library without presets shows the dialog without it.
bool RenameListFileWithPreset(const std::wstring& listFile, const std::wstring& preset,
                              HandleRenameWithPresetFunction withPreset, HandleRenameFunction handleRename);

/// Has `handleRename` (may be null) show the rename dialog over `paths`, made
/// full paths first. Nothing is deleted.
void RenamePaths(const std::vector<std::wstring>& paths, HandleRenameFunction handleRename);

/// The folder of `module` (null: this program), ending in a backslash;
/// empty when the system does not say.
std::wstring ModuleFolder(HMODULE module);

/// Shows the message box "`text` `path`" captioned "Error", with no owner.
void ShowError(const wchar_t* text, const std::wstring& path);

}  // namespace launcher
