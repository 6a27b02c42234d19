#include "operations/Case.h"

#include <algorithm>

#include "platform/Text.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view Trim(std::string_view s) {
    s = TrimLeft(s);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

CLowercaseExecute::CLowercaseExecute(const CRunOptions& options)
    : CExecute(options) {}

std::unique_ptr<CFileDescriptor> CLowercaseExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    return WithPart(fd, text::ToLower(fd.part()));
}

CUppercaseExecute::CUppercaseExecute(const CRunOptions& options)
    : CExecute(options) {}

std::unique_ptr<CFileDescriptor> CUppercaseExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    return WithPart(fd, text::ToUpper(fd.part()));
}

CCapitalExecute::CCapitalExecute(const CRunOptions& options)
    : CExecute(options) {}

std::unique_ptr<CFileDescriptor> CCapitalExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    std::string lowered = text::ToLower(fd.part());
    if (lowered.empty()) return WithPart(fd, lowered);
    char32_t cp;
    bool valid;
    const size_t len = text::Decode(lowered, 0, cp, &valid);
    // A stray byte has no case; it stays as it was.
    if (!valid) return WithPart(fd, lowered);
    std::string result;
    result.reserve(lowered.size() + 2);
    text::Append(result, text::Upper(cp));
    result.append(lowered, len, std::string::npos);
    return WithPart(fd, result);
}

CTitlecaseExecute::CTitlecaseExecute(const CRunOptions& options, int delimiters, const std::string& smallWords)
    : CExecute(options),
      delimiters_(delimiters == kPunctuation || delimiters == kPunctuationButApostrophe ? delimiters : kSpaces),
      smallWords_(ParseSmallWords(smallWords)) {}

std::vector<std::string> CTitlecaseExecute::ParseSmallWords(const std::string& text) {
    std::vector<std::string> words;
    std::string_view rest = Trim(text);
    for (auto space = rest.find(' '); space != std::string_view::npos; space = rest.find(' ')) {
        words.emplace_back(rest.substr(0, space));
        rest = TrimLeft(rest.substr(space + 1));
    }
    if (!rest.empty()) words.emplace_back(rest);
    return words;
}

bool CTitlecaseExecute::IsSmallWord(std::string_view word) const {
    return std::find(smallWords_.begin(), smallWords_.end(), word) != smallWords_.end();
}

std::unique_ptr<CFileDescriptor> CTitlecaseExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    const std::string lowered = text::ToLower(fd.part());
    const unsigned delimiterClasses =
        delimiters_ == kSpaces ? unsigned{text::kClassSpace} : unsigned{text::kClassSpace | text::kClassPunct};
    const bool apostropheJoins = delimiters_ == kPunctuationButApostrophe;

    std::string result;
    result.reserve(lowered.size() + 8);
    unsigned previousClass = text::kClassSpace;  // the part starts a word
    bool previousApostrophe = false;
    char32_t cp;
    bool valid;
    for (size_t i = 0; i < lowered.size();) {
        const size_t len = text::Decode(lowered, i, cp, &valid);
        const unsigned cls = valid ? text::Classify(cp) : unsigned{text::kClassNone};
        const bool wordStart = (previousClass & delimiterClasses) != 0 && !(apostropheJoins && previousApostrophe);
        bool raise = false;
        if (wordStart && valid) {
            raise = true;
            // The first word is raised even when it is a small word.
            if (i != 0 && !smallWords_.empty()) {
                size_t end = i + len;
                char32_t next;
                bool nextValid;
                while (end < lowered.size()) {
                    const size_t nextLen = text::Decode(lowered, end, next, &nextValid);
                    if (nextValid && (text::Classify(next) & delimiterClasses) != 0) break;
                    if (nextValid && apostropheJoins && next == U'\'') break;
                    end += nextLen;
                }
                raise = !IsSmallWord(std::string_view(lowered).substr(i, end - i));
            }
        }
        if (raise)
            text::Append(result, text::Upper(cp));
        else
            result.append(lowered, i, len);
        previousClass = cls;
        previousApostrophe = valid && cp == U'\'';
        i += len;
    }
    return WithPart(fd, result);
}

CPropercaseExecute::CPropercaseExecute(const CRunOptions& options, int delimiters)
    : CTitlecaseExecute(options, delimiters, "") {}
