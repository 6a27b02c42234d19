// The rename run, reading: the items of the given paths, read once, put in
// the order the run processes them; and what a run makes of them without
// renaming: the preview's names and the list file.
#include "core/RenameRun.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "core/Journal.h"
#include "core/Prefetch.h"
#include "core/Sort.h"
#include "platform/FileSystem.h"

namespace {

constexpr const char* kAccessTitle = "Cannot access";
constexpr const char* kAccessHeadline = "The file cannot be accessed.";

// Frees the lists in the order their descriptors lie in memory.
void Release(std::array<CFileList, 2>& lists) {
    for (auto& list : lists) ReleaseFileList(list);
}

// The path `path` lies in one of `folders`, or in a folder below one.
bool Below(const std::string& path, const std::unordered_set<std::string>& folders) {
    if (folders.empty()) return false;
    for (auto sep = path.find_last_of(platform::kPathSeparator); sep != std::string::npos && sep > 0;
         sep = path.find_last_of(platform::kPathSeparator, sep - 1))
        if (folders.count(path.substr(0, sep))) return true;
    return false;
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

CRenameRun::CRenameRun(const CRunOptions& options, platform::IFileSystem& fs, IPrompts& prompts,
                       CRunJournal* journal)
    : options_(options), fs_(fs), prompts_(prompts), journal_(journal) {}

CRenameRun::~CRenameRun() = default;

bool CRenameRun::Filtered(const CFileDescriptor& fd) const {
    return (options_.files || fd.isFolder()) && (options_.folders || !fd.isFolder());
}

int CRenameRun::Report(const char* title, const char* headline, const std::string& fileName, uint32_t code,
                       bool mayRetry) {
    CErrorReport r;
    r.title = title;
    r.headline = headline;
    r.fileName = fileName;
    r.errorCode = code;
    r.explanation = platform::ErrorMessage(code);
    // An item another program holds open may be free in a moment: the
    // person is told who holds it and may try again. Access denied is in
    // use only when the system names a holder.
    const bool inUse = code == platform::kErrorSharingViolation || code == platform::kErrorLockViolation ||
                       code == platform::kErrorBusy;
    if (mayRetry && (inUse || code == platform::kErrorAccessDenied)) {
        r.holders = fs_.Holders(fileName);
        r.canRetry = inUse || !r.holders.empty();
    }
    const int answer = prompts_.DefaultError(r);
    fs_.Paused();
    if (answer == kAnswerTryAgain && r.canRetry) return answer;
    ++result_.failed;
    if (answer == kAnswerSkipAll) {
        stop_ = true;
        renameAll_ = false;
    }
    return answer;
}

void CRenameRun::ReportAccess(const std::string& path, uint32_t code) {
    Report(kAccessTitle, kAccessHeadline, path, code);
}

void CRenameRun::Read(size_t items) {
    counted_.read += items;
    counted_.current = nullptr;
    if (progress_) progress_(counted_);
    Cancelled();
}

// A folder of a million entries takes a while to list: how far it got is
// told now and then, and once the run is to end the rest is passed over.
bool CRenameRun::Listed(size_t entries) {
    constexpr size_t kStretch = 16384;
    if (stop_ || entries % kStretch != 0 || entries == 0) return stop_;
    if (progress_) {
        CRunProgress now = counted_;
        now.read += entries;
        now.current = nullptr;
        progress_(now);
    }
    return Cancelled();
}

bool CRenameRun::Cancelled() {
    if (cancelled_ && cancelled_()) stop_ = true;
    return stop_;
}

// An entry whose kind cannot be read is reported and marked: without its kind
// the Files/Folders choice cannot be applied to it, and renaming it would only
// fail a second time, but a list file still names it.
template <typename NeedsRead, typename OnFolder>
void CRenameRun::ReadKinds(CFileList& list, NeedsRead needsRead, OnFolder onFolder) {
    for (auto& fd : list) {
        if (stop_) return;
        if (needsRead(*fd)) {
            platform::Attributes attrs;
            const uint32_t code = fs_.GetAttributes(fd->path(), attrs);
            if (code != platform::kErrorSuccess) {
                fd->SetUnreadable();
                ReportAccess(fd->path(), code);
                continue;
            }
            if (attrs.kind == platform::EntryKind::kFolderLink)
                fd->SetIsFolderLink();
            else
                fd->SetIsFolder(attrs.kind == platform::EntryKind::kFolder);
        }
        if (fd->isEnterable()) onFolder(*fd);
    }
}

CSelection CRenameRun::Collect(const std::vector<std::string>& paths) {
    std::vector<CGivenPath> given;
    given.reserve(paths.size());
    for (const auto& p : paths) given.push_back({p, false});
    return Collect(given);
}

CSelection CRenameRun::Collect(const std::vector<CGivenPath>& paths) {
    renameAll_ = false;
    stop_ = false;
    CSelection selection;
    CFileList& given = selection.lists_[1];
    CFileList& contents = selection.lists_[0];
    std::string savedDirectory;
    const bool haveDirectory = fs_.GetWorkingFolder(savedDirectory) == platform::kErrorSuccess;

    // The given items, each once, sorted, with their kinds.
    std::unordered_set<std::string> seen;
    given.reserve(paths.size());
    for (const auto& p : paths) {
        if (p.contentsOnly || !seen.insert(p.path).second) continue;
        // Items of one folder share its path, as the entries of a listing do.
        const auto sep = p.path.find_last_of(platform::kPathSeparator);
        if (sep != std::string::npos && !given.empty() && given.back()->folder().size() == sep &&
            p.path.compare(0, sep, given.back()->folder()) == 0)
            given.push_back(std::make_unique<CFileDescriptor>(given.back()->sharedFolder(), p.path.substr(sep + 1),
                                                              options_.scope));
        else
            given.push_back(std::make_unique<CFileDescriptor>(p.path, options_.scope));
    }
    std::unordered_set<std::string>().swap(seen);
    Read(given.size());
    SortFileList(given, options_.sortOrder, options_.randomSeed, fs_);
    // The folders whose contents this run reads: met twice, an item would be
    // renamed, then fail.
    std::unordered_set<std::string> givenFolders, readFolders;
    ReadKinds(
        given, [](const CFileDescriptor&) { return true; },
        [&](const CFileDescriptor& fd) {
            if (options_.subfolders) givenFolders.insert(fd.path());
        });
    readFolders = givenFolders;
    for (const auto& p : paths)
        if (p.contentsOnly && options_.subfolders) readFolders.insert(p.path);
    if (!readFolders.empty())
        std::erase_if(given, [&](const auto& fd) { return Below(fd->path(), readFolders); });

    // The entries of each folder whose contents were given, unless another
    // folder read here holds them: given items too, whose kinds their
    // listing tells.
    std::unordered_set<std::string> listedFolders;
    for (const auto& p : paths) {
        if (!p.contentsOnly || !options_.subfolders || stop_ || !listedFolders.insert(p.path).second) continue;
        if (givenFolders.count(p.path) || Below(p.path, readFolders)) continue;
        CFileList entries;
        std::unordered_set<const CFileDescriptor*> unknown;
        if (const uint32_t code = ListSorted(p.path, entries, unknown)) ReportAccess(p.path, code);
        ReadKinds(
            entries, [&](const CFileDescriptor& fd) { return !unknown.empty() && unknown.count(&fd) != 0; },
            [](const CFileDescriptor&) {});
        const bool merge = !given.empty();
        for (auto& fd : entries) given.push_back(std::move(fd));
        if (merge) SortFileList(given, options_.sortOrder, options_.randomSeed, fs_);
    }
    if (options_.subfolders)
        for (const auto& fd : given)
            if (fd->isEnterable() && !stop_) Expand(*fd, contents);
    if (haveDirectory) (void)fs_.SetWorkingFolder(savedDirectory);  // the run works by full paths anyway
    selection.complete_ = !stop_;
    return selection;
}

uint32_t CRenameRun::ListSorted(const std::string& path, CFileList& local,
                                std::unordered_set<const CFileDescriptor*>& unknown) {
    auto shared = std::make_shared<const std::string>(path);
    // The entries whose kind the listing did not tell; most file systems
    // tell every kind, which spares a status call per entry.
    const auto add = [&](std::string_view name, platform::EntryKind kind) {
        auto fd = std::make_unique<CFileDescriptor>(shared, name, options_.scope);
        if (kind == platform::EntryKind::kUnknown) unknown.insert(fd.get());
        if (kind == platform::EntryKind::kFolderLink)
            fd->SetIsFolderLink();
        else
            fd->SetIsFolder(kind == platform::EntryKind::kFolder);
        local.push_back(std::move(fd));
    };
    uint32_t code;
    if (IsNameOrder(options_.sortOrder)) {
        // The names first, then the descriptors in their sorted order: they
        // then lie in memory as every later pass reads them, which for a
        // million items saves more than the names cost to hold. Each name
        // follows a byte with its kind, which is then read with the name.
        std::string names;
        std::vector<size_t> ends;
        code = fs_.ListFolderEntries(path, [&](const std::string& name, platform::EntryKind kind) {
            if (Listed(ends.size())) return;
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
        local.reserve(local.size() + sorted.size());
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
        code = fs_.ListFolderEntries(path, [&](const std::string& name, platform::EntryKind kind) {
            if (!Listed(local.size())) add(name, kind);
        });
        SortFileList(local, options_.sortOrder, options_.randomSeed, fs_);
    }
    Read(local.size());
    return code;
}

void CRenameRun::Expand(const CFileDescriptor& folder, CFileList& out) {
    const std::string& path = folder.path();
    uint32_t code = fs_.SetWorkingFolder(path);
    if (code != platform::kErrorSuccess) {
        ReportAccess(path, code);
        return;
    }
    CFileList local;
    std::unordered_set<const CFileDescriptor*> unknown;
    code = ListSorted(path, local, unknown);
    // What was listed before the error is still worked on, unless the user
    // ends the run here.
    if (code != platform::kErrorSuccess) ReportAccess(path, code);
    if (stop_) return;
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

void CRenameRun::Arrange(CSelection& selection) {
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
    SortFileList(given, options_.sortOrder, options_.randomSeed, fs_);
}

bool CRenameRun::WriteList(const CSelection& selection, const std::string& listFile, const CListFormat& format,
                           size_t* written) {
    std::string data;
    size_t count = 0;
    for (const auto& list : selection.lists_)
        for (const auto& fd : list)
            if (Filtered(*fd)) {
                data.append(fd->path()).append(format.end);
                ++count;
            }
    const uint32_t code = format.write ? format.write(data) : fs_.WriteFile(listFile, data);
    if (written) *written = code == platform::kErrorSuccess ? count : 0;
    if (code == platform::kErrorSuccess) return true;
    ReportAccess(listFile, code);
    return false;
}

CRunResult CRenameRun::Run(const std::vector<std::string>& paths, INameSource& source) {
    CSelection selection = Collect(paths);
    // "Skip all" ends the whole run.
    if (!selection.complete()) {
        result_.stopped = true;
        return result_;
    }
    Arrange(selection);
    return Rename(selection, source);
}

bool CRenameRun::Preview(const CSelection& selection, INameSource& source, CPreview& rows, size_t limit) {
    rows.clear();
    rows.reserve(std::min(selection.size(), limit));
    renameAll_ = false;
    stop_ = false;
    // Asked once per stretch of items: a name costs far less than the call.
    constexpr size_t kStretch = 4096;
    size_t position = 0;
    size_t seen = 0;
    for (const auto& list : selection.lists_)
        for (size_t i = 0; i < list.size(); ++i) {
            if (rows.size() >= limit) return true;
            if (++seen % kStretch == 0 && Cancelled()) return false;
            QLN_PREFETCH_AHEAD(list, i);
            const CFileDescriptor& entry = *list[i];
            // Filtered first: an item that is not renamed must not use up a
            // number of a numbering operation.
            if (!Filtered(entry) || entry.isUnreadable()) continue;
            if (!source.Takes(entry)) {
                rows.push_back({&entry, entry.name(), CRowStatus::kLeftOut, 0});
                continue;
            }
            const size_t at = position++;
            std::unique_ptr<CFileDescriptor> next = source.Compute(entry, {at, fs_});
            if (!next) continue;
            const bool same = next->name() == entry.name();
            rows.push_back({&entry, next->name(), same ? CRowStatus::kUnchanged : CRowStatus::kRenamed,
                            static_cast<uint32_t>(at)});
        }
    return true;
}
