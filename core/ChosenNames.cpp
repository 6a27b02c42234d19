#include "core/ChosenNames.h"

void CItemChoices::LeaveOut(const std::string& path, bool out) {
    if (out)
        leftOut_.insert(path);
    else
        leftOut_.erase(path);
}

const std::string* CItemChoices::Name(const std::string& path) const {
    const auto it = names_.find(path);
    return it == names_.end() ? nullptr : &it->second;
}

CChosenNames::CChosenNames(const CRunOptions& options, std::unique_ptr<CExecute> action,
                           std::shared_ptr<const CItemChoices> choices)
    : CExecute(options), action_(std::move(action)), choices_(std::move(choices)) {}

bool CChosenNames::Takes(const CFileDescriptor& fd) const {
    if (!choices_ || choices_->leftOutCount() == 0) return true;
    fd.CopyPathTo(path_);
    return !choices_->LeftOut(path_);
}

std::unique_ptr<CFileDescriptor> CChosenNames::Compute(const CFileDescriptor& fd, const CNameContext& context) {
    if (choices_ && choices_->namedCount() != 0) {
        fd.CopyPathTo(path_);
        if (const std::string* name = choices_->Name(path_)) {
            auto copy = std::make_unique<CFileDescriptor>(fd);
            copy->SetName(*name);
            return copy;
        }
    }
    if (action_) return action_->Compute(fd, context);
    return std::make_unique<CFileDescriptor>(fd);
}

void CChosenNames::FillDialog(CNameRequest& dialog, const CFileDescriptor& oldFd, const CFileDescriptor& newFd) const {
    if (action_)
        action_->FillDialog(dialog, oldFd, newFd);
    else
        INameSource::FillDialog(dialog, oldFd, newFd);
}
