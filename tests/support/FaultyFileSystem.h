#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace testing_support {

/// A file system in front of another that records every call and fails the
/// chosen ones: the faults the real OS will not produce for a test run as
/// root (access denied, a disk that fails mid-listing).
class FaultyFileSystem final : public platform::IFileSystem {
public:
    enum Call { kGetAttributes, kListFolder, kMove, kMoveTo, kGetCurrentDirectory, kSetCurrentDirectory, kWriteFile };

    struct Record {
        Call call;
        std::string path;
        std::string target;  ///< move only
    };

    explicit FaultyFileSystem(platform::IFileSystem& inner = platform::realFileSystem()) : inner_(inner) {}

    /// `call` on `path` ("" for every path) returns `code`, `times` times (-1:
    /// always). kMove matches the source of a move, kMoveTo its target. A
    /// failed listing still returns the names the inner listing found.
    void Fail(Call call, const std::string& path, uint32_t code, int times = -1) {
        faults_.push_back({call, path, code, times});
    }

    /// Calls of `call` (kMove: moves by source; kMoveTo: by target) on `path`, or on any path.
    int Count(Call call, const std::string& path = "") const {
        int n = 0;
        for (const auto& r : calls) {
            if (r.call != (call == kMoveTo ? kMove : call)) continue;
            const std::string& p = call == kMoveTo ? r.target : r.path;
            if (path.empty() || p == path) ++n;
        }
        return n;
    }

    uint32_t getAttributes(const std::string& path, platform::Attributes& out) override {
        calls.push_back({kGetAttributes, path, {}});
        if (const uint32_t code = Fault(kGetAttributes, path)) return code;
        return inner_.getAttributes(path, out);
    }
    uint32_t listFolder(const std::string& folder, std::vector<std::string>& out) override {
        calls.push_back({kListFolder, folder, {}});
        const uint32_t code = Fault(kListFolder, folder);
        const uint32_t inner = inner_.listFolder(folder, out);
        return code ? code : inner;
    }
    uint32_t move(const std::string& from, const std::string& to) override {
        calls.push_back({kMove, from, to});
        if (const uint32_t code = Fault(kMove, from)) return code;
        if (const uint32_t code = Fault(kMoveTo, to)) return code;
        return inner_.move(from, to);
    }
    uint32_t getCurrentDirectory(std::string& out) override {
        calls.push_back({kGetCurrentDirectory, {}, {}});
        if (const uint32_t code = Fault(kGetCurrentDirectory, "")) return code;
        return inner_.getCurrentDirectory(out);
    }
    uint32_t setCurrentDirectory(const std::string& path) override {
        calls.push_back({kSetCurrentDirectory, path, {}});
        if (const uint32_t code = Fault(kSetCurrentDirectory, path)) return code;
        return inner_.setCurrentDirectory(path);
    }
    uint32_t getTimes(const std::string& path, platform::FileTimes& out) override { return inner_.getTimes(path, out); }
    std::unique_ptr<platform::IReadStream> openRead(const std::string& path, uint32_t& error) override {
        return inner_.openRead(path, error);
    }
    uint32_t writeFile(const std::string& path, const std::string& data) override {
        calls.push_back({kWriteFile, path, {}});
        if (const uint32_t code = Fault(kWriteFile, path)) return code;
        return inner_.writeFile(path, data);
    }

    std::vector<Record> calls;

private:
    struct FaultRule {
        Call call;
        std::string path;
        uint32_t code;
        int times;
    };

    uint32_t Fault(Call call, const std::string& path) {
        for (auto& f : faults_) {
            if (f.call != call || f.times == 0 || (!f.path.empty() && f.path != path)) continue;
            if (f.times > 0) --f.times;
            return f.code;
        }
        return platform::kErrorSuccess;
    }

    platform::IFileSystem& inner_;
    std::vector<FaultRule> faults_;
};

}  // namespace testing_support
