#include "core/PreviewCheck.h"

#include <algorithm>
#include <cstring>
#include <random>

#include "core/PreviewHash.h"
#include "platform/FileSystem.h"

using namespace preview_hash;

CPreviewCounts CountRows(const CPreview& rows) {
    CPreviewCounts counts;
    counts.rows = rows.size();
    for (const auto& row : rows) {
        if (row.status == CRowStatus::kRenamed)
            ++counts.renamed;
        else if (row.status == CRowStatus::kUnchanged)
            ++counts.unchanged;
        else if (row.status == CRowStatus::kLeftOut)
            ++counts.leftOut;
        else
            ++counts.conflicts;
    }
    return counts;
}

CPreviewCheck::CPreviewCheck(const platform::NameRules& rules)
    : rules_(rules), posix_(!rules.ignoreCase && !rules.utf16 && rules.check == &platform::CheckPosixFileName) {
    // Drawn once per check, so that no set of names chosen in advance can
    // make every lookup walk the whole table.
    std::random_device device;
    seed_ = (static_cast<uint64_t>(device()) << 32) ^ device();
}

CPreviewCheck::~CPreviewCheck() = default;

void CPreviewCheck::Clear() {
    selection_ = nullptr;
    items_.clear();
    itemFolder_.clear();
    itemSelf_.clear();
    folders_.clear();
    folderIndex_.clear();
    allKnown_ = false;
    lastFolder_ = nullptr;
    outside_.clear();
    outsideText_.clear();
    tags_.clear();
    refs_.clear();
    slots_ = 0;
}

uint32_t CPreviewCheck::FolderOf(const CFileDescriptor& fd) {
    // The items of one listing share their folder's string: most lookups
    // end here.
    const std::string* path = &fd.folder();
    if (path == lastFolder_) return lastFolderIndex_;
    const auto [it, added] = folderIndex_.try_emplace(std::string_view(*path), static_cast<uint32_t>(folders_.size()));
    if (added) {
        Folder folder;
        folder.path = *path;
        folder.length = rules_.length(*path);
        folders_.push_back(folder);
    }
    lastFolder_ = path;
    lastFolderIndex_ = it->second;
    return it->second;
}

uint64_t CPreviewCheck::Hash(uint32_t folder, std::string_view name, std::string& key) const {
    const uint64_t start = FolderSeed(seed_, folder);
    if (!rules_.ignoreCase) return HashBytes(name, start);
    key.clear();
    rules_.AppendKey(name, key);
    return HashBytes(key, start);
}

void CPreviewCheck::Insert(uint64_t hash, uint32_t ref) {
    size_t at = Slot(hash);
    while (tags_[at] != 0) at = Next(at);
    tags_[at] = TagOf(hash) | ((ref & kRowFlag) ? kRowTag : 0);
    refs_[at] = {ref, CheckOf(hash)};
}

void CPreviewCheck::Reserve(size_t entries) {
    // At most four fifths full: a lookup of a free name, the common case,
    // then reads a few bytes of one cache line, and the tags stay small
    // enough to stay near the processor.
    if (!tags_.empty() && entries * 5 <= tags_.size() * 4) return;
    // Any size, not a power of two: at a million items a power of two
    // would take up to twice the memory. A multiple of eight, for the sweep.
    const size_t size = std::max<size_t>(64, (entries * 5 / 4 + 8) & ~size_t{7});
    tags_.assign(size, 0);
    refs_.assign(size, Ref{});
    slots_ = size;
    Rebuild();
}

void CPreviewCheck::Rebuild() {
    std::fill(tags_.begin(), tags_.end(), 0);
    for (uint32_t i = 0; i < items_.size(); ++i) Insert(Hash(FolderAt(i), items_[i]->name(), key_), i);
    const uint32_t base = static_cast<uint32_t>(items_.size());
    for (uint32_t k = 0; k < outside_.size(); ++k) {
        const Outside& o = outside_[k];
        Insert(Hash(o.folder, std::string_view(outsideText_).substr(o.offset, o.size), key_), base + k);
    }
}

void CPreviewCheck::Prepare(const CSelection& selection, bool subfolders) {
    Clear();
    selection_ = &selection;
    const size_t n = selection.size();
    items_.reserve(n);
    itemFolder_.reserve(n);
    // Room for a new name per item as well; the items go in as they come.
    Reserve(2 * n);
    std::vector<uint32_t> enterable;
    // One pass over the descriptors, in batches: the names of a batch are
    // hashed and their slots asked for before any goes in, so that the
    // waits for the table overlap.
    uint64_t hashes[kBatch];
    for (const auto& list : selection.lists()) {
        for (size_t start = 0; start < list.size(); start += kBatch) {
            const size_t end = std::min(list.size(), start + kBatch);
            for (size_t k = start; k < end; ++k) {
#if defined(__GNUC__)
                // Descriptors sorted by anything but name lie scattered.
                if (k + kBatch < list.size()) __builtin_prefetch(list[k + kBatch].get());
#endif
                const CFileDescriptor& fd = *list[k];
                const uint32_t folder = FolderOf(fd);
                if (fd.isEnterable()) enterable.push_back(static_cast<uint32_t>(items_.size()));
                hashes[k - start] = Hash(folder, fd.name(), key_);
#if defined(__GNUC__)
                __builtin_prefetch(&tags_[Slot(hashes[k - start])], 1);
                __builtin_prefetch(&refs_[Slot(hashes[k - start])], 1);
#endif
                items_.push_back(&fd);
                itemFolder_.push_back(folder);
            }
            const uint32_t first = static_cast<uint32_t>(items_.size() - (end - start));
            for (size_t k = start; k < end; ++k) Insert(hashes[k - start], first + static_cast<uint32_t>(k - start));
        }
    }
    // A folder item whose folder holds items: with subfolders on the
    // selection listed it, so every name in it is an item; and renaming it
    // takes the paths of those items away.
    std::string path;
    for (const uint32_t i : enterable) {
        items_[i]->CopyPathTo(path);
        const auto it = folderIndex_.find(path);
        if (it == folderIndex_.end()) continue;
        itemSelf_[i] = it->second;
        itemFolder_[i] |= kSelfFlag;
        Folder& folder = folders_[it->second];
        folder.parent = static_cast<int32_t>(FolderAt(i));
        if (subfolders) folder.known = true;
    }
}

void CPreviewCheck::List(uint32_t folder, platform::IFileSystem& fs) {
    Folder& f = folders_[folder];
    f.known = true;
    ++listings_;
    const std::string path(f.path);
    const uint32_t base = static_cast<uint32_t>(items_.size());
    fs.ListFolderEntries(path, [&](const std::string& name, platform::EntryKind) {
        // An item of the selection is in the table already, under its own
        // spelling; any other name is held by something outside it.
        const uint64_t hash = Hash(folder, name, key_);
        const uint8_t tag = TagOf(hash);
        for (size_t at = Slot(hash); tags_[at] != 0; at = Next(at)) {
            const uint32_t ref = refs_[at].ref;
            if ((tags_[at] & ~kRowTag) == tag && refs_[at].check == CheckOf(hash) && ref < base &&
                FolderAt(ref) == folder && items_[ref]->name() == name)
                return;
        }
        outside_.push_back({folder, static_cast<uint32_t>(outsideText_.size()), static_cast<uint32_t>(name.size())});
        outsideText_ += name;
        if ((items_.size() + outside_.size()) * 5 > tags_.size() * 4)
            Reserve(2 * (items_.size() + outside_.size()));
        else
            Insert(hash, base + static_cast<uint32_t>(outside_.size() - 1));
    });
}

std::string_view CPreviewCheck::NameOf(uint32_t ref, const CPreview& rows) const {
    if (ref & kRowFlag) return rows[ref & ~kRowFlag].newName;
    if (ref < items_.size()) return items_[ref]->name();
    const Outside& o = outside_[ref - items_.size()];
    return std::string_view(outsideText_).substr(o.offset, o.size);
}

uint32_t CPreviewCheck::FolderOfRef(uint32_t ref) const {
    if (ref & kRowFlag) return FolderAt(rowItem_[ref & ~kRowFlag]);
    if (ref < items_.size()) return FolderAt(ref);
    return outside_[ref - items_.size()].folder;
}

bool CPreviewCheck::SameKey(uint32_t ref, uint32_t folder, std::string_view key, const CPreview& rows) {
    if (FolderOfRef(ref) != folder) return false;
    const std::string_view name = NameOf(ref, rows);
    if (!rules_.ignoreCase) return name == key;
    otherKey_.clear();
    rules_.AppendKey(name, otherKey_);
    return otherKey_ == key;
}

size_t CPreviewCheck::LengthNow(uint32_t folder) const {
    int64_t length = static_cast<int64_t>(folders_[folder].length);
    for (int32_t f = static_cast<int32_t>(folder); f >= 0; f = folders_[f].parent)
        if (folders_[f].moved) length += folders_[f].delta;
    return static_cast<size_t>(std::max<int64_t>(length, 0));
}

// Which row each item after `item` is, for a lookup that met one of them
// before the mark got there.
void CPreviewCheck::MapRest(const CPreview& rows) {
    size_t r = nextRow_;
    for (size_t i = mapped_; i < items_.size(); ++i) {
        if (r < rows.size() && rows[r].item == items_[i])
            itemRow_[i] = static_cast<int32_t>(r++);
        else
            itemRow_[i] = -1;
    }
    mapped_ = items_.size();
    nextRow_ = rows.size();
}

CRowStatus CPreviewCheck::Meet(const CPreview& rows, uint32_t row, uint32_t item, uint32_t folder, uint64_t hash,
                               std::string_view key) {
    const uint8_t tag = TagOf(hash);
    const uint32_t check = CheckOf(hash);
    const uint32_t items = static_cast<uint32_t>(items_.size());
    bool duplicate = false, exists = false;
    size_t at = Slot(hash);
    for (; tags_[at] != 0; at = Next(at)) {
        if ((tags_[at] & ~kRowTag) != tag || refs_[at].check != check) continue;
        const uint32_t ref = refs_[at].ref;
        if (ref == item || !SameKey(ref, folder, key, rows)) continue;
        if (ref & kRowFlag) {
            duplicate = true;  // an earlier row took the name
        } else if (ref < items) {
            // An item keeps its name unless it is a row that was renamed
            // before this one; an item without a row is never renamed.
            if (ref >= mapped_) MapRest(rows);
            const int32_t holder = itemRow_[ref];
            if (holder < 0)
                exists = true;
            else if (static_cast<uint32_t>(holder) > row || rows[holder].status != CRowStatus::kRenamed)
                duplicate = true;
        } else {
            exists = true;
        }
    }
    if (exists) return CRowStatus::kExists;
    if (duplicate) return CRowStatus::kDuplicate;
    tags_[at] = tag | kRowTag;
    refs_[at] = {row | kRowFlag, check};
    return CRowStatus::kRenamed;
}

CRowStatus CPreviewCheck::Number(CPreview& rows, uint32_t row, uint32_t item, uint32_t folder) {
    // As the run numbers: the scope's part of the computed name, then 1, 2,
    // ... until a name is free; a name that cannot be used is not numbered on.
    constexpr int kNumbersTried = 100000;
    CPreviewRow& r = rows[row];
    const std::string computed = r.newName;
    int start = 0, length = 0;
    CFileDescriptor::ScopeRange(computed, items_[item]->scope(), start, length);
    const size_t cut = static_cast<size_t>(start) + static_cast<size_t>(length);
    for (int n = 1; n <= kNumbersTried; ++n) {
        r.newName = computed.substr(0, cut) + std::to_string(n) + computed.substr(cut);
        if (rules_.check(r.newName) != platform::kErrorSuccess) return CRowStatus::kInvalidName;
        const size_t nameLength = rules_.length(r.newName);
        if (nameLength > rules_.maxName || LengthNow(folder) + 1 + nameLength > rules_.maxPath)
            return CRowStatus::kTooLong;
        const uint64_t hash = Hash(folder, r.newName, key_);
        const std::string key = rules_.ignoreCase ? key_ : r.newName;
        if (Meet(rows, row, item, folder, hash, key) == CRowStatus::kRenamed) return CRowStatus::kRenamed;
    }
    r.newName = computed;
    return CRowStatus::kDuplicate;
}

bool CPreviewCheck::Mark(CPreview& rows, platform::IFileSystem& fs, bool numberTaken,
                         const std::function<bool()>& cancelled) {
    if (!selection_ || rows.empty()) return true;
    // Every folder of the selection that it did not list, once: its other
    // names may stand in the way of a new one.
    if (!allKnown_) {
        for (uint32_t f = 0; f < folders_.size(); ++f)
            if (!folders_[f].known) List(f, fs);
        allKnown_ = true;
    }
    Reserve(items_.size() + outside_.size() + rows.size());
    itemRow_.resize(items_.size());
    rowItem_.resize(rows.size());
    mapped_ = 0;
    nextRow_ = 0;
    anyMoved_ = false;
    if (rules_.ignoreCase) batchKeys_.resize(kBatch);

    // The rows are a preview of the items, in order: the walk through them
    // learns which item each row is as it goes. In batches: the new names
    // of a batch are checked and hashed, and their slots asked for, before
    // any is looked up, so that the waits for the table overlap.
    size_t item = 0;
    bool whole = true;
    constexpr size_t kBatchesPerAsk = 64;
    for (size_t start = 0; start < rows.size(); start += kBatch) {
        if (cancelled && (start / kBatch) % kBatchesPerAsk == 0 && cancelled()) {
            whole = false;
            break;
        }
        const size_t end = std::min(rows.size(), start + kBatch);
        const size_t checked = CheckBatch(rows, start, end, item);
        LookUpBatch(rows, start, checked, numberTaken);
        if (checked < end) break;  // not a preview of this selection: nothing more can be told
    }
    ForgetNewNames();
    return whole;
}

size_t CPreviewCheck::CheckBatch(CPreview& rows, size_t start, size_t end, size_t& i) {
    for (size_t r = start; r < end; ++r) {
        CPreviewRow& row = rows[r];
        lookup_[r - start] = false;
        while (i < items_.size() && items_[i] != row.item) {
            if (i >= mapped_) itemRow_[i] = -1;
            ++i;
        }
        if (i == items_.size()) return r;
        if (i >= mapped_) {
            itemRow_[i] = static_cast<int32_t>(r);
            mapped_ = i + 1;
            nextRow_ = r + 1;
        }
        const uint32_t item = static_cast<uint32_t>(i++);
        rowItem_[r] = item;
        if (KeepsName(row.status)) continue;
        const uint32_t folder = FolderAt(item);
        const std::string& name = row.newName;
        uint64_t hash = 0;
        size_t length;
        bool bad = false;
        if (posix_) {
            hash = HashBytes(name, FolderSeed(seed_, folder), &bad);
            length = name.size();
            bad = bad || length == 0 || (length <= 2 && name[0] == '.' && (length == 1 || name[1] == '.'));
        } else {
            bad = rules_.check(name) != platform::kErrorSuccess;
            length = rules_.length(name);
            if (!bad) {
                hash = Hash(folder, name, key_);
                batchKeys_[r - start].swap(key_);
            }
        }
        if (bad) {
            row.status = CRowStatus::kInvalidName;
            continue;
        }
        if (length > rules_.maxName) {
            row.status = CRowStatus::kTooLong;
            continue;
        }
        hashes_[r - start] = hash;
        lengths_[r - start] = length;
        lookup_[r - start] = true;
#if defined(__GNUC__)
        __builtin_prefetch(&tags_[Slot(hash)]);
        __builtin_prefetch(&refs_[Slot(hash)], 1);
#endif
    }
    return end;
}

void CPreviewCheck::LookUpBatch(CPreview& rows, size_t start, size_t end, bool numberTaken) {
    for (size_t r = start; r < end; ++r) {
        if (!lookup_[r - start]) continue;
        CPreviewRow& row = rows[r];
        const uint32_t item = rowItem_[r];
        const uint32_t folder = FolderAt(item);
        // A folder renamed earlier in the run is reached under its new
        // name, which may make the path longer or shorter.
        const size_t folderLength = anyMoved_ ? LengthNow(folder) : folders_[folder].length;
        if (folderLength + 1 + lengths_[r - start] > rules_.maxPath) {
            row.status = CRowStatus::kTooLong;
            continue;
        }
        const std::string_view key =
            rules_.ignoreCase ? std::string_view(batchKeys_[r - start]) : std::string_view(row.newName);
        // Most new names meet no name of their tag: they are free, and
        // take the slot where the lookup ended.
        const uint64_t hash = hashes_[r - start];
        const uint8_t tag = TagOf(hash);
        size_t at = Slot(hash);
        while (tags_[at] != 0 && (tags_[at] & ~kRowTag) != tag) at = Next(at);
        if (tags_[at] == 0) {
            tags_[at] = tag | kRowTag;
            refs_[at] = {static_cast<uint32_t>(r) | kRowFlag, CheckOf(hash)};
            row.status = CRowStatus::kRenamed;
        } else {
            row.status = Meet(rows, static_cast<uint32_t>(r), item, folder, hash, key);
            if (numberTaken && (row.status == CRowStatus::kDuplicate || row.status == CRowStatus::kExists))
                row.status = Number(rows, static_cast<uint32_t>(r), item, folder);
        }
        if (row.status == CRowStatus::kRenamed && (itemFolder_[item] & kSelfFlag)) {
            const auto self = itemSelf_.find(item);
            if (self != itemSelf_.end()) {
                Folder& moved = folders_[self->second];
                moved.moved = true;
                moved.delta = static_cast<int64_t>(rules_.length(row.newName)) -
                              static_cast<int64_t>(rules_.length(items_[item]->name()));
                anyMoved_ = true;
            }
        }
    }
}

// Back to the names of the selection alone. The new names took the first
// free slots, after every name of the selection, so emptying them leaves
// every other lookup as it was.
void CPreviewCheck::ForgetNewNames() {
    // Eight tags at a time: each byte with its high bit set becomes zero.
    for (size_t at = 0; at + 8 <= tags_.size(); at += 8) {
        uint64_t w;
        std::memcpy(&w, tags_.data() + at, 8);
        w &= ~(((w & kHighs) >> 7) * 0xFF);
        std::memcpy(tags_.data() + at, &w, 8);
    }
    if (anyMoved_)
        for (auto& folder : folders_) {
            folder.moved = false;
            folder.delta = 0;
        }
}
