#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "core/Execute.h"

/// A regular expression as the pattern action compiles it: Perl's syntax,
/// over the Unicode characters of UTF-8 names, with Unicode classes (\w, \d,
/// case) and a bound on the work one match may take.
class CPattern {
public:
    /// Compiles `pattern`; see ok() and error().
    CPattern(const std::string& pattern, bool ignoreCase);
    ~CPattern();
    CPattern(const CPattern&) = delete;
    CPattern& operator=(const CPattern&) = delete;

    bool ok() const { return code_ != nullptr; }
    /// Why the pattern does not compile, and where: the character from 1 at
    /// which the library stopped.
    const std::string& error() const { return error_; }
    size_t errorPosition() const { return errorPosition_; }

    /// How a replacement went.
    enum class Result { kReplaced, kNoMatch, kTooMuchWork, kBadReplacement };
    /// Replaces the first match of `text`, or every one with `all`, by
    /// `replacement` ($1, ${name}, $$), into `out`.
    Result Replace(const std::string& text, const std::string& replacement, bool all, std::string& out) const;

private:
    struct Code;
    std::unique_ptr<Code> code_;
    std::string error_;
    size_t errorPosition_ = 0;
};

/// "Replace by pattern": the matches of a regular expression in the part are
/// replaced by a text that may name what the groups matched. A name whose
/// match would take too much work keeps its name, and the action says so.
class CReplaceByPatternExecute : public CExecute {
public:
    CReplaceByPatternExecute(const CRunOptions& options, const std::string& pattern, const std::string& replacement,
                             bool ignoreCase, bool all);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;
    std::string Problem() const override;
    /// False when the pattern does not compile: the action then leaves every
    /// name as it is.
    bool ok() const { return pattern_.ok(); }

private:
    CPattern pattern_;
    std::string replacement_;
    bool all_;
    size_t tooMuchWork_ = 0;
    size_t badReplacement_ = 0;
};
