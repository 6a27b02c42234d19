#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace testing_support {

/// Renames `from` to `to`, two full paths in one folder, through `fs`.
inline uint32_t MoveByPaths(platform::IFileSystem& fs, const std::string& from, const std::string& to) {
    const auto sep = from.find_last_of(platform::kPathSeparator);
    return fs.Move(from.substr(0, sep), from.substr(sep + 1), to.substr(to.find_last_of(platform::kPathSeparator) + 1));
}

/// The names of `folder`'s entries, appended to `out`, as a listing gives them.
inline uint32_t ListNames(platform::IFileSystem& fs, const std::string& folder, std::vector<std::string>& out) {
    return fs.ListFolderEntries(folder, [&](const std::string& name, platform::EntryKind) { out.push_back(name); });
}

/// A file system in front of another that forwards every call, records it,
/// and fails the chosen ones: the faults the real OS will not produce for a
/// test run as root (access denied, a disk that fails mid-listing). Since it
/// forwards every call as it is, code under test takes the production path.
class FaultyFileSystem final : public platform::IFileSystem {
public:
    enum Call {
        kGetAttributes,
        kListFolder,
        kMove,
        kMoveTo,  ///< Fail and Count only: a move, matched by its target
        kPaused,
        kGetCurrentDirectory,
        kSetCurrentDirectory,
        kGetTimes,
        kOpenRead,
        kWriteFile,
        kGetIdentity,
        kOpenPrivate,
        kCreateAppend,
        kAppend,  ///< an append to a file made by createAppend, by that file's path
        kFlush,   ///< a flush of such a file, likewise
        kRemoveFile,
    };

    struct Record {
        Call call;
        std::string path;
        std::string target;  ///< move only
    };

    explicit FaultyFileSystem(platform::IFileSystem& inner = platform::RealFileSystem()) : inner_(inner) {}

    /// `call` on `path` ("" for every path) returns `code`, `times` times (-1:
    /// always). kMove matches the source of a move, kMoveTo its target. A
    /// failed listing still hands over the entries the inner listing found;
    /// a failed append writes the first half of its data, as a disk that
    /// fills up on the way does.
    void Fail(Call call, const std::string& path, uint32_t code, int times = -1) {
        faults_.push_back({call, path, code, times});
    }
    /// Listings do not tell the kind of the entry at `path`, as some file
    /// systems do not: the run must ask for its attributes.
    void HideKind(const std::string& path) { hiddenKinds_.insert(path); }
    /// Stands in for the system's lookup of the programs that hold a file
    /// open: `path` is held by `holders`.
    void Hold(const std::string& path, std::vector<std::string> holders) { holders_[path] = std::move(holders); }
    /// Runs `action` just before the next call of `call` on `path` ("" for any).
    void Before(Call call, const std::string& path, std::function<void()> action) {
        hooks_.push_back({call, path, std::move(action)});
    }

    /// Hands every call to `watcher` as it is made, before it goes through or
    /// fails: a check that must hold at each call of a whole run.
    void Watch(std::function<void(const Record&)> watcher) { watcher_ = std::move(watcher); }

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

    uint32_t GetAttributes(const std::string& path, platform::Attributes& out) override {
        if (const uint32_t code = Enter(kGetAttributes, path)) return code;
        return inner_.GetAttributes(path, out);
    }
    uint32_t ListFolderEntries(const std::string& folder,
                               const std::function<void(const std::string&, platform::EntryKind)>& each) override {
        const uint32_t code = Enter(kListFolder, folder);
        const uint32_t inner = inner_.ListFolderEntries(folder, [&](const std::string& name, platform::EntryKind kind) {
            if (!hiddenKinds_.empty() && hiddenKinds_.count(folder + platform::kPathSeparator + name))
                kind = platform::EntryKind::kUnknown;
            each(name, kind);
        });
        return code ? code : inner;
    }
    uint32_t Move(const std::string& folder, const std::string& name, const std::string& newName) override {
        const std::string from = folder + platform::kPathSeparator + name;
        const std::string to = folder + platform::kPathSeparator + newName;
        RunHooks(kMove, from);
        calls.push_back({kMove, from, to});
        if (watcher_) watcher_(Record(calls.back()));
        if (const uint32_t code = Fault(kMove, from)) return code;
        if (const uint32_t code = Fault(kMoveTo, to)) return code;
        return inner_.Move(folder, name, newName);
    }
    void Paused() override {
        Enter(kPaused, "");
        inner_.Paused();
    }
    uint32_t GetWorkingFolder(std::string& out) override {
        if (const uint32_t code = Enter(kGetCurrentDirectory, "")) return code;
        return inner_.GetWorkingFolder(out);
    }
    uint32_t SetWorkingFolder(const std::string& path) override {
        if (const uint32_t code = Enter(kSetCurrentDirectory, path)) return code;
        return inner_.SetWorkingFolder(path);
    }
    uint32_t GetTimes(const std::string& path, platform::FileTimes& out) override {
        if (const uint32_t code = Enter(kGetTimes, path)) return code;
        return inner_.GetTimes(path, out);
    }
    std::unique_ptr<platform::IReadStream> OpenRead(const std::string& path, uint32_t& error) override {
        if ((error = Enter(kOpenRead, path)) != 0) return nullptr;
        return inner_.OpenRead(path, error);
    }
    uint32_t WriteFile(const std::string& path, const std::string& data) override {
        if (const uint32_t code = Enter(kWriteFile, path)) return code;
        return inner_.WriteFile(path, data);
    }
    uint32_t GetIdentity(const std::string& path, bool followLinks, platform::FileIdentity& out) override {
        if (const uint32_t code = Enter(kGetIdentity, path)) return code;
        return inner_.GetIdentity(path, followLinks, out);
    }
    std::unique_ptr<platform::IReadStream> OpenPrivate(const std::string& path, uint64_t& size,
                                                       uint32_t& error) override {
        if ((error = Enter(kOpenPrivate, path)) != 0) return nullptr;
        return inner_.OpenPrivate(path, size, error);
    }
    std::unique_ptr<platform::IAppendStream> CreateAppend(const std::string& path, uint32_t& error) override {
        if ((error = Enter(kCreateAppend, path)) != 0) return nullptr;
        auto inner = inner_.CreateAppend(path, error);
        if (!inner) return nullptr;
        return std::make_unique<Stream>(*this, path, std::move(inner));
    }
    std::vector<std::string> Holders(const std::string& path) override {
        const auto it = holders_.find(path);
        return it == holders_.end() ? inner_.Holders(path) : it->second;
    }
    uint32_t RemoveFile(const std::string& path) override {
        if (const uint32_t code = Enter(kRemoveFile, path)) return code;
        return inner_.RemoveFile(path);
    }
    std::vector<Record> calls;

private:
    // The stream of a created file, its calls recorded and failed as the
    // file system's own.
    class Stream final : public platform::IAppendStream {
    public:
        Stream(FaultyFileSystem& fs, std::string path, std::unique_ptr<platform::IAppendStream> inner)
            : fs_(fs), path_(std::move(path)), inner_(std::move(inner)) {}
        uint32_t Append(const void* data, size_t size) override {
            if (const uint32_t code = fs_.Enter(kAppend, path_)) {
                inner_->Append(data, size / 2);
                return code;
            }
            return inner_->Append(data, size);
        }
        uint32_t Flush() override {
            if (const uint32_t code = fs_.Enter(kFlush, path_)) return code;
            return inner_->Flush();
        }

    private:
        FaultyFileSystem& fs_;
        std::string path_;
        std::unique_ptr<platform::IAppendStream> inner_;
    };

    struct FaultRule {
        Call call;
        std::string path;
        uint32_t code;
        int times;
    };
    struct Hook {
        Call call;
        std::string path;
        std::function<void()> action;
    };

    // Runs the hooks, records the call and returns its fault, if any.
    uint32_t Enter(Call call, const std::string& path) {
        RunHooks(call, path);
        calls.push_back({call, path, {}});
        if (watcher_) watcher_(Record(calls.back()));
        return Fault(call, path);
    }

    void RunHooks(Call call, const std::string& path) {
        for (auto it = hooks_.begin(); it != hooks_.end(); ++it) {
            if (it->call != call || (!it->path.empty() && it->path != path)) continue;
            auto action = std::move(it->action);
            hooks_.erase(it);
            action();
            return;
        }
    }

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
    std::vector<Hook> hooks_;
    std::set<std::string> hiddenKinds_;
    std::map<std::string, std::vector<std::string>> holders_;
    std::function<void(const Record&)> watcher_;
};

}  // namespace testing_support
