#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/FileDescriptor.h"
#include "core/FolderMoves.h"
#include "core/Prompts.h"
#include "platform/NameRules.h"

namespace platform {
class IFileSystem;
}
class CRunJournal;

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

/// The items of one run, read from the disk once: the given items and, with
/// subfolders on, the contents of their folders. A run collects it, writes a
/// list file from it or arranges it in processing order, then previews or
/// renames it; a dialog keeps one and previews it on every keystroke.
class CSelection {
public:
    CSelection() = default;
    ~CSelection();
    CSelection(CSelection&&) noexcept = default;
    CSelection& operator=(CSelection&&) noexcept;
    CSelection(const CSelection&) = delete;
    CSelection& operator=(const CSelection&) = delete;

    /// False when the user ended the reading ("Skip all"): such a selection
    /// is neither listed nor renamed.
    bool complete() const { return complete_; }
    /// True once it is in processing order.
    bool arranged() const { return arranged_; }
    /// Number of items.
    size_t size() const { return lists_[0].size() + lists_[1].size(); }
    /// The items in processing order: the first list, then the second.
    /// Collected, these are the folders' contents (each folder after its own
    /// contents) and the given items; arranged without sorting each folder
    /// separately, everything is in the second list.
    const std::array<CFileList, 2>& lists() const { return lists_; }

private:
    friend class CExecute;
    std::array<CFileList, 2> lists_;
    bool complete_ = true;
    bool arranged_ = false;
};

/// How a list of the items is written.
struct CListFormat {
    /// What follows each path: a line end, or a NUL for a list that must
    /// hold every name (one with a line break in it too).
    std::string_view end = platform::kLineEnd;
    /// Where the list goes instead of the file (standard output, say); null:
    /// into the file. Returns 0 or a system error code.
    std::function<uint32_t(const std::string& data)> write;
};

/// What a run will meet for one row of a preview.
enum class CRowStatus : uint8_t {
    kRenamed,      ///< the new name is free: the item will be renamed
    kUnchanged,    ///< the name stays as it is
    kDuplicate,    ///< another item of the selection would get the same name
    kExists,       ///< an item outside the selection has the name
    kInvalidName,  ///< the name cannot be used (error 123)
    kTooLong,      ///< the name or the path would be too long (error 206)
};

/// One row of a preview: an item of the selection previewed, the name it
/// would get and what the run will meet. The item belongs to the selection,
/// which must outlive the row.
struct CPreviewRow {
    const CFileDescriptor* item = nullptr;
    std::string newName;
    CRowStatus status = CRowStatus::kRenamed;
};
using CPreview = std::vector<CPreviewRow>;

/// Base of every rename operation. One object serves one preview, OK or
/// file-list run; numbering operations keep their counters in it, so compute
/// must be called in run order.
class CExecute {
public:
    explicit CExecute(const CRunOptions& options);
    virtual ~CExecute();
    CExecute(const CExecute&) = delete;
    CExecute& operator=(const CExecute&) = delete;

    /// The operation itself: a renamed copy of `fd`, which stays untouched.
    virtual std::unique_ptr<CFileDescriptor> compute(const CFileDescriptor& fd) = 0;

    /// Fills the Confirm dialog for renaming `oldFd` to `newFd`.
    virtual void fillDialog(CNameRequest& dialog, const CFileDescriptor& oldFd, const CFileDescriptor& newFd);

    /// Orders a list by the sorting order of the options.
    virtual void sort(CFileList& list);

    const CRunOptions& options() const { return options_; }
    /// True when an item whose name does not change is still offered (manual rename).
    bool alwaysOffer() const { return alwaysOffer_; }

    // The run, step by step. Every front end goes through these: collect a
    // selection once, then list it, or arrange it and preview or rename it.

    /// Reads the items of `paths`: one descriptor each, sorted, with its kind,
    /// and with subfolders on the contents of each folder (each folder after
    /// its own contents). Failures are reported as "Cannot access"; "Skip
    /// all" ends the reading and leaves the selection incomplete.
    CSelection Collect(const std::vector<std::string>& paths);
    /// Puts a collected selection in processing order: each folder's sorted
    /// entries kept together, or (without "Sort each subfolder separately")
    /// everything sorted at once.
    void Arrange(CSelection& selection);
    /// Computes the new name of every item of an arranged selection that the
    /// Files/Folders choice takes, into `rows` (emptied first). Renames
    /// nothing and asks nothing.
    void Preview(const CSelection& selection, CPreview& rows);
    /// Renames the items of an arranged selection, asking the prompts where a
    /// rename needs an answer. False when the user ended the run.
    bool Rename(const CSelection& selection);
    /// Writes the full path of every item of a collected selection that the
    /// Files/Folders choice takes to `listFile`, one per line (as `format`
    /// says). False when the file could not be written (reported as "Cannot
    /// access"). `written` (may be null) takes the number of paths.
    bool WriteList(const CSelection& selection, const std::string& listFile, const CListFormat& format = {},
                   size_t* written = nullptr);

    /// A whole run over `paths`: collects, then with `listFile` writes it,
    /// else arranges and renames. False when the user ended it, or the list
    /// could not be written.
    bool Run(const std::vector<std::string>& paths, const std::string* listFile = nullptr);

    /// Where the run reads and renames, and whom it asks. Default: the real
    /// file system, and prompts that skip whatever would need an answer.
    void setFileSystem(platform::IFileSystem& fs) { fs_ = &fs; }
    void setPrompts(IPrompts& prompts) { prompts_ = &prompts; }
    platform::IFileSystem& fileSystem() const { return *fs_; }
    IPrompts& prompts() const { return *prompts_; }

    /// True when the user ended the last step with "Skip all".
    bool stopped() const { return stop_; }

    /// The journal in which Rename announces each rename before trying it,
    /// and which it ends when it is done; none by default. A rename is
    /// never tried unannounced: when the journal cannot be written the
    /// run stops before its next rename.
    void setJournal(CRunJournal* journal) { journal_ = journal; }
    /// True when the last Rename stopped, or could not end its journal,
    /// because the journal could not be written.
    bool journalFailed() const { return journalFailed_; }

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
    friend class CExecuteTestAccess;  // tests that set the run's state directly
    class ItemRename;  // one item's rename and its conflicts (Run.cpp)
    struct Pending;    // an item of a batch of renames, with its new name

    bool Filtered(const CFileDescriptor& fd) const;
    /// Shows the default error dialog; its "Skip all" ends the run.
    void Report(const char* title, const char* headline, const std::string& fileName, uint32_t code);
    void ReportAccess(const std::string& path, uint32_t code);
    /// Reads the kind of each entry of `list` that `needsRead`, reporting
    /// those that cannot be read; then hands each folder to `onFolder`.
    template <typename NeedsRead, typename OnFolder>
    void ReadKinds(CFileList& list, NeedsRead needsRead, OnFolder onFolder);
    /// Adds the contents of `folder` to `out`, subfolders first and each
    /// folder after its own contents.
    void Expand(const CFileDescriptor& folder, CFileList& out);
    void Process(const CFileList& list, CPreview* rows);
    /// Renames the items of `list` batch by batch: the new names of a batch
    /// are computed and announced in the journal with one flush, then the
    /// batch is renamed.
    void RenameList(const CFileList& list);
    void RenameOne(Pending& pending);
    /// Puts the intent for the pending item's name on the disk before it is
    /// tried; false (and the run stops) when the journal cannot be written.
    bool Announce(Pending& pending);
    void JournalFailed();

    CRunOptions options_;
    bool alwaysOffer_ = false;
    platform::IFileSystem* fs_;
    IPrompts* prompts_;

    // The state of one run: "Rename all" suppresses the Confirm dialog,
    // "Skip all" stops, and "Add number and rename" counts up from its base
    // until a rename succeeds.
    bool renameAll_ = false;
    bool stop_ = false;
    int duplicateNumber_ = 1;
    std::string duplicateBase_;
    // Both paths of a rename, made in buffers kept from rename to rename.
    std::string from_, to_;
    // Without "Sort each subfolder separately" a folder may be renamed
    // before what it holds: those items then reach it under its new name.
    CFolderMoves moves_;
    CRunJournal* journal_ = nullptr;
    bool journalFailed_ = false;
};
