#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct CPictureInfo;

/// One file or folder of a rename call, with its name split into the part that
/// the "Change:" scope exposes to an operation and the rest, which is kept.
class CFileDescriptor {
public:
    /// The "Change:" scopes, in the order of the combo.
    enum Scope { kEntireName = 0, kNameOnly = 1, kExtensionWithDot = 2, kExtensionOnly = 3 };

    /// From a full path: split at the last path separator. A path without one
    /// is all folder, with an empty name.
    CFileDescriptor(const std::string& path, int scope);
    /// From folder and name: path = folder + separator + name.
    CFileDescriptor(const std::string& folder, const std::string& name, int scope);
    /// The same with a folder path that the entries of one folder share: a
    /// selection can hold millions of items.
    CFileDescriptor(std::shared_ptr<const std::string> folder, std::string_view name, int scope);
    /// Copies everything but the picture cache, which the copy reads afresh.
    CFileDescriptor(const CFileDescriptor& other);
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    ~CFileDescriptor();

    /// The same item seen through `scope`: its part taken afresh from its
    /// name, its kind kept.
    std::unique_ptr<CFileDescriptor> Rescoped(int scope) const;

    /// New name; the path follows, part and start are left as they were.
    void SetName(const std::string& name);
    /// New part: the scope range of the current name is replaced by `part`.
    void SetPart(const std::string& part);

    const std::string& folder() const { return *folder_; }
    const std::shared_ptr<const std::string>& sharedFolder() const { return folder_; }
    const std::string& path() const;
    /// The full path into `out`, without keeping it in the descriptor: what a
    /// run needs for one rename of millions.
    void CopyPathTo(std::string& out) const;
    const std::string& name() const { return name_; }
    const std::string& part() const { return part_ ? *part_ : name_; }
    /// Byte offset of the part in the name.
    int start() const { return start_; }
    int scope() const { return scope_; }
    /// A folder, or a link to one: what the Files/Folders choice sees.
    bool isFolder() const { return kind_ != kFile; }
    /// A folder that a run may enter; a link to a folder is never entered.
    bool isEnterable() const { return kind_ == kFolder; }
    void SetIsFolder(bool folder) { kind_ = folder ? kFolder : kFile; }
    void SetIsFolderLink() { kind_ = kFolderLink; }
    /// Its kind could not be read: it stays in a list file, but is neither
    /// previewed nor renamed, since the failure was reported already.
    bool isUnreadable() const { return unreadable_; }
    void SetUnreadable() { unreadable_ = true; }

    /// Byte range [start, start + length) of the scope in `name`.
    static void ScopeRange(const std::string& name, int scope, int& start, int& length);

    /// The picture-date cache, created on first use by the picture reader.
    /// Filling a cache is no change to the descriptor, so const ones have it too.
    std::unique_ptr<CPictureInfo>& pictureInfo() const { return pictureInfo_; }

private:
    void ComputePart();

    // A selection can hold millions of items, so a descriptor keeps little:
    // the entries of one folder share its path, the full path is made when
    // first asked for, and the part of the entire-name scope is the name.
    std::shared_ptr<const std::string> folder_;
    mutable std::string path_;
    std::string name_;
    std::unique_ptr<std::string> part_;  ///< null while the part is the whole name
    mutable std::unique_ptr<CPictureInfo> pictureInfo_;
    int start_ = 0;
    int scope_ = 0;
    enum Kind : uint8_t { kFile, kFolder, kFolderLink };
    Kind kind_ = kFile;
    bool unreadable_ = false;
    mutable bool havePath_ = false;
};

/// The ordered descriptor list of a run. Owning pointers so that sorting
/// moves pointers, never whole descriptors.
using CFileList = std::vector<std::unique_ptr<CFileDescriptor>>;

/// Empties `list`, freeing its descriptors in the order they lie in memory:
/// after sorting, freeing them in list order scatters the allocator's work
/// over the whole heap, which for a million items takes longer than listing.
void ReleaseFileList(CFileList& list);

/// Puts `list` in the order its descriptors lie in memory.
void SortByAddress(CFileList& list);
