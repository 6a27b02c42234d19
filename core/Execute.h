#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/FileDescriptor.h"
#include "core/Prompts.h"

namespace platform {
class IFileSystem;
}

/// What a run processes and how: the main dialog's "Change:" scope and the
/// choices of its sections, built once by a front end and handed to the
/// operation that its panel builds.
struct CRunOptions {
    bool files = true;           ///< "Files"
    bool folders = true;         ///< "Folders"
    bool subfolders = true;      ///< "Subfolders and their contents"
    bool confirm = false;        ///< "Confirm operations"
    int scope = 0;               ///< "Change:" position, CFileDescriptor::Scope
    int sortOrder = 0;           ///< "Order:" position, SortOrder
    bool sortEachFolder = true;  ///< "Sort each subfolder separately"
    /// Drawn once per rename call: the random order is a shuffle derived from
    /// it, so that every preview of a call and its run agree.
    uint64_t randomSeed = 0;

    bool operator==(const CRunOptions&) const = default;
};

/// What a run tells a source of names about the item it asks for.
struct CNameContext {
    CNameContext(size_t position, platform::IFileSystem& fileSystem, const CFileDescriptor* item = nullptr)
        : position(position), fileSystem(fileSystem), item(item) {}

    /// The item's place among those the source names in this pass, from 0,
    /// in the run's order. A numbering action starts counting afresh at 0.
    size_t position;
    /// Where the run reads what a name does not tell: times, pictures.
    platform::IFileSystem& fileSystem;
    /// The item as it is on the disk, whose times and picture a name may
    /// show; null when it is the descriptor the source is given (a later
    /// step of a chain is given a name that is not on the disk yet).
    const CFileDescriptor* item;

    const CFileDescriptor& OnDisk(const CFileDescriptor& fd) const { return item ? *item : fd; }
};

/// Where a run takes its new names from: an action, a chain of actions, or
/// names someone typed. A run asks it for the items it processes, one after
/// another in its own order.
class INameSource {
public:
    virtual ~INameSource() = default;

    /// A renamed copy of `fd`, which stays untouched; null to leave the item
    /// out of the run.
    [[nodiscard]] virtual std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd,
                                                                   const CNameContext& context) = 0;
    /// Fills the Confirm dialog for renaming `oldFd` to `newFd`.
    virtual void FillDialog(CNameRequest& dialog, const CFileDescriptor& oldFd, const CFileDescriptor& newFd) const;
    /// True when an item whose name does not change is still offered, and
    /// every rename is confirmed (manual rename).
    virtual bool OffersEveryItem() const { return false; }
    /// What went wrong with names given so far, for the person to see
    /// beside the preview (a pattern that took too much work); empty when
    /// nothing did.
    virtual std::string Problem() const { return {}; }
    /// True when an item's name depends on the items named before it in the
    /// pass, not on its position alone ("Renumber existing number sequence"
    /// counts only items that have a number): such names can only be
    /// computed in the pass's order, from its first position.
    virtual bool NamesInOrder() const { return false; }
    /// False for an item the person left out of the run: it keeps its name,
    /// is never offered, and uses up no number of a numbering action, as if
    /// the Files/Folders choice had passed over it.
    virtual bool Takes(const CFileDescriptor& fd) const {
        (void)fd;
        return true;
    }
};

/// Base of every rename action: a transform from an item to its new name,
/// built by its panel for one preview, OK or file list. Numbering actions
/// keep their counters in it, counting from the first position of a pass.
class CExecute : public INameSource {
public:
    explicit CExecute(const CRunOptions& options);
    ~CExecute() override;
    CExecute(const CExecute&) = delete;
    CExecute& operator=(const CExecute&) = delete;

    /// The choices the panel built the action with: what a run of it takes.
    const CRunOptions& options() const { return options_; }
    bool OffersEveryItem() const override { return alwaysOffer_; }

protected:
    /// The manual rename offers every item, and always asks.
    void OfferEveryItem() {
        alwaysOffer_ = true;
        options_.confirm = true;
    }
    /// Converts a number the user typed, as a plain decimal scan: leading
    /// white space and sign allowed, anything unreadable is 0.
    static int ScanInt(const std::string& text);
    /// Returns a copy of `fd` with its part replaced.
    static std::unique_ptr<CFileDescriptor> WithPart(const CFileDescriptor& fd, const std::string& part);

private:
    CRunOptions options_;
    bool alwaysOffer_ = false;
};
