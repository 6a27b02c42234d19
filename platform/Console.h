#pragma once

#include <string>
#include <string_view>

namespace platform {

/// The three standard streams of the process.
enum class StandardStream { kInput, kOutput, kError };

/// True when `stream` is a terminal (a console on Windows), so that someone
/// may be there to read and answer.
bool IsTerminal(StandardStream stream);

/// Reads one line of UTF-8 text from standard input, without its line break.
/// False at the end of the input or on an error.
bool ReadLine(std::string& line);

/// Writes UTF-8 text to standard output or standard error, unbuffered; a
/// console shows the characters, a pipe or file receives the bytes.
void WriteText(StandardStream stream, std::string_view text);

/// Characters per line of the terminal on standard error; 0 when unknown.
int TerminalColumns();

/// `path` made absolute against the current directory: the folder part as
/// the system resolves it, the last part as given, without a trailing
/// separator, so that a link is named as itself. Empty when the current
/// directory cannot be read.
std::string FullPathName(const std::string& path);

}  // namespace platform
