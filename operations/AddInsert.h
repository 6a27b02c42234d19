#pragma once

#include <string>

#include "core/Execute.h"

/// "Add to beginning": text + part.
class CAddAtBeginningExecute : public CExecute {
public:
    CAddAtBeginningExecute(const CRunOptions& options, const std::string& text);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    std::string text_;
};

/// "Add to end": part + text.
class CAddAtEndExecute : public CExecute {
public:
    CAddAtEndExecute(const CRunOptions& options, const std::string& text);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    std::string text_;
};

/// "Insert anywhere": at a character position from either end, or before or
/// after an occurrence of an anchor text.
class CAddAnywhereExecute : public CExecute {
public:
    enum AnchorKind { kAtPosition = 0, kAtText = 1 };
    enum Direction { kFromBeginning = 0, kFromEnd = 1 };

    CAddAnywhereExecute(const CRunOptions& options, int anchorKind, int occurrenceOrDirection,
                        const std::string& positionOrAnchor, int afterAnchor, const std::string& text);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    int anchorKind_;
    int occurrence_;
    int position_ = 0;  ///< in characters
    std::string anchor_;
    std::string text_;
    int afterAnchor_;
};

/// "Add folder to beginning": the name of the item's folder in front.
class CAddFolderAtBeginningExecute : public CExecute {
public:
    CAddFolderAtBeginningExecute(const CRunOptions& options, int separator);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    int separator_;
};

/// "Manually rename": the name is typed in the Confirm dialog, which always
/// opens, with the part preselected.
class CManuallyExecute : public CExecute {
public:
    CManuallyExecute(const CRunOptions& options, const std::string& text);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;
    void FillDialog(CNameRequest& dialog, const CFileDescriptor& oldFd, const CFileDescriptor& newFd) const override;

private:
    std::string text_;
};
