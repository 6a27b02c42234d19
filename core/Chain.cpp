#include "core/Chain.h"

CChain::CChain(std::vector<std::unique_ptr<CExecute>> steps)
    : CExecute(steps.front()->options()), steps_(std::move(steps)) {}

std::unique_ptr<CFileDescriptor> CChain::Compute(const CFileDescriptor& fd, const CNameContext& context) {
    // Each step counts its own items: they are the same items, in the same
    // order, so each sees the position the run gives.
    const CNameContext step(context.position, context.fileSystem, &context.OnDisk(fd));
    std::unique_ptr<CFileDescriptor> name;
    for (const auto& action : steps_) {
        const CFileDescriptor& before = name ? *name : fd;
        std::unique_ptr<CFileDescriptor> seen;
        if (before.scope() != action->options().scope) seen = before.Rescoped(action->options().scope);
        name = action->Compute(seen ? *seen : before, step);
        if (!name) return nullptr;
    }
    // A taken name is numbered in the part of the run's scope.
    return name->scope() == options().scope ? std::move(name) : name->Rescoped(options().scope);
}

void CChain::FillDialog(CNameRequest& dialog, const CFileDescriptor& oldFd, const CFileDescriptor& newFd) const {
    // The manual rename fills it its own way, wherever it stands.
    for (const auto& action : steps_)
        if (action->OffersEveryItem()) return action->FillDialog(dialog, oldFd, newFd);
    INameSource::FillDialog(dialog, oldFd, newFd);
}

bool CChain::OffersEveryItem() const {
    for (const auto& action : steps_)
        if (action->OffersEveryItem()) return true;
    return false;
}

bool CChain::NamesInOrder() const {
    for (const auto& action : steps_)
        if (action->NamesInOrder()) return true;
    return false;
}

std::string CChain::Problem() const {
    for (const auto& action : steps_)
        if (std::string problem = action->Problem(); !problem.empty()) return problem;
    return {};
}
