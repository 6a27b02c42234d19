#include "operations/Remove.h"

#include <algorithm>
#include <array>
#include <vector>

#include "operations/Occurrence.h"
#include "platform/Text.h"

namespace {

std::unique_ptr<CFileDescriptor> Unchanged(const CFileDescriptor& fd) {
    return std::make_unique<CFileDescriptor>(fd);
}

// The vowels in their lower-case form; their capitals count as well. Each
// accented one is also written as its letter and one combining accent.
struct Vowel {
    char32_t composed;
    char32_t letter;
    char32_t accent;  ///< 0 for a plain vowel
};
constexpr Vowel kVowels[] = {
    {U'a', U'a', 0},       {U'e', U'e', 0},       {U'i', U'i', 0},       {U'o', U'o', 0},       {U'u', U'u', 0},
    {0x00F6, U'o', 0x308}, {0x00E9, U'e', 0x301}, {0x00E4, U'a', 0x308}, {0x00E0, U'a', 0x300}, {0x00FC, U'u', 0x308},
    {0x00E8, U'e', 0x300}, {0x00EB, U'e', 0x308}, {0x00EA, U'e', 0x302}, {0x00E2, U'a', 0x302}, {0x00F4, U'o', 0x302},
    {0x00FB, U'u', 0x302}, {0x00EE, U'i', 0x302}, {0x00E3, U'a', 0x303}, {0x00F5, U'o', 0x303}, {0x00E1, U'a', 0x301},
    {0x00F3, U'o', 0x301}, {0x00F2, U'o', 0x300}, {0x00EF, U'i', 0x308}, {0x00EC, U'i', 0x300}, {0x00ED, U'i', 0x301},
};

// The vowel that `cp` is, in either case, or null.
const Vowel* FindVowel(char32_t cp) {
    const char32_t lower = text::Lower(cp);
    for (const Vowel& v : kVowels)
        if (v.composed == lower) return &v;
    return nullptr;
}

bool IsCombiningMark(char32_t cp) {
    return (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x1AB0 && cp <= 0x1AFF) || (cp >= 0x1DC0 && cp <= 0x1DFF) ||
           (cp >= 0x20D0 && cp <= 0x20FF) || (cp >= 0xFE20 && cp <= 0xFE2F);
}

// Whether a letter with the combining marks after it is one of the vowels:
// "u" with a combining diaeresis is "ü" and goes, as "ü" does, while "u"
// with a combining acute is "ú", which is no vowel of the set and stays, as
// "ú" does. A vowel with more accents than its own is another letter.
bool IsVowelCluster(char32_t first, const std::vector<char32_t>& marks) {
    const Vowel* v = FindVowel(first);
    if (!v) {
        // A plain letter that only its one accent makes a vowel.
        if (marks.size() != 1) return false;
        const char32_t letter = text::Lower(first);
        for (const Vowel& candidate : kVowels)
            if (candidate.accent != 0 && candidate.letter == letter && candidate.accent == marks[0]) return true;
        return false;
    }
    if (marks.empty()) return true;
    if (v->accent != 0 || marks.size() != 1) return false;
    for (const Vowel& candidate : kVowels)
        if (candidate.accent != 0 && candidate.letter == v->letter && candidate.accent == marks[0]) return true;
    return false;
}

}  // namespace

CRemoveAtBeginningExecute::CRemoveAtBeginningExecute(const CRunOptions& options, const std::string& count)
    : CExecute(options), count_(ScanInt(count)) {}

std::unique_ptr<CFileDescriptor> CRemoveAtBeginningExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    const std::string& part = fd.part();
    // Removing every character would leave nothing to name the item by.
    if (count_ <= 0 || static_cast<size_t>(count_) >= text::CharCount(part)) return Unchanged(fd);
    return WithPart(fd, part.substr(text::ByteOffset(part, static_cast<size_t>(count_))));
}

CRemoveAtEndExecute::CRemoveAtEndExecute(const CRunOptions& options, const std::string& count)
    : CExecute(options), count_(ScanInt(count)) {}

std::unique_ptr<CFileDescriptor> CRemoveAtEndExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    const std::string& part = fd.part();
    if (count_ <= 0 || static_cast<size_t>(count_) >= text::CharCount(part)) return Unchanged(fd);
    return WithPart(fd, part.substr(0, text::ByteOffsetFromEnd(part, static_cast<size_t>(count_))));
}

CTruncateToExecute::CTruncateToExecute(const CRunOptions& options, const std::string& length)
    : CExecute(options), length_(ScanInt(length)) {}

std::unique_ptr<CFileDescriptor> CTruncateToExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    const std::string& part = fd.part();
    // A negative length is no length to keep; it must not empty the part.
    if (length_ < 0 || static_cast<size_t>(length_) >= text::CharCount(part)) return Unchanged(fd);
    return WithPart(fd, part.substr(0, text::ByteOffset(part, static_cast<size_t>(length_))));
}

CRemoveExtensionsExecute::CRemoveExtensionsExecute(const CRunOptions& options)
    : CExecute(options) {}

std::unique_ptr<CFileDescriptor> CRemoveExtensionsExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    const std::string& part = fd.part();
    const size_t dot = part.rfind('.');
    if (dot == std::string::npos) return Unchanged(fd);
    return WithPart(fd, part.substr(0, dot));
}

CRemoveVowelsExecute::CRemoveVowelsExecute(const CRunOptions& options)
    : CExecute(options) {}

bool CRemoveVowelsExecute::IsVowel(char32_t cp) {
    return FindVowel(cp) != nullptr;
}

std::unique_ptr<CFileDescriptor> CRemoveVowelsExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    const std::string& part = fd.part();
    std::string result;
    result.reserve(part.size());
    std::vector<char32_t> marks;
    char32_t cp;
    bool valid;
    for (size_t i = 0, len = 0; i < part.size(); i += len) {
        len = text::Decode(part, i, cp, &valid);
        // A character and the combining marks after it are one letter to
        // the reader: they go or stay together.
        size_t end = i + len;
        marks.clear();
        if (valid) {
            char32_t mark;
            bool markValid;
            for (size_t next; end < part.size(); end += next) {
                next = text::Decode(part, end, mark, &markValid);
                if (!markValid || !IsCombiningMark(mark)) break;
                marks.push_back(mark);
            }
        }
        if (!valid || !IsVowelCluster(cp, marks)) result.append(part, i, end - i);
        len = end - i;
    }
    // A name of vowels only keeps them all rather than becoming empty.
    if (result.empty()) return Unchanged(fd);
    return WithPart(fd, result);
}

CRemoveAnywhereExecute::CRemoveAnywhereExecute(const CRunOptions& options, int startKind,
                                               int startOccurrenceOrDirection, const std::string& startTextOrPosition,
                                               int endKind, int endOccurrenceOrWay, const std::string& endTextOrNumber,
                                               int endEdge)
    : CExecute(options),
      startKind_(startKind),
      startValue_(startOccurrenceOrDirection),
      endKind_(endKind),
      endValue_(endOccurrenceOrWay),
      endEdge_(endEdge) {
    if (startKind_ == kStartAtText)
        startText_ = startTextOrPosition;
    else
        startPosition_ = ScanInt(startTextOrPosition);
    if (endKind_ == kEndAtText)
        endText_ = endTextOrNumber;
    else
        endNumber_ = ScanInt(endTextOrNumber);
}

std::unique_ptr<CFileDescriptor> CRemoveAnywhereExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    const std::string& part = fd.part();
    const std::string_view view(part);
    // Points are character indices, kept unclamped until the cut: a start
    // past the end removes nothing, even counting back from it.
    const auto total = static_cast<long long>(text::CharCount(part));
    const auto charsBefore = [&](long bytes) {
        return static_cast<long long>(text::CharCount(view.substr(0, static_cast<size_t>(bytes))));
    };

    long long start;
    if (startKind_ == kStartAtText) {
        const long found = FindOccurrence(part, startText_, startValue_);
        if (found < 0) return Unchanged(fd);
        start = charsBefore(found);
    } else if (startValue_ == kFromBeginning) {
        start = startPosition_;
    } else if (startValue_ == kFromEnd) {
        start = total - startPosition_;
    } else {
        return Unchanged(fd);
    }

    long long end;
    if (endKind_ == kEndAtPosition) {
        if (endValue_ == kFromBeginning)
            end = endNumber_;
        else if (endValue_ == kFromEnd)
            end = total - endNumber_;
        else
            return Unchanged(fd);
    } else if (endKind_ == kEndAtText) {
        // Searched over the whole part: an end text only before the start
        // gives an end before the start, and nothing is removed.
        const long found = FindOccurrence(part, endText_, endValue_);
        if (found < 0) return Unchanged(fd);
        end = charsBefore(found);
        if (endEdge_ == kEndOfText) end += static_cast<long long>(text::CharCount(endText_));
    } else if (endKind_ == kEndByCount) {
        if (endValue_ == kNext) {
            end = std::min(start + endNumber_, total);
        } else if (endValue_ == kPrevious) {
            end = start;
            start = std::max(start - endNumber_, 0LL);
        } else {
            return Unchanged(fd);
        }
    } else {
        return Unchanged(fd);
    }

    if (start >= end) return Unchanged(fd);
    const auto cut = [&](long long chars) { return text::ByteOffset(part, static_cast<size_t>(std::max(chars, 0LL))); };
    const size_t from = cut(start);
    const size_t to = cut(end);
    return WithPart(fd, part.substr(0, from) + part.substr(to));
}
