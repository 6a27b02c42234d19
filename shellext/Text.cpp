#include "shellext/Text.h"

namespace qlnext {

bool AppendUtf8(Utf8Text& out, const wchar_t* text, size_t count) {
    if (count == 0) return out.ok();
    if (count > 0x7FFFFFFF) return false;
    const int units = static_cast<int>(count);
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return false;
    const size_t start = out.size();
    if (!out.resize(start + static_cast<size_t>(bytes))) return false;
    if (::WideCharToMultiByte(CP_UTF8, 0, text, units, out.data() + start, bytes, nullptr, nullptr) != bytes) {
        out.resize(start);
        return false;
    }
    return true;
}

bool Format(WideText& out, const wchar_t* format, const wchar_t* value) {
    for (const wchar_t* c = format; *c; ++c) {
        if (c[0] == L'%' && c[1] == L's') {
            out.append(value);
            ++c;
        } else {
            out.append(*c);
        }
    }
    return out.ok();
}

}  // namespace qlnext
