#pragma once

// The list file hands the selection from Explorer's process to the launcher:
// UTF-8, one whole path per line, each line ended by "\n". It lies in the
// user's temporary folder and is named "qln" followed by a decimal number,
// without extension, which is the only shape the launcher accepts.

#include <windows.h>

#include <shellapi.h>

#include "shellext/Text.h"

namespace qlnext {

/// Appends every path of `drop`, in its order and whole, as a line of the
/// list file. `count` gets the number of lines; empty entries are left out.
/// False when memory ran out.
bool CollectPaths(HDROP drop, Utf8Text& lines, UINT& count);

/// What went wrong in WriteListFile, in the order the steps run.
enum class ListFileError { None, NoName, Open, Write, Close };

/// Creates a new list file and writes `lines` into it. Only a file that did
/// not exist is ever opened, so nothing another program placed under a
/// candidate name is read or overwritten. `path` gets the file's path as soon
/// as one was chosen, and `error` the system error code of a failure. A file
/// that could not be written or closed whole is deleted again: no launcher
/// will ever read it.
ListFileError WriteListFile(const Utf8Text& lines, WideText& path, DWORD& error);

/// Starts Qln.exe from this module's folder with the list file's path as its
/// argument, after "/preset NAME" when `preset` is not null, without waiting
/// for it. Returns 0 or the system error code; `launcher` gets the program's
/// path as soon as it is known.
DWORD StartLauncher(const wchar_t* listPath, const wchar_t* preset, WideText& launcher);

/// Reads the names of the kept presets from the rename dialog's settings
/// ("presetNames", one a line) into `names`; false when there are none.
bool ReadPresetNames(WideText& names);

}  // namespace qlnext
