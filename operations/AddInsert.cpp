#include "operations/AddInsert.h"

#include "operations/Occurrence.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

CAddAtBeginningExecute::CAddAtBeginningExecute(const CRunOptions& options, const std::string& text)
    : CExecute(options), text_(text) {}

std::unique_ptr<CFileDescriptor> CAddAtBeginningExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    return WithPart(fd, text_ + fd.part());
}

CAddAtEndExecute::CAddAtEndExecute(const CRunOptions& options, const std::string& text)
    : CExecute(options), text_(text) {}

std::unique_ptr<CFileDescriptor> CAddAtEndExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    return WithPart(fd, fd.part() + text_);
}

CAddAnywhereExecute::CAddAnywhereExecute(const CRunOptions& options, int anchorKind,
                                         int occurrenceOrDirection, const std::string& positionOrAnchor,
                                         int afterAnchor, const std::string& text)
    : CExecute(options),
      anchorKind_(anchorKind),
      occurrence_(occurrenceOrDirection),
      text_(text),
      afterAnchor_(afterAnchor) {
    if (anchorKind_ == kAtPosition)
        position_ = ScanInt(positionOrAnchor);
    else if (anchorKind_ == kAtText)
        anchor_ = positionOrAnchor;
}

std::unique_ptr<CFileDescriptor> CAddAnywhereExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    const std::string& part = fd.part();
    size_t point;  // byte offset, always on a character boundary
    if (anchorKind_ == kAtText) {
        const long found = FindOccurrence(part, anchor_, occurrence_);
        if (found < 0) return std::make_unique<CFileDescriptor>(fd);
        point = static_cast<size_t>(found);
        if (afterAnchor_) point += anchor_.size();
    } else if (anchorKind_ == kAtPosition) {
        // Positions count characters; one before the start inserts at the start.
        if (occurrence_ != kFromEnd && occurrence_ != kFromBeginning) return std::make_unique<CFileDescriptor>(fd);
        const size_t chars = position_ < 0 ? 0 : static_cast<size_t>(position_);
        point = occurrence_ == kFromEnd ? text::ByteOffsetFromEnd(part, chars) : text::ByteOffset(part, chars);
    } else {
        return std::make_unique<CFileDescriptor>(fd);
    }
    return WithPart(fd, part.substr(0, point) + text_ + part.substr(point));
}

CAddFolderAtBeginningExecute::CAddFolderAtBeginningExecute(const CRunOptions& options,
                                                           int separator)
    : CExecute(options), separator_(separator) {}

std::unique_ptr<CFileDescriptor> CAddFolderAtBeginningExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    const std::string& folder = fd.folder();
    const auto sep = folder.find_last_of(platform::kPathSeparator);
    // A file directly in a root ("C:" or "") has no folder name to add.
    if (sep == std::string::npos) return std::make_unique<CFileDescriptor>(fd);
    const std::string last = folder.substr(sep + 1);
    return WithPart(fd, last + (separator_ ? " " : "") + fd.part());
}

CManuallyExecute::CManuallyExecute(const CRunOptions& options, const std::string& text)
    : CExecute(options), text_(text) {
    OfferEveryItem();
}

std::unique_ptr<CFileDescriptor> CManuallyExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    return std::make_unique<CFileDescriptor>(fd);
}

void CManuallyExecute::FillDialog(CNameRequest& dialog, const CFileDescriptor& oldFd, const CFileDescriptor& newFd) const {
    CExecute::FillDialog(dialog, oldFd, newFd);
    // The dialog counts characters, so the part's byte range is converted here.
    const std::string& name = newFd.name();
    const size_t start = static_cast<size_t>(newFd.start()) < name.size() ? newFd.start() : name.size();
    dialog.highlight = text_;
    dialog.highlightStart = static_cast<int>(text::CharCount(std::string_view(name).substr(0, start)));
    dialog.highlightSpan = static_cast<int>(text::CharCount(oldFd.part()));
}
