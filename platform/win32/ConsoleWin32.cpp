#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/Console.h"
#include "platform/win32/Wide.h"

namespace platform {

namespace {

HANDLE handle(StandardStream stream) {
    switch (stream) {
        case StandardStream::kInput:
            return ::GetStdHandle(STD_INPUT_HANDLE);
        case StandardStream::kOutput:
            return ::GetStdHandle(STD_OUTPUT_HANDLE);
        case StandardStream::kError:
            return ::GetStdHandle(STD_ERROR_HANDLE);
    }
    return INVALID_HANDLE_VALUE;
}

bool IsConsole(HANDLE h) {
    DWORD mode = 0;
    return h != INVALID_HANDLE_VALUE && h != nullptr && ::GetConsoleMode(h, &mode) != 0;
}

}  // namespace

bool IsTerminal(StandardStream stream) {
    return IsConsole(handle(stream));
}

bool ReadLine(std::string& line) {
    line.clear();
    HANDLE in = handle(StandardStream::kInput);
    if (IsConsole(in)) {
        // The console hands out UTF-16 whatever its code page.
        std::wstring wide;
        for (;;) {
            wchar_t c;
            DWORD read = 0;
            if (!::ReadConsoleW(in, &c, 1, &read, nullptr) || read == 0) {
                line = Narrow(wide);
                return !wide.empty();
            }
            if (c == L'\n') break;
            if (c == 26 && wide.empty()) return false;  // Ctrl+Z: end of input
            wide += c;
        }
        if (!wide.empty() && wide.back() == L'\r') wide.pop_back();
        line = Narrow(wide);
        return true;
    }
    for (;;) {
        char c;
        DWORD read = 0;
        if (!::ReadFile(in, &c, 1, &read, nullptr) || read == 0) return !line.empty();
        if (c == '\n') break;
        line += c;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

void WriteText(StandardStream stream, std::string_view text) {
    HANDLE out = handle(stream);
    if (IsConsole(out)) {
        const std::wstring wide = Widen(text);
        size_t done = 0;
        while (done < wide.size()) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(wide.size() - done, 16384));
            if (!::WriteConsoleW(out, wide.data() + done, chunk, &written, nullptr) || written == 0) return;
            done += written;
        }
        return;
    }
    while (!text.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size(), 1 << 20));
        if (!::WriteFile(out, text.data(), chunk, &written, nullptr) || written == 0) return;
        text.remove_prefix(written);
    }
}

int TerminalColumns() {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!::GetConsoleScreenBufferInfo(handle(StandardStream::kError), &info)) return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

std::string FullPathName(const std::string& path) {
    const std::wstring wide = Widen(path.empty() ? "." : path);
    const DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) return {};
    std::vector<wchar_t> buffer(size);
    const DWORD n = ::GetFullPathNameW(wide.c_str(), size, buffer.data(), nullptr);
    if (n == 0 || n >= size) return {};
    std::wstring full(buffer.data(), n);
    // "C:\" keeps its separator; every other folder loses a trailing one.
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
    return Narrow(full);
}

}  // namespace platform
