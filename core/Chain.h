#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Execute.h"

/// Several actions applied one after another: each step sees the name the
/// step before it made, through the step's own scope, and numbers the items
/// in the run's order, as it would alone. A run of a chain renames each item
/// once, to the name the last step made; it runs with the first step's
/// choices.
class CChain final : public CExecute {
public:
    /// `steps` must not be empty.
    explicit CChain(std::vector<std::unique_ptr<CExecute>> steps);

    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;
    void FillDialog(CNameRequest& dialog, const CFileDescriptor& oldFd, const CFileDescriptor& newFd) const override;
    bool OffersEveryItem() const override;
    std::string Problem() const override;
    bool NamesInOrder() const override;

    size_t size() const { return steps_.size(); }

private:
    std::vector<std::unique_ptr<CExecute>> steps_;
};
