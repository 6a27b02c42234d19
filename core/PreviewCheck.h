#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/Selection.h"
#include "platform/NameRules.h"

namespace platform {
class IFileSystem;
}

/// True for the marks of a row that the run cannot rename as shown.
inline bool IsConflict(CRowStatus status) {
    return status != CRowStatus::kRenamed && status != CRowStatus::kUnchanged && status != CRowStatus::kLeftOut;
}

/// True for a row whose item keeps its name in the run.
inline bool KeepsName(CRowStatus status) {
    return status == CRowStatus::kUnchanged || status == CRowStatus::kLeftOut;
}

/// How many rows of a preview carry each kind of mark.
struct CPreviewCounts {
    size_t rows = 0;
    size_t renamed = 0;
    size_t unchanged = 0;
    size_t conflicts = 0;
    size_t leftOut = 0;  ///< also counted in `rows`, in no other count
};
CPreviewCounts CountRows(const CPreview& rows);

/// Foresees what a rename run will meet for each row of a preview, by going
/// through the rows in the run's order against the names of each folder: a
/// name that an earlier row left is free, a name that an earlier row took,
/// or that an item stays under, is taken. The run renames each item in its
/// own folder, so the folders are independent of each other; a folder
/// renamed before its contents changes only the length of their paths.
///
/// Linear in the items: one hash table holds every name of the selection's
/// folders under the platform's comparison, and a mark costs one lookup. The
/// folders that the selection listed (with subfolders on) are known from
/// their items; every other folder that holds items is listed once, by the
/// first mark, and kept for later marks.
class CPreviewCheck {
public:
    explicit CPreviewCheck(const platform::NameRules& rules = platform::SystemNameRules());
    ~CPreviewCheck();
    CPreviewCheck(const CPreviewCheck&) = delete;
    CPreviewCheck& operator=(const CPreviewCheck&) = delete;

    /// Learns the items of an arranged selection, which must stay as it is
    /// while the check is used; `subfolders` tells whether its folders were
    /// listed into it.
    void Prepare(const CSelection& selection, bool subfolders);
    /// Forgets the selection.
    void Clear();
    bool prepared() const { return selection_ != nullptr; }

    /// Marks every row that is not unchanged: `rows` is a preview of the
    /// prepared selection, in its order. A folder that must be listed is
    /// listed through `fs`; one that cannot be listed counts as holding only
    /// the selection's items. With `numberTaken`, a row whose name is taken
    /// gets the name that "Add number and rename" gives it, as a run that
    /// numbers every taken name without asking does. `cancelled` (may be
    /// empty) is asked now and then: once it says yes, the marks are left
    /// half done and Mark returns false.
    bool Mark(CPreview& rows, platform::IFileSystem& fs, bool numberTaken = false,
              const std::function<bool()>& cancelled = {});

    /// How often Mark listed a folder (for tests).
    int listings() const { return listings_; }

private:
    struct Folder {
        std::string_view path;
        size_t length = 0;    ///< of the path, in the rules' units
        int32_t parent = -1;  ///< the folder that holds this one as an item
        bool known = false;   ///< every name in it is in the table
        bool moved = false;   ///< renamed by the current Mark
        int64_t delta = 0;    ///< how much longer its name became, when moved
    };

    uint32_t FolderOf(const CFileDescriptor& fd);
    /// The folder of item `i`.
    uint32_t FolderAt(size_t i) const { return itemFolder_[i] & 0x7FFFFFFFu; }
    uint64_t Hash(uint32_t folder, std::string_view name, std::string& key) const;
    void Insert(uint64_t hash, uint32_t ref);
    /// Makes room for `entries` names, hashing those in the table again
    /// when it grows.
    void Reserve(size_t entries);
    void Rebuild();
    void List(uint32_t folder, platform::IFileSystem& fs);
    /// The length of `folder`'s path once the folders renamed so far by
    /// the current Mark have their new names.
    size_t LengthNow(uint32_t folder) const;
    /// Checks and hashes the new names of rows [start, end), asking for
    /// their slots; returns where it stopped: `end`, or the first row that
    /// is no item of the selection. `item` walks the items alongside.
    size_t CheckBatch(CPreview& rows, size_t start, size_t end, size_t& item);
    /// Marks the rows of a checked batch against the table.
    void LookUpBatch(CPreview& rows, size_t start, size_t end, bool numberTaken);
    /// Takes the new names out of the table again.
    void ForgetNewNames();
    /// Gives a row whose name is taken the first numbered name that is free,
    /// as "Add number and rename" does, and marks it.
    CRowStatus Number(CPreview& rows, uint32_t row, uint32_t item, uint32_t folder);
    void MapRest(const CPreview& rows);
    CRowStatus Meet(const CPreview& rows, uint32_t row, uint32_t item, uint32_t folder, uint64_t hash,
                    std::string_view key);
    bool SameKey(uint32_t ref, uint32_t folder, std::string_view key, const CPreview& rows);
    std::string_view NameOf(uint32_t ref, const CPreview& rows) const;
    uint32_t FolderOfRef(uint32_t ref) const;

    platform::NameRules rules_;
    /// The rules are POSIX's: the name is its own key, checked as it is hashed.
    bool posix_ = false;
    const CSelection* selection_ = nullptr;
    std::vector<const CFileDescriptor*> items_;  ///< in processing order
    std::vector<uint32_t> itemFolder_;
    // The folder each folder item is, where it holds items of the
    // selection: few items are.
    std::unordered_map<uint32_t, uint32_t> itemSelf_;
    std::vector<Folder> folders_;
    std::unordered_map<std::string_view, uint32_t> folderIndex_;
    bool allKnown_ = false;
    const std::string* lastFolder_ = nullptr;
    uint32_t lastFolderIndex_ = 0;

    // Names that only a listing told: folder, and the range in outsideText_.
    struct Outside {
        uint32_t folder;
        uint32_t offset;
        uint32_t size;
    };
    std::vector<Outside> outside_;
    std::string outsideText_;

    // Open addressing in two arrays: a byte per slot that tells a free slot
    // from a taken one and most names apart (small enough to stay near the
    // processor), and what each taken slot holds, read only when the bytes
    // match: an item, an outside name, or a row's new name.
    struct Ref {
        uint32_t ref = 0;
        uint32_t check = 0;  ///< more bits of the name's hash
    };
    std::vector<uint8_t> tags_;
    std::vector<Ref> refs_;
    size_t slots_ = 0;
    /// The slot where the lookup of `hash` starts: the low half of the hash
    /// scaled to the table, which may have any size below 2^32.
    size_t Slot(uint64_t hash) const { return (static_cast<uint64_t>(static_cast<uint32_t>(hash)) * slots_) >> 32; }
    size_t Next(size_t at) const { return ++at == slots_ ? 0 : at; }
    uint64_t seed_;

    // Kept from mark to mark for their capacity.
    std::vector<int32_t> itemRow_;
    std::vector<uint32_t> rowItem_;
    size_t mapped_ = 0;   ///< items whose row itemRow_ holds for the current mark
    size_t nextRow_ = 0;  ///< the first row not mapped to its item yet
    std::string key_, otherKey_;
    // A batch of rows: hashed and asked for before any is looked up.
    static constexpr size_t kBatch = 16;
    uint64_t hashes_[kBatch];
    size_t lengths_[kBatch];
    bool lookup_[kBatch];
    std::vector<std::string> batchKeys_;
    bool anyMoved_ = false;  ///< a folder holding items was renamed by this mark
    int listings_ = 0;
};
