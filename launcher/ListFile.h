#pragma once

// The list file in which the Explorer extension hands a selection over: UTF-8,
// one whole path per line, each line ended by "\n", in the user's temporary
// folder under the name "qln" and a decimal number. Only a file of that name
// in that folder is ever read as a list and deleted; anything else the
// program is given is a path to rename.

#include <string>
#include <string_view>
#include <vector>

namespace launcher {

/// The paths in a list file's bytes, in file order. A line may be of any
/// length and is one path; a CR before its LF is dropped, and so is a byte
/// order mark at the start. Empty lines, and lines that hold a NUL byte (no
/// path can), name nothing and are skipped. A last line without its LF counts.
std::vector<std::string> SplitListFile(std::string_view bytes);

/// True for the names the extension gives list files: "qln" followed by one
/// or more decimal digits and nothing else ("QLN" too: names on Windows are
/// compared without case).
bool IsListFileName(std::wstring_view name);

/// True when `argument` names a list file: a list file's name, directly in
/// the user's temporary folder (both folders compared in their full, long
/// form, without case). Whether the file exists does not matter: one that
/// does not is a list that cannot be opened.
bool IsListFile(const std::wstring& argument);

/// `path` made absolute against the current folder, with backslashes
/// between its parts and, where the item exists, its long names instead of
/// short ones: the rename library splits names at the last backslash and
/// shows and renames the names it is given.
std::wstring FullPath(const std::wstring& path);

}  // namespace launcher
