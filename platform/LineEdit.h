#pragma once

#include <string>
#include <string_view>

namespace platform {

/// Reads one line typed on the terminal, with the line editing the platform
/// offers (cursor keys, deleting words, moving to either end), the line
/// starting out as `initial`, so that a person changes a name rather than
/// typing it again. `prompt` is written to standard error first. Where
/// standard input is no terminal, a plain line is read and an empty one
/// keeps `initial`. False at the end of the input.
bool EditTerminalLine(std::string_view prompt, const std::string& initial, std::string& line);

}  // namespace platform
