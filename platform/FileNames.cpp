// Name rules shared by both platforms: a bad name is refused before any OS call,
// so that no rename can ever move an item into another folder.
#include <cctype>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace platform {

namespace {

bool IsReservedDeviceName(std::string_view name) {
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

bool IsCommonBadName(std::string_view name) {
    return name.empty() || name == "." || name == ".." || name.find('\0') != std::string_view::npos ||
           name.find('/') != std::string_view::npos;
}

}  // namespace

uint32_t CheckWindowsFileName(const std::string& name) {
    if (IsCommonBadName(name)) return kErrorInvalidName;
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
    if (IsReservedDeviceName(name)) return kErrorInvalidName;
    return kErrorSuccess;
}

uint32_t CheckPosixFileName(const std::string& name) {
    return IsCommonBadName(name) ? kErrorInvalidName : kErrorSuccess;
}

bool IsAbsolutePath(std::string_view path) {
#ifdef _WIN32
    auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && separator(path[2]))
        return true;
    return path.size() >= 3 && separator(path[0]) && separator(path[1]) && !separator(path[2]);
#else
    return !path.empty() && path[0] == '/';
#endif
}

bool IsRootPath(std::string_view path) {
#ifdef _WIN32
    auto separator = [](char c) { return c == '\\' || c == '/'; };
    while (path.size() > 1 && separator(path.back())) path.remove_suffix(1);
    if (path.size() == 2 && path[1] == ':') return true;  // a drive
    if (path.size() < 3 || !separator(path[0]) || !separator(path[1])) return false;
    // "\\server\share", or "\\?\C:" and "\\?\UNC\server\share" in the long form.
    std::string_view rest = path.substr(2);
    if (rest.substr(0, 2) == "?\\" || rest.substr(0, 2) == "?/") {
        rest.remove_prefix(2);
        if (rest.size() == 2 && rest[1] == ':') return true;
        if (rest.size() < 4 || (rest.substr(0, 4) != "UNC\\" && rest.substr(0, 4) != "UNC/")) return false;
        rest.remove_prefix(4);
    }
    size_t parts = 0;
    for (size_t i = 0; i < rest.size();) {
        size_t end = i;
        while (end < rest.size() && !separator(rest[end])) ++end;
        if (end > i) ++parts;
        i = end + 1;
    }
    return parts <= 2;
#else
    return path == "/";
#endif
}

const char* OwnErrorMessage(uint32_t code) {
    switch (code) {
        case kErrorNotOwner:
            return "Owned by another user";
        case kErrorOpenToOthers:
            return "Writable by other users";
        case kErrorNotRegularFile:
            return "Not a regular file";
        default:
            return nullptr;
    }
}

uint32_t CheckFileName(const std::string& name) {
#ifdef _WIN32
    return CheckWindowsFileName(name);
#else
    return CheckPosixFileName(name);
#endif
}

}  // namespace platform
