#include "operations/Remove.h"

#include <algorithm>
#include <array>
#include <bitset>

#include "operations/Occurrence.h"
#include "platform/Text.h"

namespace {

std::unique_ptr<CFileDescriptor> Unchanged(const CFileDescriptor& fd) {
    return std::make_unique<CFileDescriptor>(fd);
}

// The vowels in their lower-case form; their capitals count as well.
constexpr char32_t kVowels[] = {
    U'a',   U'e',   U'i',   U'o',   U'u',    //
    0x00F6, 0x00E9, 0x00E4, 0x00E0, 0x00FC,  // ö é ä à ü
    0x00E8, 0x00EB, 0x00EA, 0x00E2, 0x00F4,  // è ë ê â ô
    0x00FB, 0x00EE, 0x00E3, 0x00F5, 0x00E1,  // û î ã õ á
    0x00F3, 0x00F2, 0x00EF, 0x00EC, 0x00ED,  // ó ò ï ì í
};

// Every vowel and its capital lies below U+0100, so a bitmap answers at once.
const std::bitset<256>& VowelMap() {
    static const std::bitset<256> map = [] {
        std::bitset<256> m;
        for (const char32_t v : kVowels) {
            m.set(v);
            const char32_t up = text::upper(v);
            if (up < 256) m.set(up);
        }
        return m;
    }();
    return map;
}

// Accents written as separate combining marks belong to the letter before
// them: they go with a removed vowel instead of landing on its neighbour.
bool IsCombiningMark(char32_t cp) {
    return cp >= 0x0300 && cp <= 0x036F;
}

}  // namespace

CRemoveAtBeginningExecute::CRemoveAtBeginningExecute(int files, int folders, int subfolders, int confirm, int scope,
                                                     int sortOrder, int sortEachFolder, const std::string& count)
    : CExecute(files, folders, subfolders, confirm, scope, sortOrder, sortEachFolder), count_(ScanInt(count)) {}

std::unique_ptr<CFileDescriptor> CRemoveAtBeginningExecute::compute(const CFileDescriptor& fd) {
    const std::string& part = fd.part();
    // Removing every character would leave nothing to name the item by.
    if (count_ <= 0 || static_cast<size_t>(count_) >= text::charCount(part)) return Unchanged(fd);
    return WithPart(fd, part.substr(text::byteOffset(part, static_cast<size_t>(count_))));
}

CRemoveAtEndExecute::CRemoveAtEndExecute(int files, int folders, int subfolders, int confirm, int scope, int sortOrder,
                                         int sortEachFolder, const std::string& count)
    : CExecute(files, folders, subfolders, confirm, scope, sortOrder, sortEachFolder), count_(ScanInt(count)) {}

std::unique_ptr<CFileDescriptor> CRemoveAtEndExecute::compute(const CFileDescriptor& fd) {
    const std::string& part = fd.part();
    if (count_ <= 0 || static_cast<size_t>(count_) >= text::charCount(part)) return Unchanged(fd);
    return WithPart(fd, part.substr(0, text::byteOffsetFromEnd(part, static_cast<size_t>(count_))));
}

CTruncateToExecute::CTruncateToExecute(int files, int folders, int subfolders, int confirm, int scope, int sortOrder,
                                       int sortEachFolder, const std::string& length)
    : CExecute(files, folders, subfolders, confirm, scope, sortOrder, sortEachFolder), length_(ScanInt(length)) {}

std::unique_ptr<CFileDescriptor> CTruncateToExecute::compute(const CFileDescriptor& fd) {
    const std::string& part = fd.part();
    // A negative length is no length to keep; it must not empty the part.
    if (length_ < 0 || static_cast<size_t>(length_) >= text::charCount(part)) return Unchanged(fd);
    return WithPart(fd, part.substr(0, text::byteOffset(part, static_cast<size_t>(length_))));
}

CRemoveExtensionsExecute::CRemoveExtensionsExecute(int files, int folders, int subfolders, int confirm, int scope,
                                                   int sortOrder, int sortEachFolder)
    : CExecute(files, folders, subfolders, confirm, scope, sortOrder, sortEachFolder) {}

std::unique_ptr<CFileDescriptor> CRemoveExtensionsExecute::compute(const CFileDescriptor& fd) {
    const std::string& part = fd.part();
    const size_t dot = part.rfind('.');
    if (dot == std::string::npos) return Unchanged(fd);
    return WithPart(fd, part.substr(0, dot));
}

CRemoveVowelsExecute::CRemoveVowelsExecute(int files, int folders, int subfolders, int confirm, int scope,
                                           int sortOrder, int sortEachFolder)
    : CExecute(files, folders, subfolders, confirm, scope, sortOrder, sortEachFolder) {}

bool CRemoveVowelsExecute::IsVowel(char32_t cp) {
    return cp < 256 && VowelMap().test(cp);
}

std::unique_ptr<CFileDescriptor> CRemoveVowelsExecute::compute(const CFileDescriptor& fd) {
    const std::string& part = fd.part();
    std::string result;
    result.reserve(part.size());
    bool dropping = false;  // inside a removed vowel and its combining marks
    char32_t cp;
    bool valid;
    for (size_t i = 0, len = 0; i < part.size(); i += len) {
        len = text::decode(part, i, cp, &valid);
        if (valid && (IsVowel(cp) || (dropping && IsCombiningMark(cp)))) {
            dropping = true;
            continue;
        }
        dropping = false;
        result.append(part, i, len);
    }
    // A name of vowels only keeps them all rather than becoming empty.
    if (result.empty()) return Unchanged(fd);
    return WithPart(fd, result);
}

CRemoveAnywhereExecute::CRemoveAnywhereExecute(int files, int folders, int subfolders, int confirm, int scope,
                                               int sortOrder, int sortEachFolder, int startKind,
                                               int startOccurrenceOrDirection, const std::string& startTextOrPosition,
                                               int endKind, int endOccurrenceOrWay, const std::string& endTextOrNumber,
                                               int endEdge)
    : CExecute(files, folders, subfolders, confirm, scope, sortOrder, sortEachFolder),
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

std::unique_ptr<CFileDescriptor> CRemoveAnywhereExecute::compute(const CFileDescriptor& fd) {
    const std::string& part = fd.part();
    const std::string_view view(part);
    // Points are character indices, kept unclamped until the cut: a start
    // past the end removes nothing, even counting back from it.
    const auto total = static_cast<long long>(text::charCount(part));
    const auto charsBefore = [&](long bytes) {
        return static_cast<long long>(text::charCount(view.substr(0, static_cast<size_t>(bytes))));
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
        if (endEdge_ == kEndOfText) end += static_cast<long long>(text::charCount(endText_));
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
    const auto cut = [&](long long chars) { return text::byteOffset(part, static_cast<size_t>(std::max(chars, 0LL))); };
    const size_t from = cut(start);
    const size_t to = cut(end);
    return WithPart(fd, part.substr(0, from) + part.substr(to));
}
