#include "operations/Replace.h"

#include <algorithm>

#include "operations/Occurrence.h"
#include "platform/Text.h"

namespace {

std::unique_ptr<CFileDescriptor> Unchanged(const CFileDescriptor& fd) {
    return std::make_unique<CFileDescriptor>(fd);
}

std::string Folded(const std::string& s, int ignoreCase) {
    return ignoreCase ? text::FoldCase(s) : s;
}

// `slice` of the part equals the (already folded) find text. Folding keeps
// byte lengths, so a slice that is not the same size can never match.
bool SliceMatches(std::string_view slice, const std::string& match, int ignoreCase) {
    if (slice.size() != match.size()) return false;
    return ignoreCase ? text::FoldCase(slice) == match : slice == match;
}

// One key per character: its code point, or for a byte that is not UTF-8 a
// value no code point takes, so stray bytes match only themselves.
char32_t KeyAt(std::string_view s, size_t pos, size_t& len) {
    char32_t cp;
    bool valid;
    len = text::Decode(s, pos, cp, &valid);
    return valid ? cp : 0x110000u + static_cast<unsigned char>(s[pos]);
}

}  // namespace

CReplaceAtBeginningExecute::CReplaceAtBeginningExecute(const CRunOptions& options, const std::string& find,
                                                       const std::string& replacement, int ignoreCase)
    : CExecute(options),
      find_(Folded(find, ignoreCase)),
      replacement_(replacement),
      ignoreCase_(ignoreCase) {}

std::unique_ptr<CFileDescriptor> CReplaceAtBeginningExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    const std::string& part = fd.part();
    // Finding nothing replaces nothing; an empty find text would otherwise
    // put the replacement in front of every name.
    if (find_.empty() || part.size() < find_.size()) return Unchanged(fd);
    if (!SliceMatches(std::string_view(part).substr(0, find_.size()), find_, ignoreCase_)) return Unchanged(fd);
    return WithPart(fd, replacement_ + part.substr(find_.size()));
}

CReplaceAtEndExecute::CReplaceAtEndExecute(const CRunOptions& options, const std::string& find,
                                           const std::string& replacement, int ignoreCase)
    : CExecute(options),
      find_(Folded(find, ignoreCase)),
      replacement_(replacement),
      ignoreCase_(ignoreCase) {}

std::unique_ptr<CFileDescriptor> CReplaceAtEndExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    const std::string& part = fd.part();
    if (find_.empty() || part.size() < find_.size()) return Unchanged(fd);
    const size_t cut = part.size() - find_.size();
    if (!SliceMatches(std::string_view(part).substr(cut), find_, ignoreCase_)) return Unchanged(fd);
    return WithPart(fd, part.substr(0, cut) + replacement_);
}

CReplaceAnywhereExecute::CReplaceAnywhereExecute(const CRunOptions& options, const std::string& find,
                                                 const std::string& replacement, int occurrence, int ignoreCase)
    : CExecute(options),
      find_(Folded(find, ignoreCase)),
      replacement_(replacement),
      occurrence_(occurrence),
      ignoreCase_(ignoreCase) {}

std::unique_ptr<CFileDescriptor> CReplaceAnywhereExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    const std::string& part = fd.part();
    if (find_.empty() || part.size() < find_.size()) return Unchanged(fd);
    // The search runs on a folded copy whose byte offsets are those of the
    // part; what is kept is always cut from the part itself.
    std::string folded;
    if (ignoreCase_) folded = text::FoldCase(part);
    const std::string_view search = ignoreCase_ ? std::string_view(folded) : std::string_view(part);

    if (occurrence_ == kAll) {
        std::string result;
        size_t kept = 0;  // part bytes before this offset are already in result
        for (size_t found = search.find(find_); found != std::string_view::npos; found = search.find(find_, kept)) {
            result.append(part, kept, found - kept);
            result += replacement_;
            kept = found + find_.size();
        }
        if (kept == 0) return Unchanged(fd);
        result.append(part, kept, std::string::npos);
        return WithPart(fd, result);
    }

    long found = -1;
    if (occurrence_ >= kFirst && occurrence_ < kLast)
        found = FindNthFromStart(search, find_, occurrence_);
    else if (occurrence_ == kLast)
        found = FindOccurrence(search, find_, kOccurrenceLast);
    else if (occurrence_ >= kSecondToLast && occurrence_ <= kFifthToLast)
        found = FindNthFromEnd(search, find_, occurrence_ - kLast + 1);
    if (found < 0) return Unchanged(fd);
    const auto at = static_cast<size_t>(found);
    return WithPart(fd, part.substr(0, at) + replacement_ + part.substr(at + find_.size()));
}

CReplaceCharactersExecute::CReplaceCharactersExecute(const CRunOptions& options, const std::string& find1,
                                                     const std::string& replacement1, int ignoreCase1,
                                                     const std::string& find2, const std::string& replacement2,
                                                     int ignoreCase2, const std::string& find3,
                                                     const std::string& replacement3, int ignoreCase3)
    : CExecute(options),
      triples_{MakeTriple(find1, replacement1, ignoreCase1), MakeTriple(find2, replacement2, ignoreCase2),
               MakeTriple(find3, replacement3, ignoreCase3)},
      anyIgnoreCase_(ignoreCase1 || ignoreCase2 || ignoreCase3) {}

CReplaceCharactersExecute::Triple CReplaceCharactersExecute::MakeTriple(const std::string& find,
                                                                        const std::string& replacement,
                                                                        int ignoreCase) {
    Triple triple{{}, replacement, ignoreCase != 0};
    const std::string set = Folded(find, ignoreCase);
    size_t len;
    for (size_t i = 0; i < set.size(); i += len) triple.keys.push_back(KeyAt(set, i, len));
    std::sort(triple.keys.begin(), triple.keys.end());
    triple.keys.erase(std::unique(triple.keys.begin(), triple.keys.end()), triple.keys.end());
    return triple;
}

std::unique_ptr<CFileDescriptor> CReplaceCharactersExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    const std::string& part = fd.part();
    // Folding keeps every character at its offset and length, so one walk
    // reads each character both as it is and folded.
    std::string folded;
    if (anyIgnoreCase_) folded = text::FoldCase(part);
    std::string result;
    result.reserve(part.size());
    size_t len;
    for (size_t i = 0; i < part.size(); i += len) {
        const char32_t key = KeyAt(part, i, len);
        char32_t foldedKey = key;
        if (anyIgnoreCase_) {
            size_t foldedLen;
            foldedKey = KeyAt(folded, i, foldedLen);
        }
        const Triple* hit = nullptr;
        for (const Triple& t : triples_) {
            if (std::binary_search(t.keys.begin(), t.keys.end(), t.ignoreCase ? foldedKey : key)) {
                hit = &t;
                break;
            }
        }
        if (hit)
            result += hit->replacement;
        else
            result.append(part, i, len);
    }
    return WithPart(fd, result);
}

CReplaceExtensionsExecute::CReplaceExtensionsExecute(const CRunOptions& options, const std::string& find,
                                                     const std::string& replacement, int ignoreCase)
    : CExecute(options),
      find_(Folded(find, ignoreCase)),
      replacement_(replacement),
      ignoreCase_(ignoreCase) {}

std::unique_ptr<CFileDescriptor> CReplaceExtensionsExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    const std::string& part = fd.part();
    const size_t dot = part.rfind('.');
    if (dot == std::string::npos) return Unchanged(fd);
    if (!SliceMatches(std::string_view(part).substr(dot + 1), find_, ignoreCase_)) return Unchanged(fd);
    return WithPart(fd, part.substr(0, dot + 1) + replacement_);
}
