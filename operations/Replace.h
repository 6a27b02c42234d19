#pragma once

#include <string>
#include <vector>

#include "core/Execute.h"

/// "Replace at beginning": the find text at the very start of the part is
/// swapped for the replacement; otherwise the name stays.
class CReplaceAtBeginningExecute : public CExecute {
public:
    CReplaceAtBeginningExecute(const CRunOptions& options, const std::string& find, const std::string& replacement,
                               int ignoreCase);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    std::string find_;
    std::string replacement_;
    int ignoreCase_;
};

/// "Replace at end": the same at the very end of the part.
class CReplaceAtEndExecute : public CExecute {
public:
    CReplaceAtEndExecute(const CRunOptions& options, const std::string& find, const std::string& replacement, int ignoreCase);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    std::string find_;
    std::string replacement_;
    int ignoreCase_;
};

/// "Replace anywhere": all occurrences, or one chosen occurrence counted from
/// either end. Matches never overlap, and text that a replacement brought in
/// is never searched again.
class CReplaceAnywhereExecute : public CExecute {
public:
    /// The panel's list: 0 all, 1..5 the 1st..5th, 6 the last, 7..10 the 2nd..5th to last.
    enum Which { kAll = 0, kFirst = 1, kLast = 6, kSecondToLast = 7, kFifthToLast = 10 };

    CReplaceAnywhereExecute(const CRunOptions& options, const std::string& find, const std::string& replacement, int occurrence,
                            int ignoreCase);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    std::string find_;
    std::string replacement_;
    int occurrence_;
    int ignoreCase_;
};

/// "Replace characters": up to three sets of characters, each with the text
/// that replaces any one of them; the first set that holds a character wins.
class CReplaceCharactersExecute : public CExecute {
public:
    CReplaceCharactersExecute(const CRunOptions& options, const std::string& find1, const std::string& replacement1,
                              int ignoreCase1, const std::string& find2, const std::string& replacement2,
                              int ignoreCase2, const std::string& find3, const std::string& replacement3,
                              int ignoreCase3);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    struct Triple {
        std::vector<char32_t> keys;  ///< sorted; folded when ignoreCase
        std::string replacement;
        bool ignoreCase;
    };
    static Triple MakeTriple(const std::string& find, const std::string& replacement, int ignoreCase);

    Triple triples_[3];
    bool anyIgnoreCase_;
};

/// "Replace file/folder extensions": the text after the part's last dot,
/// when it is exactly the old extension, becomes the new one.
class CReplaceExtensionsExecute : public CExecute {
public:
    /// Both extensions come without their dot.
    CReplaceExtensionsExecute(const CRunOptions& options, const std::string& find, const std::string& replacement,
                              int ignoreCase);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    std::string find_;
    std::string replacement_;
    int ignoreCase_;
};
