// The rename run, renaming: asks the user wherever a rename needs an answer,
// and renames through the platform, whose move never replaces an existing
// file or folder. Nothing here works around that: every rename goes through
// IFileSystem::Move and nothing is ever deleted or overwritten.
#include <climits>
#include <string_view>
#include <unordered_set>

#include "core/Journal.h"
#include "core/Prefetch.h"
#include "core/RenameRun.h"
#include "platform/FileSystem.h"
#include "platform/NameRules.h"

namespace {

constexpr const char* kRenameTitle = "Cannot rename";
constexpr const char* kRenameHeadline = "The file cannot be renamed.";

// "Add number and rename" tries the next number by itself while a numbered
// name is taken. A folder can hold only so many numbered names, but a file
// system that reports every name as taken would keep the run busy for hours:
// after this many taken numbers in a row the user is asked again.
constexpr int kAutomaticNumbers = 10000;

// The new descriptor for a name the user typed: its part is taken from the
// typed name, so that a number added later goes into what the user typed.
std::unique_ptr<CFileDescriptor> TypedName(const CFileDescriptor& entry, const std::string& name) {
    auto typed = std::make_unique<CFileDescriptor>(entry.sharedFolder(), name, entry.scope());
    typed->SetIsFolder(entry.isFolder());
    return typed;
}

bool IsSkip(int answer) {
    return answer == kAnswerSkip || answer == kAnswerSkipAll || answer == kAnswerClosed;
}

// The folders that the renames of one batch will move: an item below one of
// them waits for the next batch, when its folder's new name is known, so
// that its intent names the folder it will be renamed in.
class CBatchFolders {
public:
    void Clear() {
        paths_.clear();
        last_ = nullptr;
    }
    void Add(const CFileDescriptor& folder) {
        std::string path;
        folder.CopyPathTo(path);
        paths_.insert(std::move(path));
        last_ = nullptr;
    }
    /// True when `fd` lies in one of the folders, or below one.
    bool Holds(const CFileDescriptor& fd) {
        if (paths_.empty()) return false;
        const std::string* folder = &fd.folder();
        if (folder == last_) return lastAnswer_;
        last_ = folder;
        lastAnswer_ = false;
        const std::string_view path = *folder;
        for (size_t end = path.size(); end > 0 && !lastAnswer_;) {
            lastAnswer_ = paths_.find(path.substr(0, end)) != paths_.end();
            const size_t sep = path.rfind(platform::kPathSeparator, end - 1);
            end = sep == std::string_view::npos ? 0 : sep;
        }
        return lastAnswer_;
    }

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };
    std::unordered_set<std::string, Hash, std::equal_to<>> paths_;
    const std::string* last_ = nullptr;
    bool lastAnswer_ = false;
};

}  // namespace

bool CDuplicateNumber::AddTo(CFileDescriptor& fd) {
    if (next_ == INT_MAX) return false;  // no number left to add
    if (next_ > 1)
        fd.SetPart(base_);
    else
        base_ = fd.part();
    fd.SetPart(fd.part() + std::to_string(next_));
    ++next_;
    return true;
}

// An item of a batch: its new name, where it is now, and what the journal
// knows of it.
struct CRenameRun::Pending {
    const CFileDescriptor* entry = nullptr;
    std::unique_ptr<CFileDescriptor> next;
    /// Its folder as it is called now, when the run renamed that folder or
    /// one above it; empty while it is where it was read.
    std::string movedFolder;
    uint32_t item = 0;       ///< its number in the journal
    bool announced = false;  ///< the journal holds the intent for `next`'s name
    bool recorded = false;   ///< the journal holds an intent for it

    const std::string& Folder() const { return movedFolder.empty() ? entry->folder() : movedFolder; }
    /// Its full path now.
    void PathTo(std::string& out) const {
        if (movedFolder.empty())
            entry->CopyPathTo(out);
        else
            out.assign(movedFolder).append(1, platform::kPathSeparator).append(entry->name());
    }
};

// Renames one item, resolving each failure with the user until it is renamed
// or given up.
class CRenameRun::ItemRename {
public:
    ItemRename(CRenameRun& run, Pending& pending) : run_(run), entry_(*pending.entry), pending_(pending) {}

    /// True when the item was renamed.
    bool Run() {
        // Numbering belongs to one item: a number or base left over from an
        // item that was skipped must not rename the next one unasked.
        run_.number_.Reset();
        std::unique_ptr<CFileDescriptor>& next = pending_.next;
        while (next) {
            if (next->name() == entry_.name()) return false;  // nothing to rename
            // Checked before any call, and always joined to the item's own
            // folder, so that no name can move the item somewhere else. A
            // name longer than the platform allows is asked about as too
            // long whatever the file system would answer (some answer "not
            // found"), as the preview marks it.
            uint32_t code = platform::CheckFileName(next->name());
            if (code == platform::kErrorSuccess &&
                platform::SystemNameRules().length(next->name()) > platform::SystemNameRules().maxName)
                code = platform::kErrorFilenameExcedRange;
            if (code == platform::kErrorSuccess) {
                // Never a rename that the journal does not know of.
                if (run_.journal_ && !pending_.announced && !run_.Announce(pending_)) return false;
                code = run_.fs_.Move(pending_.Folder(), entry_.name(), next->name());
            }
            if (code == platform::kErrorSuccess) {
                run_.number_.Reset();
                if (entry_.isFolder()) {
                    std::string path;
                    entry_.CopyPathTo(path);
                    run_.moves_.Renamed(path, next->name());
                }
                return true;
            }
            Resolve(code);
        }
        return false;
    }

private:
    void Resolve(uint32_t code) {
        switch (code) {
            case platform::kErrorAlreadyExists:
                if (run_.number_.numbering() && automatic_ < kAutomaticNumbers) {
                    ++automatic_;
                    AddNumber();
                    return;
                }
                automatic_ = 0;
                if (!run_.number_.numbering()) run_.number_.Start(*pending_.next);
                Ask(&IPrompts::Duplicate);
                return;
            case platform::kErrorInvalidName:
                Ask(&IPrompts::Illegal);
                return;
            case platform::kErrorPathNotFound:
            case platform::kErrorFilenameExcedRange:
                Ask(&IPrompts::TooLong);
                return;
            default: {
                std::string path;
                pending_.PathTo(path);
                // Kept for "Try again": the same rename once more.
                if (run_.Report(kRenameTitle, kRenameHeadline, path, code, true) == kAnswerTryAgain) return;
                pending_.next.reset();
                return;
            }
        }
    }

    void Ask(int (IPrompts::*prompt)(CNameRequest&)) {
        CNameRequest request;
        pending_.PathTo(request.oldName);
        request.computed = pending_.next->name();
        request.newName = pending_.next->name();
        const int answer = (run_.prompts_.*prompt)(request);
        run_.fs_.Paused();
        switch (answer) {
            case kAnswerRenameAll:
                run_.renameAll_ = true;
                run_.stop_ = false;
                [[fallthrough]];
            case kAnswerRename:
                Typed(request.newName);
                return;
            case kAnswerAddNumber:
                AddNumber();
                return;
            case kAnswerSkipAll:
                run_.stop_ = true;
                run_.renameAll_ = false;
                [[fallthrough]];
            default:  // Skip, the dialog closed, or an answer no dialog gives
                ++run_.result_.skipped;
                pending_.next.reset();
                return;
        }
    }

    // A typed name starts afresh: if it is taken, the user is asked again
    // instead of numbering on from an earlier base.
    void Typed(const std::string& name) {
        if (name != pending_.next->name()) {
            pending_.next = TypedName(entry_, name);
            pending_.announced = false;
        }
        run_.number_.Reset();
        automatic_ = 0;
    }

    void AddNumber() {
        if (!run_.number_.AddTo(*pending_.next)) {
            pending_.next.reset();
            return;
        }
        pending_.announced = false;
    }

    CRenameRun& run_;
    const CFileDescriptor& entry_;
    Pending& pending_;
    int automatic_ = 0;
};

bool CRenameRun::Announce(Pending& pending) {
    const CFileDescriptor& entry = *pending.entry;
    journal_->Intend(pending.item, pending.Folder(), entry.name(), pending.next->name(), entry.isFolder());
    if (!journal_->Secure()) {
        JournalFailed();
        return false;
    }
    pending.announced = pending.recorded = true;
    return true;
}

void CRenameRun::JournalFailed() {
    result_.journalError = journal_->error() ? journal_->error() : platform::kErrorInvalidFunction;
    result_.journalPath = journal_->path();
    stop_ = true;
    renameAll_ = false;
}

CRunResult CRenameRun::Rename(const CSelection& selection, INameSource& source) {
    renameAll_ = false;
    stop_ = false;
    confirm_ = options_.confirm || source.OffersEveryItem();
    offerEvery_ = source.OffersEveryItem();
    moves_ = CFolderMoves();
    size_t position = 0;
    for (const auto& list : selection.lists()) RenameList(list, source, position);
    // An end that cannot be recorded leaves a journal that reads as cut
    // short: an undo then asks the disk about the last renames.
    if (journal_ && !result_.journalFailed() && !journal_->End(stop_)) JournalFailed();
    result_.stopped = stop_;
    return result_;
}

void CRenameRun::RenameList(const CFileList& list, INameSource& source, size_t& position) {
    std::vector<Pending> batch;
    size_t batchSize = kJournalFirstBatch;
    CBatchFolders moving;
    for (size_t i = 0; i < list.size() && !stop_;) {
        // The names of a batch are computed ahead of its renames, in the
        // order of the run, as numbering operations count. Computing is
        // all a name needs: nothing is asked before the batch's turn.
        batch.clear();
        moving.Clear();
        for (; i < list.size() && batch.size() < batchSize; ++i) {
            QLN_PREFETCH_AHEAD(list, i);
            const CFileDescriptor& entry = *list[i];
            // Filtered first: an item that is not renamed must not use up a
            // number of a numbering operation.
            if (!Filtered(entry) || entry.isUnreadable() || !source.Takes(entry)) continue;
            if (moving.Holds(entry)) break;  // computed with the next batch
            std::unique_ptr<CFileDescriptor> next = source.Compute(entry, {position++, fs_});
            if (!next || (next->name() == entry.name() && !offerEvery_)) continue;
            Pending p;
            p.entry = &entry;
            p.next = std::move(next);
            if (!moves_.empty()) {
                const std::string& now = moves_.Where(entry.sharedFolder());
                if (now != entry.folder()) p.movedFolder = now;
            }
            if (entry.isFolder()) moving.Add(entry);
            batch.push_back(std::move(p));
        }
        if (journal_) {
            for (Pending& p : batch) {
                p.item = journal_->Reserve();
                if (p.next->name() == p.entry->name()) continue;  // offered, but nothing to rename yet
                journal_->Intend(p.item, p.Folder(), p.entry->name(), p.next->name(), p.entry->isFolder());
                p.announced = p.recorded = true;
            }
            if (!journal_->Secure()) {
                JournalFailed();
                return;
            }
        }
        for (Pending& p : batch) {
            if (stop_ || Cancelled()) return;
            RenameOne(p, source);
        }
        batchSize = std::min(batchSize * 2, kJournalLargestBatch);
    }
}

void CRenameRun::RenameOne(Pending& p, INameSource& source) {
    const CFileDescriptor& entry = *p.entry;
    bool renamed = false;
    if (confirm_ && !renameAll_) {
        CNameRequest request;
        source.FillDialog(request, entry, *p.next);
        if (!p.movedFolder.empty()) p.PathTo(request.oldName);
        const int answer = prompts_.Confirm(request);
        fs_.Paused();
        if (answer == kAnswerSkipAll) {
            stop_ = true;
            renameAll_ = false;
        } else if (answer == kAnswerRename || answer == kAnswerRenameAll) {
            if (answer == kAnswerRenameAll) renameAll_ = true;
            if (request.newName != p.next->name()) {
                p.next = TypedName(entry, request.newName);
                p.announced = false;
            }
            renamed = ItemRename(*this, p).Run();
        }  // else Skip, closed or unknown
        if (IsSkip(answer) || (answer != kAnswerRename && answer != kAnswerRenameAll)) ++result_.skipped;
    } else {
        renamed = ItemRename(*this, p).Run();
    }
    if (renamed) {
        ++result_.renamed;
        ++counted_.renamed;
        counted_.current = &entry;
        if (progress_) progress_(counted_);
        if (moved_) {
            std::string from;
            p.PathTo(from);
            moved_(from, p.Folder() + platform::kPathSeparator + p.next->name());
        }
    }
    if (!journal_ || result_.journalFailed()) return;
    if (p.recorded && !renamed) journal_->NotDone(p.item, 0);
    journal_->Settled(p.item);
}
