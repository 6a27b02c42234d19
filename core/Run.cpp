// The rename run: builds the item lists, asks the user wherever a rename needs
// an answer, and renames through the platform, whose move never replaces an
// existing file or folder. Nothing here works around that: every rename goes
// through IFileSystem::move and nothing is ever deleted or overwritten.
#include <algorithm>
#include <climits>
#include <unordered_set>

#include "core/Execute.h"
#include "platform/FileSystem.h"

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

bool passesFilter(const CExecute& op, const CFileDescriptor& fd) {
    return (op.files || fd.isFolder()) && (op.folders || !fd.isFolder());
}

// Shows the default error dialog; its "Skip all" ends the run.
void report(CExecute& op, const char* title, const char* headline, const std::string& fileName, uint32_t code) {
    CErrorReport r;
    r.title = title;
    r.headline = headline;
    r.fileName = fileName;
    r.errorCode = code;
    r.explanation = platform::errorMessage(code);
    if (op.prompts().DefaultError(r) == kAnswerSkipAll) {
        op.stop = 1;
        op.renameAll = 0;
    }
}

void reportAccess(CExecute& op, const std::string& path, uint32_t code) {
    report(op, kAccessTitle, kAccessHeadline, path, code);
}

// Reads the attributes of each entry that `needsRead`; an entry that cannot
// be read is reported and left out: without its attributes the files/folders
// choice cannot be applied to it, and renaming it would only fail a second
// time.
template <typename NeedsRead, typename OnFolder>
void readAttributes(CExecute& op, CFileList& list, NeedsRead needsRead, OnFolder onFolder) {
    for (auto it = list.begin(); it != list.end() && !op.stop;) {
        if (needsRead(**it)) {
            platform::Attributes attrs;
            const uint32_t code = op.fileSystem().getAttributes((*it)->path(), attrs);
            if (code != platform::kErrorSuccess) {
                reportAccess(op, (*it)->path(), code);
                it = list.erase(it);
                continue;
            }
            if (attrs.isFolder) (*it)->setIsFolder(true);
        }
        if ((*it)->isFolder()) onFolder(**it);
        ++it;
    }
}

// The new descriptor for a name the user typed: its part is taken from the
// typed name, so that a number added later goes into what the user typed.
std::unique_ptr<CFileDescriptor> typedName(const CFileDescriptor& entry, const std::string& name) {
    auto typed = std::make_unique<CFileDescriptor>(entry.folder(), name, entry.scope());
    typed->setIsFolder(entry.isFolder());
    return typed;
}

// Renames one item, resolving each failure with the user until it is renamed
// or given up.
class ItemRename {
public:
    ItemRename(CExecute& op, const CFileDescriptor& entry, std::unique_ptr<CFileDescriptor> next)
        : op_(op), entry_(entry), next_(std::move(next)) {}

    void Run() {
        // Numbering belongs to one item: a number or base left over from an
        // item that was skipped must not rename the next one unasked.
        op_.duplicateNumber = 1;
        op_.duplicateBase.clear();
        while (next_) {
            if (next_->name() == entry_.name()) return;  // nothing to rename
            // Checked before any call, and always joined to the item's own
            // folder, so that no name can move the item somewhere else.
            uint32_t code = platform::checkFileName(next_->name());
            if (code == platform::kErrorSuccess) {
                // Both paths are made in buffers kept from rename to rename.
                thread_local std::string from, to;
                entry_.CopyPathTo(from);
                to.assign(entry_.folder()).append(1, platform::kPathSeparator).append(next_->name());
                code = op_.fileSystem().move(from, to);
            }
            if (code == platform::kErrorSuccess) {
                op_.duplicateNumber = 1;
                return;
            }
            Resolve(code);
        }
    }

private:
    void Resolve(uint32_t code) {
        switch (code) {
            case platform::kErrorAlreadyExists:
                if (op_.duplicateNumber > 1 && automatic_ < kAutomaticNumbers && op_.duplicateNumber < INT_MAX) {
                    ++automatic_;
                    AddNumber();
                    return;
                }
                automatic_ = 0;
                if (op_.duplicateNumber == 1) op_.duplicateBase = next_->part();
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
                report(op_, kRenameTitle, kRenameHeadline, entry_.path(), code);
                return;
        }
    }

    void Ask(int (IPrompts::*prompt)(CNameRequest&)) {
        CNameRequest request;
        request.oldName = entry_.path();
        request.computed = next_->name();
        request.newName = next_->name();
        switch ((op_.prompts().*prompt)(request)) {
            case kAnswerRenameAll:
                op_.renameAll = 1;
                op_.stop = 0;
                [[fallthrough]];
            case kAnswerRename:
                Typed(request.newName);
                return;
            case kAnswerAddNumber:
                AddNumber();
                return;
            case kAnswerSkipAll:
                op_.stop = 1;
                op_.renameAll = 0;
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
        op_.duplicateNumber = 1;
        automatic_ = 0;
    }

    void AddNumber() {
        if (op_.duplicateNumber == INT_MAX) {  // no number left to add
            next_.reset();
            return;
        }
        if (op_.duplicateNumber > 1)
            next_->SetPart(op_.duplicateBase);
        else
            op_.duplicateBase = next_->part();
        next_->SetPart(next_->part() + std::to_string(op_.duplicateNumber));
        ++op_.duplicateNumber;
    }

    CExecute& op_;
    const CFileDescriptor& entry_;
    std::unique_ptr<CFileDescriptor> next_;
    int automatic_ = 0;
};

}  // namespace

bool CExecute::collect(const std::vector<std::string>& paths, int count, CFileList& given, CFileList& contents) {
    renameAll = 0;
    stop = 0;
    std::string savedDirectory;
    const bool haveDirectory = fileSystem().getCurrentDirectory(savedDirectory) == platform::kErrorSuccess;

    const size_t n = count > 0 ? std::min(static_cast<size_t>(count), paths.size()) : 0;
    given.reserve(given.size() + n);
    for (size_t i = 0; i < n; ++i) given.push_back(std::make_unique<CFileDescriptor>(paths[i], scope));
    sort(given);
    readAttributes(
        *this, given, [](const CFileDescriptor&) { return true; },
        [&](const CFileDescriptor& fd) {
            if (subfolders) expand(fd.path(), contents);
        });
    if (haveDirectory) fileSystem().setCurrentDirectory(savedDirectory);
    return !stop;
}

void CExecute::run(const std::vector<std::string>& paths, int count, const std::string* listFile) {
    CFileList given, contents;
    // "Skip all" ends the whole run: a list file written now would miss the
    // items that were never read.
    if (!collect(paths, count, given, contents)) return;

    if (listFile) {
        std::string data;
        for (const CFileList* list : {&contents, &given})
            for (const auto& fd : *list)
                if (passesFilter(*this, *fd)) data += fd->path() + "\r\n";
        const uint32_t code = fileSystem().writeFile(*listFile, data);
        if (code != platform::kErrorSuccess) reportAccess(*this, *listFile, code);
    } else if (sortEachFolder) {
        process(contents);
        process(given);
    } else {
        CFileList all;
        all.reserve(given.size() + contents.size());
        for (CFileList* list : {&given, &contents})
            for (auto& fd : *list) all.push_back(std::move(fd));
        sort(all);
        process(all);
        ReleaseFileList(all);
    }
    ReleaseFileList(contents);
    ReleaseFileList(given);
}

void CExecute::preview(const std::vector<std::string>& paths, int count) {
    oldNames = std::make_unique<std::vector<std::string>>();
    newNames = std::make_unique<std::vector<std::string>>();
    previewMode = 1;
    run(paths, count, nullptr);
    previewMode = 0;
}

void CExecute::expand(const std::string& folder, CFileList& out) {
    uint32_t code = fileSystem().setCurrentDirectory(folder);
    if (code != platform::kErrorSuccess) {
        reportAccess(*this, folder, code);
        return;
    }
    CFileList local;
    // The entries whose kind the listing did not tell; most file systems
    // tell every kind, which spares a status call per entry.
    std::unordered_set<const CFileDescriptor*> unknown;
    code = fileSystem().listFolderEntries(folder, [&](const std::string& name, platform::EntryKind kind) {
        auto fd = std::make_unique<CFileDescriptor>(folder, name, scope);
        if (kind == platform::EntryKind::kUnknown) unknown.insert(fd.get());
        fd->setIsFolder(kind == platform::EntryKind::kFolder);
        local.push_back(std::move(fd));
    });
    // What was listed before the error is still worked on, unless the user
    // ends the run here.
    if (code != platform::kErrorSuccess) reportAccess(*this, folder, code);
    if (stop) return;
    sort(local);
    readAttributes(
        *this, local, [&](const CFileDescriptor& fd) { return !unknown.empty() && unknown.count(&fd) != 0; },
        [&](const CFileDescriptor& fd) { expand(fd.path(), out); });
    if (stop) return;
    // Grown by at least half, so that many small folders do not copy the
    // list again and again, while one large folder takes no more than it
    // needs.
    if (out.capacity() < out.size() + local.size())
        out.reserve(std::max(out.size() + local.size(), out.capacity() + out.capacity() / 2));
    for (auto& fd : local) out.push_back(std::move(fd));
}

void CExecute::process(CFileList& list) {
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
        const auto& entry = list[i];
        if (stop) return;
        // Filtered first: an item that is not renamed must not use up a number
        // of a numbering operation.
        if (!passesFilter(*this, *entry)) continue;
        std::unique_ptr<CFileDescriptor> next = compute(*entry);
        if (!next) continue;
        if (next->name() == entry->name() && !alwaysOffer && !previewMode) continue;

        if (previewMode) {
            if (oldNames) oldNames->push_back(entry->name());
            if (newNames) newNames->push_back(next->name());
            continue;
        }

        if (confirm && !renameAll) {
            CNameRequest request;
            fillDialog(request, *entry, *next);
            const int answer = prompts().Confirm(request);
            if (answer == kAnswerSkipAll) {
                stop = 1;
                renameAll = 0;
                return;
            }
            if (answer != kAnswerRename && answer != kAnswerRenameAll) continue;  // Skip, closed or unknown
            if (answer == kAnswerRenameAll) renameAll = 1;
            if (request.newName != next->name()) next = typedName(*entry, request.newName);
        }
        ItemRename(*this, *entry, std::move(next)).Run();
    }
}
