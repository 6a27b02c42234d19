#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/Execute.h"
#include "core/FolderMoves.h"
#include "core/Prompts.h"
#include "core/Selection.h"

namespace platform {
class IFileSystem;
}
class CRunJournal;

/// What a rename run did, as one value.
struct CRunResult {
    size_t renamed = 0;
    /// Items left with their names by an answer: Skip, Skip all, a closed
    /// dialog, or a policy that answered for the user.
    size_t skipped = 0;
    /// Items that could not be read or renamed, each reported through the
    /// prompts.
    size_t failed = 0;
    /// Ended before its last item: by "Skip all", or by its journal.
    bool stopped = false;
    /// The journal could not be written: the run stopped before its next
    /// rename (before any, when the journal could not be made). The system
    /// error code, and the journal's path (its folder when it could not be
    /// made).
    uint32_t journalError = 0;
    std::string journalPath;

    bool journalFailed() const { return journalError != 0; }
};

/// How far a run has got, for a front end to show.
struct CRunProgress {
    size_t read = 0;     ///< items read from the disk so far
    size_t renamed = 0;  ///< renames done so far
    /// The item just renamed; null while reading. Valid during the call.
    const CFileDescriptor* current = nullptr;
};

/// "Add number and rename": the number that the next taken name of one item
/// gets, counted up from 1 on the part it had when its name was first taken.
class CDuplicateNumber {
public:
    explicit CDuplicateNumber(int first = 1) : next_(first) {}
    /// Puts the next number on `fd`'s part; false when no number is left.
    bool AddTo(CFileDescriptor& fd);
    /// The name was first taken with `fd`'s part: numbering starts on it.
    void Start(const CFileDescriptor& fd) { base_ = fd.part(); }
    /// True once a number was added since the last Reset.
    bool numbering() const { return next_ > 1; }
    void Reset() {
        next_ = 1;
        base_.clear();
    }

private:
    int next_;
    std::string base_;
};

/// One rename run: reads the items of the given paths, puts them in
/// processing order, and previews or renames them with the names a source
/// gives, asking the prompts wherever a rename needs an answer and
/// announcing each rename in the journal before it is tried. It owns the
/// run's state: "Rename all", "Skip all", the numbers of "Add number and
/// rename", the folders renamed so far. A rename never leaves its folder:
/// the run joins the new name to the item's folder itself, after checking
/// that it is one name.
class CRenameRun {
public:
    /// `journal` may be null: a run without one (a preview, a list).
    CRenameRun(const CRunOptions& options, platform::IFileSystem& fs, IPrompts& prompts,
               CRunJournal* journal = nullptr);
    ~CRenameRun();
    CRenameRun(const CRenameRun&) = delete;
    CRenameRun& operator=(const CRenameRun&) = delete;

    /// Hears how far the run has got, item by item; a listener shows it only
    /// now and then.
    void SetProgress(std::function<void(const CRunProgress&)> progress) { progress_ = std::move(progress); }
    /// Asked now and then whether whoever started the run wants it to end: a
    /// reading or a preview is abandoned (the selection is incomplete, the
    /// rows cut short), a rename run ends after the rename under way, as
    /// after "Skip all".
    void SetCancel(std::function<bool()> cancelled) { cancelled_ = std::move(cancelled); }
    /// Hears of each rename as it is done: the item's full path before and
    /// after.
    void SetMoved(std::function<void(const std::string& from, const std::string& to)> moved) {
        moved_ = std::move(moved);
    }

    /// Reads the items of `given`: one descriptor each, sorted, with its
    /// kind, and with subfolders on the contents of each folder (each folder
    /// after its own contents). A path given twice, or lying in a folder
    /// whose contents are read anyway, is one item. Failures are reported as
    /// "Cannot access"; "Skip all" ends the reading and leaves the selection
    /// incomplete.
    CSelection Collect(const std::vector<CGivenPath>& given);
    CSelection Collect(const std::vector<std::string>& paths);
    /// Puts a collected selection in processing order: each folder's sorted
    /// entries kept together, or (without "Sort each subfolder separately")
    /// everything sorted at once.
    void Arrange(CSelection& selection);
    /// The new name of every item of an arranged selection that the
    /// Files/Folders choice takes, into `rows` (emptied first). Renames
    /// nothing and asks nothing. With `limit`, the first `limit` rows only:
    /// what a screen shows before the rest is known. False when the run was
    /// cancelled before the rows were complete.
    bool Preview(const CSelection& selection, INameSource& source, CPreview& rows, size_t limit = SIZE_MAX);
    /// Renames the items of an arranged selection.
    CRunResult Rename(const CSelection& selection, INameSource& source);
    /// Writes the full path of every item of a collected selection that the
    /// Files/Folders choice takes to `listFile`, one per line (as `format`
    /// says). False when the file could not be written (reported as "Cannot
    /// access"). `written` (may be null) takes the number of paths.
    bool WriteList(const CSelection& selection, const std::string& listFile, const CListFormat& format = {},
                   size_t* written = nullptr);
    /// A whole run over `paths`: collects, arranges and renames.
    CRunResult Run(const std::vector<std::string>& paths, INameSource& source);

    /// True when the user ended the last step with "Skip all".
    bool stopped() const { return stop_; }

private:
    class ItemRename;  // one item's rename and its conflicts (RenameItems.cpp)
    struct Pending;    // an item of a batch of renames, with its new name

    bool Filtered(const CFileDescriptor& fd) const;
    /// Shows the default error dialog; its "Skip all" ends the run. With
    /// `mayRetry`, an item in use is offered "Try again": that answer comes
    /// back, and the item does not count as failed. Returns the answer.
    int Report(const char* title, const char* headline, const std::string& fileName, uint32_t code,
               bool mayRetry = false);
    void ReportAccess(const std::string& path, uint32_t code);
    /// Reads the kind of each entry of `list` that `needsRead`, reporting
    /// those that cannot be read; then hands each folder to `onFolder`.
    template <typename NeedsRead, typename OnFolder>
    void ReadKinds(CFileList& list, NeedsRead needsRead, OnFolder onFolder);
    /// The entries of the folder `path` into `out`, in the run's order;
    /// `unknown` takes those whose kind the listing did not tell. 0, or the
    /// code of a listing that failed (what it read is kept).
    uint32_t ListSorted(const std::string& path, CFileList& out, std::unordered_set<const CFileDescriptor*>& unknown);
    /// Adds the contents of `folder` to `out`, subfolders first and each
    /// folder after its own contents.
    void Expand(const CFileDescriptor& folder, CFileList& out);
    void Read(size_t items);
    /// True, and the run stops, once the one who started it asked it to.
    bool Cancelled();
    /// `entries` of a folder are listed so far; true once the run stops.
    bool Listed(size_t entries);
    /// Renames the items of `list` batch by batch: the new names of a batch
    /// are computed and announced in the journal with one flush, then the
    /// batch is renamed.
    void RenameList(const CFileList& list, INameSource& source, size_t& position);
    void RenameOne(Pending& pending, INameSource& source);
    /// Puts the intent for the pending item's name on the disk before it is
    /// tried; false (and the run stops) when the journal cannot be written.
    bool Announce(Pending& pending);
    void JournalFailed();

    CRunOptions options_;
    platform::IFileSystem& fs_;
    IPrompts& prompts_;
    CRunJournal* journal_;
    std::function<void(const CRunProgress&)> progress_;
    std::function<bool()> cancelled_;
    std::function<void(const std::string&, const std::string&)> moved_;

    // "Rename all" suppresses the Confirm dialog, "Skip all" stops, and "Add
    // number and rename" counts up from its base until a rename succeeds.
    bool renameAll_ = false;
    bool stop_ = false;
    bool confirm_ = false;
    bool offerEvery_ = false;
    CDuplicateNumber number_;
    CRunResult result_;
    CRunProgress counted_;
    // Without "Sort each subfolder separately" a folder may be renamed
    // before what it holds: those items then reach it under its new name.
    CFolderMoves moves_;
};
