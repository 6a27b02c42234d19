#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "platform/FileSystem.h"

class CStatusLine;

/// The file system of a run, counted: the items read, the renames done and
/// the lines of a list file. With a status line, a run that takes longer
/// than a second shows how far it has got, a few times a second.
class CProgressFileSystem final : public platform::IFileSystem {
public:
    using Clock = std::chrono::steady_clock;

    /// `now` reads the time (a test's own clock in tests).
    explicit CProgressFileSystem(platform::IFileSystem& inner, CStatusLine* status = nullptr,
                                 std::function<Clock::time_point()> now = Clock::now);

    int read() const { return read_; }
    int renamed() const { return renamed_; }
    /// Paths written into list files.
    int listed() const { return listed_; }

    uint32_t getAttributes(const std::string& path, platform::Attributes& out) override;
    uint32_t listFolderEntries(const std::string& folder,
                               const std::function<void(const std::string&, platform::EntryKind)>& each) override;
    uint32_t move(const std::string& from, const std::string& to) override;
    void paused() override { inner_.paused(); }
    uint32_t getCurrentDirectory(std::string& out) override { return inner_.getCurrentDirectory(out); }
    uint32_t setCurrentDirectory(const std::string& path) override { return inner_.setCurrentDirectory(path); }
    uint32_t getTimes(const std::string& path, platform::FileTimes& out) override { return inner_.getTimes(path, out); }
    std::unique_ptr<platform::IReadStream> openRead(const std::string& path, uint32_t& error) override {
        return inner_.openRead(path, error);
    }
    uint32_t writeFile(const std::string& path, const std::string& data) override;
    std::unique_ptr<platform::IAppendStream> createAppend(const std::string& path, uint32_t& error) override {
        return inner_.createAppend(path, error);
    }
    uint32_t removeFile(const std::string& path) override { return inner_.removeFile(path); }
    uint32_t getStateFolder(std::string& out) override { return inner_.getStateFolder(out); }

private:
    void Tick();

    platform::IFileSystem& inner_;
    CStatusLine* status_;
    std::function<Clock::time_point()> now_;
    Clock::time_point start_;
    Clock::time_point shown_;
    unsigned calls_ = 0;
    int read_ = 0;
    int renamed_ = 0;
    int listed_ = 0;
};
