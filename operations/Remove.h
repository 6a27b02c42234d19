#pragma once

#include <string>

#include "core/Execute.h"

/// "Remove at beginning": drops the first characters of the part; never all
/// of them.
class CRemoveAtBeginningExecute : public CExecute {
public:
    CRemoveAtBeginningExecute(const CRunOptions& options, const std::string& count);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    int count_;  ///< characters
};

/// "Remove at end": drops the last characters of the part; never all of them.
class CRemoveAtEndExecute : public CExecute {
public:
    CRemoveAtEndExecute(const CRunOptions& options, const std::string& count);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    int count_;  ///< characters
};

/// "Truncate": keeps the first characters of the part.
class CTruncateToExecute : public CExecute {
public:
    CTruncateToExecute(const CRunOptions& options, const std::string& length);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    int length_;  ///< characters
};

/// "Remove file/folder extensions": the part's last dot and what follows it.
class CRemoveExtensionsExecute : public CExecute {
public:
    CRemoveExtensionsExecute(const CRunOptions& options);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;
};

/// "Remove vowels": a, e, i, o, u, their common accented forms and their
/// capitals; a part of vowels only is left as it was.
class CRemoveVowelsExecute : public CExecute {
public:
    CRemoveVowelsExecute(const CRunOptions& options);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

    /// True for the characters this action removes.
    static bool IsVowel(char32_t cp);
};

/// "Remove anywhere": the stretch between a start point (a position or an
/// occurrence of a text) and an end point (a position, an occurrence of a
/// text, or a count of characters either way from the start).
class CRemoveAnywhereExecute : public CExecute {
public:
    /// Start kinds: 0 is a text, any other value a position.
    enum StartKind { kStartAtText = 0, kStartAtPosition = 1 };
    enum EndKind { kEndAtPosition = 0, kEndAtText = 1, kEndByCount = 2 };
    enum Direction { kFromBeginning = 0, kFromEnd = 1 };
    enum Way { kNext = 0, kPrevious = 1 };
    enum Edge { kStartOfText = 0, kEndOfText = 1 };

    /// Occurrences are those of "Insert anywhere" (0 "1st" ... 11 "6th to
    /// last"); positions and counts are decimal texts counting characters.
    CRemoveAnywhereExecute(const CRunOptions& options, int startKind, int startOccurrenceOrDirection,
                           const std::string& startTextOrPosition, int endKind, int endOccurrenceOrWay,
                           const std::string& endTextOrNumber, int endEdge);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    int startKind_;
    int startValue_;
    std::string startText_;
    int startPosition_ = 0;
    int endKind_;
    int endValue_;
    std::string endText_;
    int endNumber_ = 0;
    int endEdge_;
};
