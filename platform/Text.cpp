#include "platform/Text.h"

#include <algorithm>
#include <cstdint>

namespace text {

size_t Decode(std::string_view s, size_t pos, char32_t& cp, bool* valid) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b0 = byte(pos);
    if (valid) *valid = true;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    size_t len = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    }
    if (len != 0 && pos + len <= s.size()) {
        size_t i = 1;
        for (; i < len && (byte(pos + i) & 0xC0) == 0x80; ++i) cp = (cp << 6) | (byte(pos + i) & 0x3F);
        if (i == len && cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF)) return len;
    }
    if (valid) *valid = false;
    cp = b0;
    return 1;
}

void Append(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

size_t CharCount(std::string_view s) {
    size_t n = 0;
    char32_t cp;
    for (size_t i = 0; i < s.size(); ++n) i += Decode(s, i, cp);
    return n;
}

size_t ByteOffset(std::string_view s, size_t chars) {
    size_t i = 0;
    char32_t cp;
    for (; i < s.size() && chars > 0; --chars) i += Decode(s, i, cp);
    return i;
}

size_t ByteOffsetFromEnd(std::string_view s, size_t chars) {
    const size_t total = CharCount(s);
    return chars >= total ? 0 : ByteOffset(s, total - chars);
}

size_t PreviousStart(std::string_view s, size_t pos) {
    // Walk forward from a safe point: stray bytes make a backward scan ambiguous.
    size_t from = pos >= 4 ? pos - 4 : 0;
    while (from > 0 && (static_cast<unsigned char>(s[from]) & 0xC0) == 0x80) --from;
    size_t last = from;
    char32_t cp;
    for (size_t i = from; i < pos; i += Decode(s, i, cp)) last = i;
    return last;
}

namespace {

// Ranges where upper and lower case sit at a fixed distance.
struct Offset {
    char32_t upperFirst, upperLast;
    int32_t delta;  // lower = upper + delta
};
constexpr Offset kOffsets[] = {
    {U'A', U'Z', 32},         {0x00C0, 0x00D6, 32},     {0x00D8, 0x00DE, 32},
    {0x0388, 0x038A, 37},     {0x038C, 0x038C, 64},     {0x038E, 0x038F, 63},
    {0x0391, 0x03A1, 32},     {0x03A3, 0x03AB, 32},     {0x0400, 0x040F, 80},
    {0x0410, 0x042F, 32},     {0x0531, 0x0556, 48},     {0x10A0, 0x10C5, 7264},
    {0x1F08, 0x1F0F, -8},     {0x1F18, 0x1F1D, -8},     {0x1F28, 0x1F2F, -8},
    {0x1F38, 0x1F3F, -8},     {0x1F48, 0x1F4D, -8},     {0x1F68, 0x1F6F, -8},
    {0x2160, 0x216F, 16},     {0x24B6, 0x24CF, 26},     {0x2C00, 0x2C2E, 48},
    {0xFF21, 0xFF3A, 32},     {0x10400, 0x10427, 40},
};

// Ranges of alternating pairs: upper at even (or odd) code points, lower next.
struct Pairs {
    char32_t first, last;  // first is an upper-case letter
};
constexpr Pairs kPairs[] = {
    {0x0100, 0x012F}, {0x0132, 0x0137}, {0x0139, 0x0148}, {0x014A, 0x0177}, {0x0179, 0x017E},
    {0x01A0, 0x01A5}, {0x01DE, 0x01EF}, {0x01F8, 0x021F}, {0x0222, 0x0233}, {0x03D8, 0x03EF},
    {0x0460, 0x0481}, {0x048A, 0x04BF}, {0x04C1, 0x04CE}, {0x04D0, 0x052F}, {0x1E00, 0x1E95},
    {0x1EA0, 0x1EFF}, {0x2C80, 0x2CE3}, {0xA640, 0xA66D}, {0xA680, 0xA69B}, {0xA722, 0xA72F},
    {0xA732, 0xA76F}, {0xA779, 0xA77C}, {0xA77E, 0xA787}, {0xA790, 0xA793}, {0xA796, 0xA7A9},
};

// Single pairs that fit no range.
struct Single {
    char32_t up, low;
};
constexpr Single kSingles[] = {
    {0x0178, 0x00FF}, {0x0386, 0x03AC}, {0x01CD, 0x01CE}, {0x01CF, 0x01D0}, {0x01D1, 0x01D2},
    {0x01D3, 0x01D4}, {0x01D5, 0x01D6}, {0x01D7, 0x01D8}, {0x01D9, 0x01DA}, {0x01DB, 0x01DC},
    {0x0187, 0x0188}, {0x018B, 0x018C}, {0x0191, 0x0192}, {0x0198, 0x0199}, {0x01A7, 0x01A8},
    {0x01AC, 0x01AD}, {0x01AF, 0x01B0}, {0x01B3, 0x01B4}, {0x01B5, 0x01B6}, {0x01B8, 0x01B9},
    {0x01BC, 0x01BD}, {0x01C4, 0x01C6}, {0x01C7, 0x01C9}, {0x01CA, 0x01CC}, {0x01F1, 0x01F3},
    {0x01F4, 0x01F5}, {0x0181, 0x0253}, {0x0186, 0x0254}, {0x0189, 0x0256}, {0x018A, 0x0257},
    {0x018F, 0x0259}, {0x0190, 0x025B}, {0x0193, 0x0260}, {0x0194, 0x0263}, {0x0196, 0x0269},
    {0x0197, 0x0268}, {0x019C, 0x026F}, {0x019D, 0x0272}, {0x01A9, 0x0283}, {0x01AE, 0x0288},
    {0x01B1, 0x028A}, {0x01B2, 0x028B}, {0x01B7, 0x0292}, {0x1E9E, 0x00DF},
};

bool InPairRange(char32_t cp, char32_t& other, bool wantUpper) {
    for (const auto& p : kPairs) {
        if (cp < p.first || cp > p.last) continue;
        const bool isUpper = ((cp - p.first) % 2) == 0;
        if (wantUpper && !isUpper) {
            other = cp - 1;
            return true;
        }
        if (!wantUpper && isUpper && cp + 1 <= p.last) {
            other = cp + 1;
            return true;
        }
        return false;
    }
    return false;
}

}  // namespace

namespace {

// Large blocks without case (CJK, Hangul, symbols, emoji): most non-Latin
// names live here, and they need no table walk.
bool caseless(char32_t cp) {
    return (cp >= 0x3000 && cp < 0xA640) || (cp >= 0xAC00 && cp < 0xFF21) || (cp > 0xFF5A && cp < 0x10400) ||
           cp > 0x1044F;
}

}  // namespace

char32_t Lower(char32_t cp) {
    if (cp < 0x80) return (cp >= U'A' && cp <= U'Z') ? cp + 32 : cp;
    if (caseless(cp)) return cp;
    for (const auto& o : kOffsets)
        if (cp >= o.upperFirst && cp <= o.upperLast) return static_cast<char32_t>(static_cast<int32_t>(cp) + o.delta);
    char32_t other;
    if (InPairRange(cp, other, false)) return other;
    for (const auto& s : kSingles)
        if (s.up == cp) return s.low;
    if (cp == 0x0130) return U'i';
    return cp;
}

char32_t Upper(char32_t cp) {
    if (cp < 0x80) return (cp >= U'a' && cp <= U'z') ? cp - 32 : cp;
    if (caseless(cp)) return cp;
    for (const auto& o : kOffsets) {
        const auto first = static_cast<char32_t>(static_cast<int32_t>(o.upperFirst) + o.delta);
        const auto last = static_cast<char32_t>(static_cast<int32_t>(o.upperLast) + o.delta);
        if (cp >= first && cp <= last) return static_cast<char32_t>(static_cast<int32_t>(cp) - o.delta);
    }
    char32_t other;
    if (InPairRange(cp, other, true)) return other;
    for (const auto& s : kSingles)
        if (s.low == cp && s.low != 0x00DF) return s.up;  // ß keeps its form, as the simple mapping does
    if (cp == 0x03C2) return 0x03A3;                       // final sigma
    if (cp == 0x0131) return U'I';                         // dotless i
    // The micro sign keeps its form: upper-cased in the code pages that
    // names were first written in, it stays a micro sign, and "µm" must not
    // turn Greek.
    return cp;
}

namespace {

template <typename Map>
std::string MapString(std::string_view s, Map map, bool sameLengthOnly) {
    std::string out;
    out.reserve(s.size());
    char32_t cp;
    bool valid;
    for (size_t i = 0; i < s.size();) {
        const size_t len = Decode(s, i, cp, &valid);
        if (!valid) {
            out += s[i];
        } else {
            const char32_t mapped = map(cp);
            const size_t before = out.size();
            Append(out, mapped);
            if (sameLengthOnly && out.size() - before != len) {
                out.resize(before);
                out.append(s.substr(i, len));
            }
        }
        i += len;
    }
    return out;
}

}  // namespace

std::string ToUpper(std::string_view s) { return MapString(s, Upper, false); }
std::string ToLower(std::string_view s) { return MapString(s, Lower, false); }
std::string FoldCase(std::string_view s) { return MapString(s, Upper, true); }

unsigned Classify(char32_t cp) {
    if (cp >= U'0' && cp <= U'9') return kClassDigit;
    if ((cp >= 0x09 && cp <= 0x0D) || cp == U' ' || cp == 0x85 || cp == 0xA0 || cp == 0x1680 ||
        (cp >= 0x2000 && cp <= 0x200A) || cp == 0x2028 || cp == 0x2029 || cp == 0x202F || cp == 0x205F ||
        cp == 0x3000)
        return kClassSpace;
    if (cp < 0x80) {
        const bool punct = (cp >= 0x21 && cp <= 0x2F) || (cp >= 0x3A && cp <= 0x40) || (cp >= 0x5B && cp <= 0x60) ||
                           (cp >= 0x7B && cp <= 0x7E);
        return punct ? kClassPunct : kClassNone;
    }
    // Latin-1 signs are punctuation, but the two ordinal indicators and the
    // micro sign are letters; the currency signs and the trade mark sign go
    // with their Latin-1 kin (£, ¥, ©, ®).
    if (cp == 0xAA || cp == 0xB5 || cp == 0xBA) return kClassNone;
    if ((cp >= 0xA1 && cp <= 0xBF) || cp == 0xD7 || cp == 0xF7 || (cp >= 0x2010 && cp <= 0x2027) ||
        (cp >= 0x2030 && cp <= 0x205E) || (cp >= 0x20A0 && cp <= 0x20C0) || cp == 0x2122 ||
        (cp >= 0x3001 && cp <= 0x3003) || (cp >= 0x3008 && cp <= 0x3011) ||
        (cp >= 0x3014 && cp <= 0x301F) || (cp >= 0xFF01 && cp <= 0xFF0F) || (cp >= 0xFF1A && cp <= 0xFF20) ||
        (cp >= 0xFF3B && cp <= 0xFF40) || (cp >= 0xFF5B && cp <= 0xFF65))
        return kClassPunct;
    return kClassNone;
}

unsigned ClassifyAt(std::string_view s, size_t pos) {
    char32_t cp;
    bool valid;
    Decode(s, pos, cp, &valid);
    return valid ? Classify(cp) : kClassNone;
}

int CompareNoCase(std::string_view a, std::string_view b) {
    // Sorting a large folder by name compares millions of mostly ASCII
    // names: their leading ASCII run is compared bytewise, with the same
    // result as the general loop below.
    const size_t n = std::min(a.size(), b.size());
    size_t i = 0;
    for (; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if ((x | y) >= 0x80) break;
        if (x == y) continue;
        const unsigned ux = x >= 'a' && x <= 'z' ? x - ('a' - 'A') : x;
        const unsigned uy = y >= 'a' && y <= 'z' ? y - ('a' - 'A') : y;
        if (ux != uy) return ux < uy ? -1 : 1;
    }
    size_t j = i;
    char32_t ca, cb;
    bool va, vb;
    while (i < a.size() && j < b.size()) {
        i += Decode(a, i, ca, &va);
        j += Decode(b, j, cb, &vb);
        // Stray bytes sort after every real character, by their byte value.
        const uint32_t ka = va ? Upper(ca) : 0x110000u + ca;
        const uint32_t kb = vb ? Upper(cb) : 0x110000u + cb;
        if (ka != kb) return ka < kb ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

NoCaseKey MakeNoCaseKey(std::string_view s) {
    // Each comparison key of compareNoCase is written the way UTF-8 writes a
    // code point (stretched to cover the stray-byte keys above U+10FFFF):
    // that form is prefix-free and orders as the numbers do, so the bytes of
    // two keys order as their sequences of comparison keys.
    unsigned char bytes[16] = {};
    size_t n = 0;
    for (size_t i = 0; i < s.size() && n < sizeof bytes;) {
        uint32_t k;
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            k = c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
            ++i;
        } else {
            char32_t cp;
            bool valid;
            i += Decode(s, i, cp, &valid);
            k = valid ? Upper(cp) : 0x110000u + cp;
        }
        unsigned char enc[4];
        size_t len;
        if (k < 0x80) {
            enc[0] = static_cast<unsigned char>(k);
            len = 1;
        } else if (k < 0x800) {
            enc[0] = static_cast<unsigned char>(0xC0 | (k >> 6));
            enc[1] = static_cast<unsigned char>(0x80 | (k & 0x3F));
            len = 2;
        } else if (k < 0x10000) {
            enc[0] = static_cast<unsigned char>(0xE0 | (k >> 12));
            enc[1] = static_cast<unsigned char>(0x80 | ((k >> 6) & 0x3F));
            enc[2] = static_cast<unsigned char>(0x80 | (k & 0x3F));
            len = 3;
        } else {
            enc[0] = static_cast<unsigned char>(0xF0 | (k >> 18));
            enc[1] = static_cast<unsigned char>(0x80 | ((k >> 12) & 0x3F));
            enc[2] = static_cast<unsigned char>(0x80 | ((k >> 6) & 0x3F));
            enc[3] = static_cast<unsigned char>(0x80 | (k & 0x3F));
            len = 4;
        }
        // A key cut short still orders correctly: the bytes kept decide, or
        // the two keys tie and the strings are compared.
        for (size_t b = 0; b < len && n < sizeof bytes; ++b) bytes[n++] = enc[b];
    }
    NoCaseKey key;
    for (size_t b = 0; b < 8; ++b) key.high = key.high << 8 | bytes[b];
    for (size_t b = 8; b < 16; ++b) key.low = key.low << 8 | bytes[b];
    return key;
}

bool IsValid(std::string_view s) {
    char32_t cp;
    bool valid;
    for (size_t i = 0; i < s.size();) {
        i += Decode(s, i, cp, &valid);
        if (!valid) return false;
    }
    return true;
}

}  // namespace text
