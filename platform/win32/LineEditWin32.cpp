// The console's own line editing (cursor keys, Home, End, Ctrl+arrows), the
// line started by typing the text in ahead of the person.
#include <windows.h>

#include <vector>

#include "platform/Console.h"
#include "platform/LineEdit.h"
#include "platform/win32/Wide.h"

namespace platform {

bool EditTerminalLine(std::string_view prompt, const std::string& initial, std::string& line) {
    WriteText(StandardStream::kError, prompt);
    HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (in != INVALID_HANDLE_VALUE && in != nullptr && ::GetConsoleMode(in, &mode)) {
        std::vector<INPUT_RECORD> keys;
        for (const wchar_t c : Widen(initial)) {
            if (c < 0x20) {  // an editing key to the console: such a name is typed anew
                keys.clear();
                break;
            }
            INPUT_RECORD key{};
            key.EventType = KEY_EVENT;
            key.Event.KeyEvent.bKeyDown = TRUE;
            key.Event.KeyEvent.wRepeatCount = 1;
            key.Event.KeyEvent.uChar.UnicodeChar = c;
            keys.push_back(key);
            key.Event.KeyEvent.bKeyDown = FALSE;
            keys.push_back(key);
        }
        DWORD written = 0;
        if (!keys.empty()) ::WriteConsoleInputW(in, keys.data(), static_cast<DWORD>(keys.size()), &written);
        return ReadLine(line);
    }
    if (!ReadLine(line)) return false;
    if (line.empty()) line = initial;
    return true;
}

}  // namespace platform
