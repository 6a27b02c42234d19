#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

/// The folders a run has renamed so far, so that items read before a rename
/// of their folder, or of a folder above it, still reach their folder under
/// its new name. Paths are given as the selection read them; the answers are
/// where those folders are now.
class CFolderMoves {
public:
    /// True while no folder was renamed: every folder is where it was read.
    bool empty() const { return names_.empty(); }

    /// The folder read as `folder` (its items share the string), as it is
    /// called now. Valid until the next call.
    const std::string& Where(const std::shared_ptr<const std::string>& folder);

    /// The folder read as `path` is now called `name`, in the same folder.
    void Renamed(const std::string& path, std::string_view name);

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };
    // The new name of each renamed folder, by the path it was read under.
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> names_;
    uint64_t generation_ = 0;
    // The last answer: the items of one folder come one after another.
    std::shared_ptr<const std::string> lastFolder_;
    uint64_t lastGeneration_ = 0;
    std::string where_;
};
