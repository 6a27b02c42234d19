// Name rules shared by both platforms: a bad name is refused before any OS call,
// so that no rename can ever move an item into another folder.
#include <cctype>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace platform {

namespace {

bool isReservedDeviceName(std::string_view name) {
    // The shell treats "CON", "con.txt" and "CON .txt" alike: the stem before the
    // first dot, trailing spaces ignored, is what counts.
    std::string stem(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const char* const kFixed[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* fixed : kFixed)
        if (stem == fixed) return true;
    if (stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0))
        return stem[3] >= '0' && stem[3] <= '9';
    // COM and LPT also take the superscript digits one to three.
    if (stem.size() == 5 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0)) {
        const std::string_view tail = std::string_view(stem).substr(3);
        return tail == "\xC2\xB9" || tail == "\xC2\xB2" || tail == "\xC2\xB3";
    }
    return false;
}

bool isCommonBadName(std::string_view name) {
    return name.empty() || name == "." || name == ".." || name.find('\0') != std::string_view::npos ||
           name.find('/') != std::string_view::npos;
}

}  // namespace

uint32_t checkWindowsFileName(const std::string& name) {
    if (isCommonBadName(name)) return kErrorInvalidName;
    for (unsigned char c : name) {
        if (c < 0x20) return kErrorInvalidName;
        switch (c) {
            case '\\': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
                return kErrorInvalidName;
            default:
                break;
        }
    }
    if (name.back() == '.' || name.back() == ' ') return kErrorInvalidName;
    if (isReservedDeviceName(name)) return kErrorInvalidName;
    return kErrorSuccess;
}

uint32_t checkPosixFileName(const std::string& name) {
    return isCommonBadName(name) ? kErrorInvalidName : kErrorSuccess;
}

uint32_t checkFileName(const std::string& name) {
#ifdef _WIN32
    return checkWindowsFileName(name);
#else
    return checkPosixFileName(name);
#endif
}

}  // namespace platform
