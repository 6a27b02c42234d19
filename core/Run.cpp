// The rename run: builds the item lists, asks the user wherever a rename needs
// an answer, and renames through the platform, whose move never replaces an
// existing file or folder. Nothing here works around that: every rename goes
// through IFileSystem::move and nothing is ever deleted or overwritten.
#include <algorithm>
#include <climits>
#include <string_view>
#include <unordered_set>

#include "core/Execute.h"
#include "core/Journal.h"
#include "core/Sort.h"
#include "platform/FileSystem.h"
#include "platform/NameRules.h"

namespace {

constexpr const char* kAccessTitle = "Cannot access";
constexpr const char* kAccessHeadline = "The file cannot be accessed.";
constexpr const char* kRenameTitle = "Cannot rename";
constexpr const char* kRenameHeadline = "The file cannot be renamed.";

// "Add number and rename" tries the next number by itself while a numbered
// name is taken. A folder can hold only so many numbered names, but a file
// system that reports every name as taken would keep the run busy for hours:
// after this many taken numbers in a row the user is asked again.
constexpr int kAutomaticNumbers = 10000;

// The new descriptor for a name the user typed: its part is taken from the
// typed name, so that a number added later goes into what the user typed.
std::unique_ptr<CFileDescriptor> typedName(const CFileDescriptor& entry, const std::string& name) {
    auto typed = std::make_unique<CFileDescriptor>(entry.sharedFolder(), name, entry.scope());
    typed->setIsFolder(entry.isFolder());
    return typed;
}

// Frees the lists in the order their descriptors lie in memory.
void Release(std::array<CFileList, 2>& lists) {
    for (auto& list : lists) ReleaseFileList(list);
}

}  // namespace

CSelection::~CSelection() {
    Release(lists_);
}

CSelection& CSelection::operator=(CSelection&& other) noexcept {
    if (this != &other) {
        Release(lists_);
        lists_ = std::move(other.lists_);
        complete_ = other.complete_;
        arranged_ = other.arranged_;
    }
    return *this;
}

bool CExecute::Filtered(const CFileDescriptor& fd) const {
    return (options_.files || fd.isFolder()) && (options_.folders || !fd.isFolder());
}

void CExecute::Report(const char* title, const char* headline, const std::string& fileName, uint32_t code) {
    CErrorReport r;
    r.title = title;
    r.headline = headline;
    r.fileName = fileName;
    r.errorCode = code;
    r.explanation = platform::errorMessage(code);
    const int answer = prompts().DefaultError(r);
    fileSystem().paused();
    if (answer == kAnswerSkipAll) {
        stop_ = true;
        renameAll_ = false;
    }
}

void CExecute::ReportAccess(const std::string& path, uint32_t code) {
    Report(kAccessTitle, kAccessHeadline, path, code);
}

// An entry whose kind cannot be read is reported and marked: without its kind
// the Files/Folders choice cannot be applied to it, and renaming it would only
// fail a second time, but a list file still names it.
template <typename NeedsRead, typename OnFolder>
void CExecute::ReadKinds(CFileList& list, NeedsRead needsRead, OnFolder onFolder) {
    for (auto& fd : list) {
        if (stop_) return;
        if (needsRead(*fd)) {
            platform::Attributes attrs;
            const uint32_t code = fileSystem().getAttributes(fd->path(), attrs);
            if (code != platform::kErrorSuccess) {
                fd->setUnreadable();
                ReportAccess(fd->path(), code);
                continue;
            }
            if (attrs.kind == platform::EntryKind::kFolderLink)
                fd->setIsFolderLink();
            else
                fd->setIsFolder(attrs.kind == platform::EntryKind::kFolder);
        }
        if (fd->isEnterable()) onFolder(*fd);
    }
}

CSelection CExecute::Collect(const std::vector<std::string>& paths) {
    renameAll_ = false;
    stop_ = false;
    CSelection selection;
    CFileList& given = selection.lists_[1];
    CFileList& contents = selection.lists_[0];
    std::string savedDirectory;
    const bool haveDirectory = fileSystem().getCurrentDirectory(savedDirectory) == platform::kErrorSuccess;

    given.reserve(paths.size());
    for (const auto& path : paths) {
        // Items of one folder share its path, as the entries of a listing do.
        const auto sep = path.find_last_of(platform::kPathSeparator);
        if (sep != std::string::npos && !given.empty() && given.back()->folder().size() == sep &&
            path.compare(0, sep, given.back()->folder()) == 0)
            given.push_back(
                std::make_unique<CFileDescriptor>(given.back()->sharedFolder(), path.substr(sep + 1), options_.scope));
        else
            given.push_back(std::make_unique<CFileDescriptor>(path, options_.scope));
    }
    sort(given);
    ReadKinds(
        given, [](const CFileDescriptor&) { return true; },
        [&](const CFileDescriptor& fd) {
            if (options_.subfolders) Expand(fd, contents);
        });
    if (haveDirectory) fileSystem().setCurrentDirectory(savedDirectory);
    selection.complete_ = !stop_;
    return selection;
}

void CExecute::Expand(const CFileDescriptor& folder, CFileList& out) {
    const std::string& path = folder.path();
    uint32_t code = fileSystem().setCurrentDirectory(path);
    if (code != platform::kErrorSuccess) {
        ReportAccess(path, code);
        return;
    }
    CFileList local;
    auto shared = std::make_shared<const std::string>(path);
    // The entries whose kind the listing did not tell; most file systems
    // tell every kind, which spares a status call per entry.
    std::unordered_set<const CFileDescriptor*> unknown;
    const auto add = [&](std::string_view name, platform::EntryKind kind) {
        auto fd = std::make_unique<CFileDescriptor>(shared, name, options_.scope);
        if (kind == platform::EntryKind::kUnknown) unknown.insert(fd.get());
        if (kind == platform::EntryKind::kFolderLink)
            fd->setIsFolderLink();
        else
            fd->setIsFolder(kind == platform::EntryKind::kFolder);
        local.push_back(std::move(fd));
    };
    if (IsNameOrder(options_.sortOrder)) {
        // The names first, then the descriptors in their sorted order: they
        // then lie in memory as every later pass reads them, which for a
        // million items saves more than the names cost to hold. Each name
        // follows a byte with its kind, which is then read with the name.
        std::string names;
        std::vector<size_t> ends;
        code = fileSystem().listFolderEntries(path, [&](const std::string& name, platform::EntryKind kind) {
            names += static_cast<char>(kind);
            names += name;
            ends.push_back(names.size());
        });
        std::vector<CListedName> sorted;
        sorted.reserve(ends.size());
        for (size_t i = 0, begin = 0; i < ends.size(); begin = ends[i++])
            sorted.push_back(
                {std::string_view(names).substr(begin + 1, ends[i] - begin - 1), static_cast<uint32_t>(i)});
        std::vector<size_t>().swap(ends);
        SortListedNames(sorted, options_.sortOrder);
        local.reserve(sorted.size());
        for (size_t k = 0; k < sorted.size(); ++k) {
#if defined(__GNUC__)
            // The names are read in sorted order, scattered over the listing.
            constexpr size_t kAhead = 16;
            if (k + kAhead < sorted.size()) __builtin_prefetch(sorted[k + kAhead].name.data() - 1);
#endif
            const std::string_view name = sorted[k].name;
            add(name, static_cast<platform::EntryKind>(name.data()[-1]));
        }
    } else {
        code = fileSystem().listFolderEntries(
            path, [&](const std::string& name, platform::EntryKind kind) { add(name, kind); });
    }
    // What was listed before the error is still worked on, unless the user
    // ends the run here.
    if (code != platform::kErrorSuccess) ReportAccess(path, code);
    if (stop_) return;
    sort(local);
    ReadKinds(
        local, [&](const CFileDescriptor& fd) { return !unknown.empty() && unknown.count(&fd) != 0; },
        [&](const CFileDescriptor& fd) { Expand(fd, out); });
    if (stop_) return;
    // Grown by at least half, so that many small folders do not copy the
    // list again and again, while one large folder takes no more than it
    // needs.
    if (out.capacity() < out.size() + local.size())
        out.reserve(std::max(out.size() + local.size(), out.capacity() + out.capacity() / 2));
    for (auto& fd : local) out.push_back(std::move(fd));
}

void CExecute::Arrange(CSelection& selection) {
    if (selection.arranged_) return;
    selection.arranged_ = true;
    if (options_.sortEachFolder) return;  // each folder's entries are sorted already
    CFileList& contents = selection.lists_[0];
    CFileList& given = selection.lists_[1];
    // The given items first, then the contents, so that equal keys keep
    // that order.
    given.reserve(given.size() + contents.size());
    for (auto& fd : contents) given.push_back(std::move(fd));
    contents.clear();
    contents.shrink_to_fit();
    sort(given);
}

bool CExecute::WriteList(const CSelection& selection, const std::string& listFile, const CListFormat& format,
                         size_t* written) {
    std::string data;
    size_t count = 0;
    for (const auto& list : selection.lists_)
        for (const auto& fd : list)
            if (Filtered(*fd)) {
                data.append(fd->path()).append(format.end);
                ++count;
            }
    const uint32_t code = format.write ? format.write(data) : fileSystem().writeFile(listFile, data);
    if (written) *written = code == platform::kErrorSuccess ? count : 0;
    if (code == platform::kErrorSuccess) return true;
    ReportAccess(listFile, code);
    return false;
}

void CExecute::Preview(const CSelection& selection, CPreview& rows) {
    rows.clear();
    rows.reserve(selection.size());
    renameAll_ = false;
    stop_ = false;
    for (const auto& list : selection.lists_) Process(list, &rows);
}

bool CExecute::Rename(const CSelection& selection) {
    renameAll_ = false;
    stop_ = false;
    journalFailed_ = false;
    moves_ = CFolderMoves();
    for (const auto& list : selection.lists_) RenameList(list);
    // An end that cannot be recorded leaves a journal that reads as cut
    // short: an undo then asks the disk about the last renames.
    if (journal_ && !journalFailed_ && !journal_->End(stop_)) journalFailed_ = true;
    return !stop_;
}

void CExecute::JournalFailed() {
    journalFailed_ = true;
    stop_ = true;
    renameAll_ = false;
}

bool CExecute::Run(const std::vector<std::string>& paths, const std::string* listFile) {
    CSelection selection = Collect(paths);
    // "Skip all" ends the whole run: a list file written now would miss the
    // items that were never read.
    if (!selection.complete()) return false;
    if (listFile) return WriteList(selection, *listFile);
    Arrange(selection);
    return Rename(selection);
}

// An item of a batch: its new name, where it is now, and what the journal
// knows of it.
struct CExecute::Pending {
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
class CExecute::ItemRename {
public:
    ItemRename(CExecute& op, Pending& pending) : op_(op), entry_(*pending.entry), pending_(pending) {}

    /// True when the item was renamed.
    bool Run() {
        // Numbering belongs to one item: a number or base left over from an
        // item that was skipped must not rename the next one unasked.
        op_.duplicateNumber_ = 1;
        op_.duplicateBase_.clear();
        std::unique_ptr<CFileDescriptor>& next = pending_.next;
        while (next) {
            if (next->name() == entry_.name()) return false;  // nothing to rename
            // Checked before any call, and always joined to the item's own
            // folder, so that no name can move the item somewhere else. A
            // name longer than the platform allows is asked about as too
            // long whatever the file system would answer (some answer "not
            // found"), as the preview marks it.
            uint32_t code = platform::checkFileName(next->name());
            if (code == platform::kErrorSuccess &&
                platform::nameRules().length(next->name()) > platform::nameRules().maxName)
                code = platform::kErrorFilenameExcedRange;
            if (code == platform::kErrorSuccess) {
                // Never a rename that the journal does not know of.
                if (op_.journal_ && !pending_.announced && !op_.Announce(pending_)) return false;
                pending_.PathTo(op_.from_);
                op_.to_.assign(pending_.Folder()).append(1, platform::kPathSeparator).append(next->name());
                code = op_.fileSystem().move(op_.from_, op_.to_);
            }
            if (code == platform::kErrorSuccess) {
                op_.duplicateNumber_ = 1;
                if (entry_.isFolder()) {
                    entry_.CopyPathTo(op_.from_);
                    op_.moves_.Renamed(op_.from_, next->name());
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
                if (op_.duplicateNumber_ > 1 && automatic_ < kAutomaticNumbers && op_.duplicateNumber_ < INT_MAX) {
                    ++automatic_;
                    AddNumber();
                    return;
                }
                automatic_ = 0;
                if (op_.duplicateNumber_ == 1) op_.duplicateBase_ = pending_.next->part();
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
                pending_.next.reset();
                std::string path;
                pending_.PathTo(path);
                op_.Report(kRenameTitle, kRenameHeadline, path, code);
                return;
            }
        }
    }

    void Ask(int (IPrompts::*prompt)(CNameRequest&)) {
        CNameRequest request;
        pending_.PathTo(request.oldName);
        request.computed = pending_.next->name();
        request.newName = pending_.next->name();
        const int answer = (op_.prompts().*prompt)(request);
        op_.fileSystem().paused();
        switch (answer) {
            case kAnswerRenameAll:
                op_.renameAll_ = true;
                op_.stop_ = false;
                [[fallthrough]];
            case kAnswerRename:
                Typed(request.newName);
                return;
            case kAnswerAddNumber:
                AddNumber();
                return;
            case kAnswerSkipAll:
                op_.stop_ = true;
                op_.renameAll_ = false;
                pending_.next.reset();
                return;
            default:  // Skip, the dialog closed, or an answer no dialog gives
                pending_.next.reset();
                return;
        }
    }

    // A typed name starts afresh: if it is taken, the user is asked again
    // instead of numbering on from an earlier base.
    void Typed(const std::string& name) {
        if (name != pending_.next->name()) {
            pending_.next = typedName(entry_, name);
            pending_.announced = false;
        }
        op_.duplicateNumber_ = 1;
        automatic_ = 0;
    }

    void AddNumber() {
        std::unique_ptr<CFileDescriptor>& next = pending_.next;
        if (op_.duplicateNumber_ == INT_MAX) {  // no number left to add
            next.reset();
            return;
        }
        if (op_.duplicateNumber_ > 1)
            next->SetPart(op_.duplicateBase_);
        else
            op_.duplicateBase_ = next->part();
        next->SetPart(next->part() + std::to_string(op_.duplicateNumber_));
        pending_.announced = false;
        ++op_.duplicateNumber_;
    }

    CExecute& op_;
    const CFileDescriptor& entry_;
    Pending& pending_;
    int automatic_ = 0;
};

bool CExecute::Announce(Pending& pending) {
    const CFileDescriptor& entry = *pending.entry;
    journal_->Intend(pending.item, pending.Folder(), entry.name(), pending.next->name(), entry.isFolder());
    if (!journal_->Secure()) {
        JournalFailed();
        return false;
    }
    pending.announced = pending.recorded = true;
    return true;
}

// Sorted by anything but name, the items lie scattered in memory: asking for
// the next ones early hides the wait for them behind the work on this one. A macro rather
// than a helper: GCC takes a function that only prefetches for one without
// effects, and drops its calls.
#if defined(__GNUC__)
#define QLN_PREFETCH_AHEAD(list, i)                                                                        \
    do {                                                                                                   \
        constexpr size_t kAhead = 8;                                                                       \
        if ((i) + kAhead < (list).size()) {                                                                \
            /* Every cache line the descriptor spans, wherever it starts in one. */                        \
            const char* item = reinterpret_cast<const char*>((list)[(i) + kAhead].get());                  \
            for (size_t offset = 0; offset < sizeof(CFileDescriptor); offset += 64)                        \
                __builtin_prefetch(item + offset);                                                         \
            __builtin_prefetch(item + sizeof(CFileDescriptor) - 1);                                        \
        }                                                                                                  \
    } while (false)
#else
#define QLN_PREFETCH_AHEAD(list, i) \
    do {                            \
    } while (false)
#endif

void CExecute::Process(const CFileList& list, CPreview* rows) {
    for (size_t i = 0; i < list.size(); ++i) {
        QLN_PREFETCH_AHEAD(list, i);
        const CFileDescriptor& entry = *list[i];
        if (stop_) return;
        // Filtered first: an item that is not renamed must not use up a number
        // of a numbering operation.
        if (!Filtered(entry) || entry.isUnreadable()) continue;
        std::unique_ptr<CFileDescriptor> next = compute(entry);
        if (!next) continue;
        const bool same = next->name() == entry.name();
        rows->push_back({&entry, next->name(), same ? CRowStatus::kUnchanged : CRowStatus::kRenamed});
    }
}

namespace {

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

void CExecute::RenameList(const CFileList& list) {
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
            if (!Filtered(entry) || entry.isUnreadable()) continue;
            if (moving.Holds(entry)) break;  // computed with the next batch
            std::unique_ptr<CFileDescriptor> next = compute(entry);
            if (!next || (next->name() == entry.name() && !alwaysOffer_)) continue;
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
            if (stop_) return;
            RenameOne(p);
        }
        batchSize = std::min(batchSize * 2, kJournalLargestBatch);
    }
}

void CExecute::RenameOne(Pending& p) {
    const CFileDescriptor& entry = *p.entry;
    bool renamed = false;
    if (options_.confirm && !renameAll_) {
        CNameRequest request;
        fillDialog(request, entry, *p.next);
        if (!p.movedFolder.empty()) p.PathTo(request.oldName);
        const int answer = prompts().Confirm(request);
        fileSystem().paused();
        if (answer == kAnswerSkipAll) {
            stop_ = true;
            renameAll_ = false;
        } else if (answer == kAnswerRename || answer == kAnswerRenameAll) {
            if (answer == kAnswerRenameAll) renameAll_ = true;
            if (request.newName != p.next->name()) {
                p.next = typedName(entry, request.newName);
                p.announced = false;
            }
            renamed = ItemRename(*this, p).Run();
        }  // else Skip, closed or unknown
    } else {
        renamed = ItemRename(*this, p).Run();
    }
    if (!journal_ || journalFailed_) return;
    if (p.recorded && !renamed) journal_->NotDone(p.item, 0);
    journal_->Settled(p.item);
}
