#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {
class IFileSystem;
class IAppendStream;
}  // namespace platform

/// The journals kept in the state folder: the last this many runs, and
/// apart from them the last this many undos. A journal of a run still going,
/// or cut short and never taken back, is kept whatever its age.
inline constexpr size_t kJournalsKept = 20;

/// How many renames are announced with one flush of the journal: few at
/// first, so that the first renames come at once, then twice as many each
/// time. The flushes of a large run cost little beside its renames; the
/// more renames a flush announces, the more an undo after a crash has to
/// look up on the disk.
inline constexpr size_t kJournalFirstBatch = 64;
inline constexpr size_t kJournalLargestBatch = 16384;

/// What a journal says of its run as a whole.
struct CJournalHeader {
    enum Kind : uint8_t { kRun = 0, kUndo = 1 };
    Kind kind = kRun;
    /// When the run started: seconds since 1970-01-01 UTC.
    int64_t time = 0;
    /// The action of a run; for an undo, what the run it took back was
    /// ("\"Add to beginning\"", "undo of \"Add to beginning\"").
    std::string what;
    /// The item or folder the run worked on.
    std::string where;
    /// For an undo: the file name of the journal of the run it took back.
    std::string undone;
};

/// The journal of one rename run, written as the run goes. The run appends
/// the intent of each rename, then has it put on the disk before the rename
/// is tried; the intents of many renames go to the disk with one flush. The
/// file itself is made in the journal folder when the first intent is put on
/// the disk, so that a run that renames nothing leaves no journal.
///
/// Once a write fails the journal is failed for good: nothing is appended
/// after a record that may be cut short, and the run renames nothing more.
class CRunJournal {
public:
    /// A journal for a run described by `header`, to be made in `folder`
    /// (empty: the file system's state folder) through `fs`.
    CRunJournal(platform::IFileSystem& fs, std::string folder, CJournalHeader header);
    ~CRunJournal();
    CRunJournal(const CRunJournal&) = delete;
    CRunJournal& operator=(const CRunJournal&) = delete;

    /// The number of the next item of the run, in the order the run takes
    /// them: an undo takes them back in the reverse order.
    uint32_t Reserve() { return nextItem_++; }
    /// Appends the intent to rename `oldName` in `folder` to `newName` for
    /// item `item`. It is on the disk after the next Secure.
    void Intend(uint32_t item, const std::string& folder, std::string_view oldName, std::string_view newName,
                bool isFolder);
    /// Puts every intent appended so far on the disk, making the journal
    /// first if need be. Does nothing when no intent waits. False when the
    /// journal cannot be written: nothing may be renamed any more.
    bool Secure();
    /// Item `item` ended with its name as it was (`code`: why; 0 when it was
    /// skipped). Recorded with the next flush.
    void NotDone(uint32_t item, uint32_t code);
    /// Every item up to `item` has ended. Recorded with the next flush.
    void Settled(uint32_t item);
    /// The run is over (`stopped`: before its last item): the journal is
    /// completed and flushed. False when it could not be. A journal whose
    /// every announced rename ended undone is removed instead: it has nothing
    /// to take back, and must not stand in front of a run that has.
    bool End(bool stopped);

    /// True once a write failed.
    bool failed() const { return error_ != 0; }
    /// The system error code of the failure.
    uint32_t error() const { return error_; }
    /// The journal's full path once it is made; the folder meant for it
    /// when it could not be made; empty before either.
    const std::string& path() const { return path_; }
    /// True once the file was made.
    bool made() const { return stream_ != nullptr || wrote_; }

private:
    bool Make();
    bool Write();
    /// Removes the oldest of the journals `older` (newest first) beyond
    /// those kept.
    void Prune(const std::vector<std::string>& older);
    uint32_t FolderId(const std::string& folder);

    platform::IFileSystem& fs_;
    std::string folder_;
    std::string path_;
    std::unique_ptr<platform::IAppendStream> stream_;
    std::string pending_;  ///< records not yet written
    bool intentsWaiting_ = false;
    bool wrote_ = false;
    bool ended_ = false;
    uint32_t error_ = 0;
    uint32_t nextItem_ = 0;
    CJournalHeader::Kind kind_;
    // Whether any announced rename may have been done: the items that got
    // an intent, and those of them that ended undone.
    int64_t lastIntended_ = -1;
    uint64_t intended_ = 0;
    uint64_t notDone_ = 0;
    int64_t settled_ = -1;          ///< the last item known to have ended
    int64_t settledWritten_ = -1;   ///< the last one recorded as such
    std::unordered_map<std::string, uint32_t> folderIds_;
    const std::string* lastFolder_ = nullptr;
    uint32_t lastFolderId_ = 0;
};

/// What a journal says of one item, in the end.
enum class CItemState : uint8_t {
    kRenamed,     ///< it was renamed to its new name
    kNotRenamed,  ///< it kept its old name
    kUnsure,      ///< the run was cut short after the rename was announced:
                  ///< only the disk can tell
};

/// One item of a journal, with the last name the run tried for it.
struct CJournalItem {
    uint32_t index = 0;   ///< its place in the run's order
    uint32_t folder = 0;  ///< into CJournalRun::folders
    bool isFolder = false;
    CItemState state = CItemState::kUnsure;
    std::string oldName;
    std::string newName;
};

/// A journal as far as it could be read.
struct CJournalRun {
    std::string path;  ///< the journal file
    CJournalHeader header;
    std::vector<std::string> folders;
    /// In the order of the run. Empty when read without items.
    std::vector<CJournalItem> items;
    /// Items that were renamed, and items that may have been.
    size_t renamed = 0;
    size_t unsure = 0;
    /// The run's end was recorded: it finished, or stopped by itself.
    bool ended = false;
    bool stopped = false;
    /// The file starts as a journal does and has its begin record.
    bool readable = false;
    /// Every byte was read as whole, sound records; false for a journal cut
    /// short or damaged, which is trusted as far as it is whole.
    bool whole = false;
    /// Why the journal is not trusted at all, and what to do about it: it is
    /// another user's or others may write to it, it is no regular file, or
    /// it names a folder that is no full path or lies outside the place it
    /// says it ran in. Empty for a journal that may be taken back.
    std::string refusal;

    /// The full path of `item` under its old name and under its new one.
    std::string OldPath(const CJournalItem& item) const;
    std::string NewPath(const CJournalItem& item) const;
};

/// The local time of `time` as "2024-05-01 12:00:03".
std::string JournalTimeText(int64_t time);

/// What a run was, for a person: "Add to beginning" in /home/u/pics, started
/// 2024-05-01 12:00:03; an undo reads "undo of ...".
std::string JournalRunText(const CJournalRun& run);

/// Reads the journal in `data` (the whole file) into `run`, without its
/// items when `withItems` is false (counts only).
void ParseJournal(std::string_view data, CJournalRun& run, bool withItems = true);

/// Reads the journal file `path` through `fs`. 0, or the code of a file that
/// cannot be read (gone since it was listed, say); a damaged file is no
/// error, it is read as far as it is whole, and one that is not trusted has
/// its `refusal`.
[[nodiscard]] uint32_t ReadJournal(platform::IFileSystem& fs, const std::string& path, CJournalRun& run, bool withItems = true);

/// What to say of a private file refused with `code` (kErrorNotOwner and
/// its kin), and what to do about it; empty for any other code.
std::string PrivateRefusal(uint32_t code);

/// The folder of the journals: `folder` when given, else the state folder.
[[nodiscard]] uint32_t JournalFolder(const std::string& folder, std::string& out);

/// The journal files of `folder`, newest first, as full paths.
[[nodiscard]] uint32_t ListJournals(platform::IFileSystem& fs, const std::string& folder, std::vector<std::string>& out);
