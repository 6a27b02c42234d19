#pragma once

#include <cstdint>
#include <string>

namespace platform {

/// Makes a new file that only this user may read, in the system's folder
/// for temporary files, named `prefix` + something unique + `suffix`, and
/// writes `data` into it. 0 and its path in `path`, or a system error code.
[[nodiscard]] uint32_t WriteTempFile(const std::string& prefix, const std::string& suffix, const std::string& data,
                                     std::string& path);

/// The editor the user chose for text: $VISUAL, else $EDITOR, else the
/// system's own choice. It is a command line, and may carry arguments.
std::string ChosenEditor();

/// Runs `editor` (as ChosenEditor gives it) on `file` and waits for it to
/// end, with the terminal handed over to it. Its exit status; -1 when it
/// could not be started or did not end by itself.
int RunEditor(const std::string& editor, const std::string& file);

}  // namespace platform
