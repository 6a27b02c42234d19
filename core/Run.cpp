// The rename run: builds the item lists, asks the user wherever a rename needs
// an answer, and renames through the platform, whose move never replaces an
// existing file or folder. Nothing here works around that: every rename goes
// through IFileSystem::move and nothing is ever deleted or overwritten.
#include <algorithm>
#include <climits>
#include <unordered_set>

#include "core/Execute.h"
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
    code = fileSystem().listFolderEntries(path, [&](const std::string& name, platform::EntryKind kind) {
        auto fd = std::make_unique<CFileDescriptor>(shared, name, options_.scope);
        if (kind == platform::EntryKind::kUnknown) unknown.insert(fd.get());
        if (kind == platform::EntryKind::kFolderLink)
            fd->setIsFolderLink();
        else
            fd->setIsFolder(kind == platform::EntryKind::kFolder);
        local.push_back(std::move(fd));
    });
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

bool CExecute::WriteList(const CSelection& selection, const std::string& listFile) {
    std::string data;
    for (const auto& list : selection.lists_)
        for (const auto& fd : list)
            if (Filtered(*fd)) data.append(fd->path()).append(platform::kLineEnd);
    const uint32_t code = fileSystem().writeFile(listFile, data);
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
    for (const auto& list : selection.lists_) Process(list, nullptr);
    return !stop_;
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

// Renames one item, resolving each failure with the user until it is renamed
// or given up.
class CExecute::ItemRename {
public:
    ItemRename(CExecute& op, const CFileDescriptor& entry, std::unique_ptr<CFileDescriptor> next)
        : op_(op), entry_(entry), next_(std::move(next)) {}

    void Run() {
        // Numbering belongs to one item: a number or base left over from an
        // item that was skipped must not rename the next one unasked.
        op_.duplicateNumber_ = 1;
        op_.duplicateBase_.clear();
        while (next_) {
            if (next_->name() == entry_.name()) return;  // nothing to rename
            // Checked before any call, and always joined to the item's own
            // folder, so that no name can move the item somewhere else. A
            // name longer than the platform allows is asked about as too
            // long whatever the file system would answer (some answer "not
            // found"), as the preview marks it.
            uint32_t code = platform::checkFileName(next_->name());
            if (code == platform::kErrorSuccess &&
                platform::nameRules().length(next_->name()) > platform::nameRules().maxName)
                code = platform::kErrorFilenameExcedRange;
            if (code == platform::kErrorSuccess) {
                entry_.CopyPathTo(op_.from_);
                op_.to_.assign(entry_.folder()).append(1, platform::kPathSeparator).append(next_->name());
                code = op_.fileSystem().move(op_.from_, op_.to_);
            }
            if (code == platform::kErrorSuccess) {
                op_.duplicateNumber_ = 1;
                return;
            }
            Resolve(code);
        }
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
                if (op_.duplicateNumber_ == 1) op_.duplicateBase_ = next_->part();
                Ask(&IPrompts::Duplicate);
                return;
            case platform::kErrorInvalidName:
                Ask(&IPrompts::Illegal);
                return;
            case platform::kErrorPathNotFound:
            case platform::kErrorFilenameExcedRange:
                Ask(&IPrompts::TooLong);
                return;
            default:
                next_.reset();
                op_.Report(kRenameTitle, kRenameHeadline, entry_.path(), code);
                return;
        }
    }

    void Ask(int (IPrompts::*prompt)(CNameRequest&)) {
        CNameRequest request;
        request.oldName = entry_.path();
        request.computed = next_->name();
        request.newName = next_->name();
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
                next_.reset();
                return;
            default:  // Skip, the dialog closed, or an answer no dialog gives
                next_.reset();
                return;
        }
    }

    // A typed name starts afresh: if it is taken, the user is asked again
    // instead of numbering on from an earlier base.
    void Typed(const std::string& name) {
        if (name != next_->name()) next_ = typedName(entry_, name);
        op_.duplicateNumber_ = 1;
        automatic_ = 0;
    }

    void AddNumber() {
        if (op_.duplicateNumber_ == INT_MAX) {  // no number left to add
            next_.reset();
            return;
        }
        if (op_.duplicateNumber_ > 1)
            next_->SetPart(op_.duplicateBase_);
        else
            op_.duplicateBase_ = next_->part();
        next_->SetPart(next_->part() + std::to_string(op_.duplicateNumber_));
        ++op_.duplicateNumber_;
    }

    CExecute& op_;
    const CFileDescriptor& entry_;
    std::unique_ptr<CFileDescriptor> next_;
    int automatic_ = 0;
};

void CExecute::Process(const CFileList& list, CPreview* rows) {
    // After sorting, the items lie scattered in memory: asking for the next
    // ones early hides the wait for them behind the work on this one.
    for (size_t i = 0; i < list.size(); ++i) {
#if defined(__GNUC__)
        // Here rather than in a helper: GCC takes a function that only
        // prefetches for one without effects, and drops its calls.
        constexpr size_t kAhead = 8;
        if (i + kAhead < list.size()) {
            // Every cache line the descriptor spans, wherever it starts in one.
            const char* item = reinterpret_cast<const char*>(list[i + kAhead].get());
            for (size_t offset = 0; offset < sizeof(CFileDescriptor); offset += 64) __builtin_prefetch(item + offset);
            __builtin_prefetch(item + sizeof(CFileDescriptor) - 1);
        }
#endif
        const CFileDescriptor& entry = *list[i];
        if (stop_) return;
        // Filtered first: an item that is not renamed must not use up a number
        // of a numbering operation.
        if (!Filtered(entry) || entry.isUnreadable()) continue;
        std::unique_ptr<CFileDescriptor> next = compute(entry);
        if (!next) continue;

        if (rows) {
            const bool same = next->name() == entry.name();
            rows->push_back({&entry, next->name(), same ? CRowStatus::kUnchanged : CRowStatus::kRenamed});
            continue;
        }
        if (next->name() == entry.name() && !alwaysOffer_) continue;

        if (options_.confirm && !renameAll_) {
            CNameRequest request;
            fillDialog(request, entry, *next);
            const int answer = prompts().Confirm(request);
            fileSystem().paused();
            if (answer == kAnswerSkipAll) {
                stop_ = true;
                renameAll_ = false;
                return;
            }
            if (answer != kAnswerRename && answer != kAnswerRenameAll) continue;  // Skip, closed or unknown
            if (answer == kAnswerRenameAll) renameAll_ = true;
            if (request.newName != next->name()) next = typedName(entry, request.newName);
        }
        ItemRename(*this, entry, std::move(next)).Run();
    }
}
