#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "platform/FileSystem.h"

class CStatusLine;

/// The file system of a run, counted: the items read and the renames done.
/// With a status line, a run that takes longer than a second shows how far it
/// has got, a few times a second.
class CProgressFileSystem final : public platform::CForwardingFileSystem {
public:
    using Clock = std::chrono::steady_clock;

    /// `now` reads the time (a test's own clock in tests).
    explicit CProgressFileSystem(platform::IFileSystem& inner, CStatusLine* status = nullptr,
                                 std::function<Clock::time_point()> now = Clock::now);

    int read() const { return read_; }
    int renamed() const { return renamed_; }

    uint32_t getAttributes(const std::string& path, platform::Attributes& out) override;
    uint32_t listFolderEntries(const std::string& folder,
                               const std::function<void(const std::string&, platform::EntryKind)>& each) override;
    uint32_t move(const std::string& from, const std::string& to) override;

private:
    void Tick();

    CStatusLine* status_;
    std::function<Clock::time_point()> now_;
    Clock::time_point start_;
    Clock::time_point shown_;
    unsigned calls_ = 0;
    int read_ = 0;
    int renamed_ = 0;
};
