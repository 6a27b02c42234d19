#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/FileDescriptor.h"
#include "platform/NameRules.h"

/// A path given to a run: an item, or a folder whose contents are the items
/// while it is never renamed itself (a command line's ".").
struct CGivenPath {
    std::string path;
    bool contentsOnly = false;
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
    friend class CRenameRun;
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
    /// Left out of the run by the person (a check box cleared): the name
    /// stays, and the item uses up no number.
    kLeftOut,
};

/// One row of a preview: an item of the selection previewed, the name it
/// would get and what the run will meet. The item belongs to the selection,
/// which must outlive the row.
struct CPreviewRow {
    const CFileDescriptor* item = nullptr;
    std::string newName;
    CRowStatus status = CRowStatus::kRenamed;
    /// The item's place among those the source named, as CNameContext
    /// counts it: what its name can be computed again from alone.
    uint32_t position = 0;
};
using CPreview = std::vector<CPreviewRow>;
