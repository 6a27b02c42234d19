// Apart from the file system, so that a program that shows the system's
// texts (the launcher) links none of the file-system code.
#include <windows.h>

#include "platform/FileSystem.h"
#include "platform/win32/Wide.h"

namespace platform {

std::string ErrorMessage(uint32_t code) {
    if (const char* own = OwnErrorMessage(code)) return own;
    wchar_t* buffer = nullptr;
    const DWORD len = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (len == 0 || !buffer) return "Unknown error " + std::to_string(code) + ".";
    std::string text = Narrow(std::wstring(buffer, len));
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
}

}  // namespace platform
