#include "cli/Terminal.h"

#include "platform/Console.h"
#include "platform/LineEdit.h"
#include "platform/Text.h"

bool CSystemTerminal::ReadLine(std::string& line) {
    return platform::ReadLine(line);
}

bool CSystemTerminal::EditLine(const std::string& prompt, const std::string& initial, std::string& line) {
    return platform::EditTerminalLine(prompt, initial, line);
}

void CSystemTerminal::Write(std::string_view text) {
    platform::WriteText(platform::StandardStream::kError, text);
}

void CStatusLine::Show(const std::string& text) {
    // Spaces rather than an erase sequence: every console understands them.
    const size_t length = text::CharCount(text);
    std::string line = "\r" + text;
    if (length < shown_) line += std::string(shown_ - length, ' ') + "\r" + text;
    terminal_.Write(line);
    shown_ = length;
}

void CStatusLine::Clear() {
    if (shown_ == 0) return;
    terminal_.Write("\r" + std::string(shown_, ' ') + "\r");
    shown_ = 0;
}
