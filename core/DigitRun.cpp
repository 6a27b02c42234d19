#include "core/DigitRun.h"

#include <limits>

#include "platform/Text.h"

CDigitRun FindDigitRun(std::string_view text, size_t from) {
    CDigitRun run;
    size_t pos = from;
    // Walk whole characters, so a byte inside a multi-byte character is never
    // looked at on its own.
    while (pos < text.size() && !(text::ClassifyAt(text, pos) & text::kClassDigit)) {
        char32_t cp;
        pos += text::Decode(text, pos, cp);
    }
    if (pos >= text.size()) return run;
    run.first = static_cast<long>(pos);
    while (pos < text.size() && (text::ClassifyAt(text, pos) & text::kClassDigit)) {
        char32_t cp;
        pos += text::Decode(text, pos, cp);
    }
    run.end = static_cast<long>(pos);
    return run;
}

CDigitRun FindDigitRun(const CFileDescriptor& fd, size_t from) {
    return FindDigitRun(fd.part(), from);
}

bool ReadDigitRun(std::string_view digits, int64_t& value) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    int64_t v = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        const int d = c - '0';
        if (v > (kMax - d) / 10) return false;
        v = v * 10 + d;
    }
    value = v;
    return true;
}

int CompareDigitValues(std::string_view a, std::string_view b) {
    const auto significant = [](std::string_view s) {
        const size_t nonZero = s.find_first_not_of('0');
        return nonZero == std::string_view::npos ? std::string_view() : s.substr(nonZero);
    };
    a = significant(a);
    b = significant(b);
    // Without leading zeros, more digits is a larger number; equal lengths
    // compare digit by digit.
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}
