#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "core/Execute.h"

/// What the person chose item by item, over the names an action gives:
/// items left out of the run, and names typed whole. Kept by each item's
/// full path, so that it holds over a new reading of the disk and a new
/// order.
class CItemChoices {
public:
    bool empty() const { return leftOut_.empty() && names_.empty(); }
    /// Room for `names` typed names: a list of a million fills it at once.
    void Reserve(size_t names) { names_.reserve(names); }
    size_t leftOutCount() const { return leftOut_.size(); }
    size_t namedCount() const { return names_.size(); }

    void LeaveOut(const std::string& path, bool out);
    bool LeftOut(const std::string& path) const { return leftOut_.count(path) != 0; }
    /// No item is left out any more; the typed names stay.
    void TakeAllIn() { leftOut_.clear(); }
    /// The whole new name of the item at `path`; the scope plays no part.
    void SetName(const std::string& path, std::string name) { names_[path] = std::move(name); }
    void ResetName(const std::string& path) { names_.erase(path); }
    /// The name typed for `path`; null when there is none.
    const std::string* Name(const std::string& path) const;
    void Clear() {
        leftOut_.clear();
        names_.clear();
    }

private:
    std::unordered_set<std::string> leftOut_;
    std::unordered_map<std::string, std::string> names_;
};

/// The names of a run with the person's choices over them: an item left
/// out is not renamed and uses up no number; an item with a typed name gets
/// it; every other item gets what the action gives, or keeps its name when
/// there is no action (the names all come from a list).
class CChosenNames final : public CExecute {
public:
    /// `action` may be null. The choices must not change while the source
    /// is used.
    CChosenNames(const CRunOptions& options, std::unique_ptr<CExecute> action,
                 std::shared_ptr<const CItemChoices> choices);

    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;
    void FillDialog(CNameRequest& dialog, const CFileDescriptor& oldFd, const CFileDescriptor& newFd) const override;
    bool OffersEveryItem() const override { return action_ && action_->OffersEveryItem(); }
    std::string Problem() const override { return action_ ? action_->Problem() : std::string(); }
    bool NamesInOrder() const override { return action_ && action_->NamesInOrder(); }
    bool Takes(const CFileDescriptor& fd) const override;

private:
    std::unique_ptr<CExecute> action_;
    std::shared_ptr<const CItemChoices> choices_;
    mutable std::string path_;  // the item's path, kept between calls for its buffer
};
