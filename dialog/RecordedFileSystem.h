#pragma once

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"

/// A file system in front of another that gives, for each path, the answer
/// the inner one gave the first time it was asked: attributes, listings and
/// times. The preview reads a selection through it, so that a new order, scope
/// or action lists the same items again without touching the disk. Renames,
/// the current directory, file contents, writes and the run journal's calls
/// go to the inner one.
class CRecordedFileSystem final : public platform::CForwardingFileSystem {
public:
    explicit CRecordedFileSystem(platform::IFileSystem& inner) : CForwardingFileSystem(inner) {}

    /// Forgets every answer and asks `inner` from now on.
    void Reset(platform::IFileSystem& inner);
    /// True when the last attributes, listing or times call was answered from
    /// what was recorded, so that a failure in it was reported before.
    bool replayed() const { return replayed_; }

    uint32_t GetAttributes(const std::string& path, platform::Attributes& out) override;
    uint32_t ListFolderEntries(const std::string& folder,
                               const std::function<void(const std::string&, platform::EntryKind)>& each) override;
    uint32_t GetTimes(const std::string& path, platform::FileTimes& out) override;

private:
    std::unordered_map<std::string, std::pair<uint32_t, platform::Attributes>> attributes_;
    // A listing kept whole for a large folder: each name ends with a NUL
    // (no file name holds one) and its kind is one byte, about a quarter of
    // what a string per entry would take.
    struct Listing {
        uint32_t code = 0;
        std::string names;
        std::string kinds;
    };
    std::unordered_map<std::string, Listing> entries_;
    std::unordered_map<std::string, std::pair<uint32_t, platform::FileTimes>> times_;
    bool replayed_ = false;
};
