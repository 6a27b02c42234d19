#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/Execute.h"

/// "Make lowercase": the whole part in lower case.
class CLowercaseExecute : public CExecute {
public:
    CLowercaseExecute(const CRunOptions& options);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;
};

/// "Make UPPERCASE": the whole part in upper case.
class CUppercaseExecute : public CExecute {
public:
    CUppercaseExecute(const CRunOptions& options);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;
};

/// "Make the first letter uppercase": the part lowered, then its first
/// character raised (whether or not it is a letter).
class CCapitalExecute : public CExecute {
public:
    CCapitalExecute(const CRunOptions& options);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;
};

/// "Make a Title Case": the part lowered, then the first character of every
/// word raised, except for the small words inside the name.
class CTitlecaseExecute : public CExecute {
public:
    /// What separates words, as the panels' list gives it.
    enum Delimiters { kSpaces = 0, kPunctuation = 1, kPunctuationButApostrophe = 2 };

    /// `smallWords` is separated by spaces; words are compared exactly with
    /// the lowered name, so a word typed in capitals never matches.
    CTitlecaseExecute(const CRunOptions& options,
                      int delimiters, const std::string& smallWords);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

    /// The small-word list as built from the typed text.
    const std::vector<std::string>& smallWords() const { return smallWords_; }

    /// Splits a typed small-word text: trimmed, then cut at each space, runs
    /// of white space after a space skipped.
    static std::vector<std::string> ParseSmallWords(const std::string& text);

private:
    bool IsSmallWord(std::string_view word) const;

    int delimiters_;
    std::vector<std::string> smallWords_;
};

/// "Make Proper Case": Title Case without small words.
class CPropercaseExecute : public CTitlecaseExecute {
public:
    CPropercaseExecute(const CRunOptions& options, int delimiters);
};
