#include "platform/NameRules.h"

#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace platform {

size_t NameRules::length(std::string_view text) const {
    if (!utf16) return text.size();
    // Every character beyond the Basic Multilingual Plane is a surrogate
    // pair: four UTF-8 bytes, two units. A stray byte becomes one unit
    // (U+FFFD), as the conversion to UTF-16 makes it.
    size_t units = 0;
    for (size_t i = 0; i < text.size();) {
        char32_t cp;
        const size_t n = text::Decode(text, i, cp);
        units += cp > 0xFFFF ? 2 : 1;
        i += n;
    }
    return units;
}

void NameRules::AppendKey(std::string_view name, std::string& out) const {
    if (!ignoreCase) {
        out.append(name);
        return;
    }
    for (size_t i = 0; i < name.size();) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x80) {
            out += static_cast<char>(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
            ++i;
            continue;
        }
        char32_t cp;
        bool valid = true;
        const size_t n = text::Decode(name, i, cp, &valid);
        if (valid)
            text::Append(out, text::Upper(cp));
        else
            out.append(name.substr(i, n));
        i += n;
    }
}

NameRules PosixNameRules() {
    NameRules rules;
    rules.check = &CheckPosixFileName;
    return rules;
}

NameRules WindowsNameRules(bool longPaths) {
    NameRules rules;
    rules.ignoreCase = true;
    rules.utf16 = true;
    rules.maxName = 255;
    rules.maxPath = longPaths ? 32767 : 259;
    rules.check = &CheckWindowsFileName;
    return rules;
}

}  // namespace platform
