#pragma once

#include <compare>
#include <cstddef>
#include <string>
#include <string_view>

/// UTF-8 text helpers. Names are UTF-8 everywhere; a byte sequence that is not
/// valid UTF-8 (possible in POSIX file names) is treated as one character per
/// stray byte and passed through unchanged, so no helper ever loses a byte.
///
/// The case tables are our own rather than the C library's so that both
/// platforms, and every locale, give the same names.
namespace text {

/// Length in bytes of the character that starts at `pos` (1 for a stray byte),
/// and its code point in `cp` (the byte value itself for a stray byte, with
/// `valid` false).
size_t Decode(std::string_view s, size_t pos, char32_t& cp, bool* valid = nullptr);

/// Appends the UTF-8 form of `cp`.
void Append(std::string& out, char32_t cp);

/// Number of characters in `s`.
size_t CharCount(std::string_view s);

/// Byte offset of character number `chars` (0-based); the size of `s` when
/// `chars` is at or beyond the end.
size_t ByteOffset(std::string_view s, size_t chars);

/// Byte offset of the start of the character `chars` characters before the end;
/// 0 when `chars` is at or beyond the character count.
size_t ByteOffsetFromEnd(std::string_view s, size_t chars);

/// Whole-string simple case mappings (accented Latin, Greek, Cyrillic and more).
std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);

/// Upper case of one code point, and lower case; the code point itself when
/// it has no simple mapping.
char32_t Upper(char32_t cp);
char32_t Lower(char32_t cp);

/// Upper-cases only those characters whose upper form has the same UTF-8
/// length, so a byte offset in the result is the same offset in `s`. This is
/// what every ignore-case match runs on.
std::string FoldCase(std::string_view s);

/// Character classes, after the Windows "first class set": only the three the
/// renamer looks at.
enum CharClass : unsigned {
    kClassNone = 0,
    kClassDigit = 1,
    kClassSpace = 2,
    kClassPunct = 4,
};
unsigned Classify(char32_t cp);

/// Classes of the character at `pos` of `s`.
unsigned ClassifyAt(std::string_view s, size_t pos);

/// Case-insensitive comparison by folded code points: <0, 0, >0.
int CompareNoCase(std::string_view a, std::string_view b);

/// The first bytes of an order-preserving form of `s` under compareNoCase,
/// for sorting many names without following a pointer per comparison: when
/// two keys differ they order as compareNoCase orders their strings; when
/// they are equal nothing is known, and the strings must be compared.
struct NoCaseKey {
    unsigned long long high = 0, low = 0;
    auto operator<=>(const NoCaseKey&) const = default;
};
NoCaseKey MakeNoCaseKey(std::string_view s);

/// True when every byte sequence in `s` is valid UTF-8.
bool IsValid(std::string_view s);

/// Position of the start of the character that precedes `pos` (pos > 0).
size_t PreviousStart(std::string_view s, size_t pos);

}  // namespace text
