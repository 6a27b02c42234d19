#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>

#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "platform/posix/Errno.h"
#include "platform/posix/FolderHandle.h"
#include "platform/posix/ScopedFd.h"
#include "platform/posix/StatePosix.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace platform {

namespace {

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};
struct FileCloser {
    void operator()(FILE* f) const { ::fclose(f); }
};

class PosixReadStream final : public IReadStream {
public:
    explicit PosixReadStream(FILE* f) : file_(f) {}
    size_t Read(void* buffer, size_t size) override { return ::fread(buffer, 1, size, file_.get()); }
    bool Skip(uint64_t size) override {
        return size <= static_cast<uint64_t>(INT64_MAX) &&
               ::fseeko(file_.get(), static_cast<off_t>(size), SEEK_CUR) == 0;
    }

private:
    std::unique_ptr<FILE, FileCloser> file_;
};

// Each write may take only part of what it is given (a signal, a full disk
// on the way); the rest is written until an error says why not.
uint32_t WriteAll(int fd, const char* data, size_t size, const std::string& path) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return FromErrno(errno, path);
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return kErrorSuccess;
}

class PosixAppendStream final : public IAppendStream {
public:
    PosixAppendStream(ScopedFd fd, std::string path) : fd_(std::move(fd)), path_(std::move(path)) {}

    uint32_t Append(const void* data, size_t size) override {
        return WriteAll(fd_.get(), static_cast<const char*>(data), size, path_);
    }
    // The size of the file is part of what must last, so fdatasync
    // writes it with the data; the times it leaves are of no use here.
    uint32_t Flush() override {
        while (::fdatasync(fd_.get()) != 0)
            if (errno != EINTR) return FromErrno(errno, path_);
        return kErrorSuccess;
    }

private:
    ScopedFd fd_;
    std::string path_;
};

// A new entry lasts once its folder is flushed too.
uint32_t FlushFolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const ScopedFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd) return FromErrno(errno, folder);
    return ::fsync(fd.get()) == 0 ? kErrorSuccess : FromErrno(errno, folder);
}

bool SameEntry(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A link whose target is a folder; errno is left as it was, so that a
// listing's end is still told from its errors. A dangling link is no folder.
bool PointsToFolder(int dir, const char* path) {
    const int saved = errno;
    struct stat target;
    const bool folder = ::fstatat(dir, path, &target, 0) == 0 && S_ISDIR(target.st_mode);
    errno = saved;
    return folder;
}

std::string_view LastComponent(std::string_view path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// True when `folder` holds an entry spelled exactly `name`.
bool ListsExactly(const std::string& folder, std::string_view name) {
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.empty() ? "/" : folder.c_str()));
    if (!dir) return true;  // cannot tell: the safe answer is "taken"
    while (const dirent* entry = ::readdir(dir.get()))
        if (name == entry->d_name) return true;
    return false;
}

class PosixFileSystem final : public IFileSystem {
public:
    uint32_t GetAttributes(const std::string& path, Attributes& out) override {
        // lstat: a link is renamed as itself and never followed into another tree.
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0) return FromErrno(errno, path);
        out.kind = S_ISDIR(st.st_mode) ? EntryKind::kFolder : EntryKind::kFile;
        out.size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
        if (S_ISLNK(st.st_mode) && PointsToFolder(AT_FDCWD, path.c_str())) out.kind = EntryKind::kFolderLink;
        return kErrorSuccess;
    }

    uint32_t ListFolderEntries(const std::string& folder,
                               const std::function<void(const std::string&, EntryKind)>& each) override {
        std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
        if (!dir) return FromErrno(errno, folder);
        std::string name;
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(dir.get());
            if (!entry) break;
            const char* n = entry->d_name;
            if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
            EntryKind kind = EntryKind::kFile;
            if (entry->d_type == DT_DIR)
                kind = EntryKind::kFolder;
            else if (entry->d_type == DT_UNKNOWN)
                kind = EntryKind::kUnknown;
            else if (entry->d_type == DT_LNK && PointsToFolder(::dirfd(dir.get()), n))
                kind = EntryKind::kFolderLink;
            name.assign(n);
            const int saved = errno;
            each(name, kind);
            errno = saved;
        }
        return errno == 0 ? kErrorSuccess : FromErrno(errno, folder);
    }

    uint32_t Move(const std::string& folder, const std::string& name, const std::string& newName) override {
        std::lock_guard<std::mutex> lock(mutex_);
        from_.assign(folder).append(1, '/').append(name);
        uint32_t code = kErrorInvalidFunction;
        const int dir = folder_.For(folder);
        if (dir >= 0) {
            if (::renameat2(dir, name.c_str(), dir, newName.c_str(), RENAME_NOREPLACE) == 0) code = kErrorSuccess;
            // Failures take the paths below, which tell them apart; a folder
            // that is gone is not held on to.
            else if (errno == ENOENT || errno == ESTALE)
                folder_.Close();
        }
        if (code != kErrorSuccess) {
            to_.assign(folder).append(1, '/').append(newName);
            code = MoveByPath(from_, to_);
        }
        if (code == kErrorSuccess) folder_.Moved(from_);
        return code;
    }

    void Paused() override {
        std::lock_guard<std::mutex> lock(mutex_);
        folder_.Paused();
    }

    uint32_t GetWorkingFolder(std::string& out) override {
        std::unique_ptr<char, decltype(&::free)> cwd(::getcwd(nullptr, 0), &::free);
        if (!cwd) return FromErrno(errno, ".");
        out = cwd.get();
        return kErrorSuccess;
    }

    uint32_t SetWorkingFolder(const std::string& path) override {
        return ::chdir(path.c_str()) == 0 ? kErrorSuccess : FromErrno(errno, path);
    }

    uint32_t GetTimes(const std::string& path, FileTimes& out) override {
        struct statx sx;
        if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0)
            return FromErrno(errno, path);
        out.modification = sx.stx_mtime.tv_sec;
        out.lastAccess = sx.stx_atime.tv_sec;
        if (sx.stx_mask & STATX_BTIME)
            out.creation = sx.stx_btime.tv_sec;
        else
            out.creation.reset();
        return kErrorSuccess;
    }

    std::unique_ptr<IReadStream> OpenRead(const std::string& path, uint32_t& error) override {
        FILE* f = ::fopen(path.c_str(), "rb");
        if (!f) {
            error = FromErrno(errno, path);
            return nullptr;
        }
        error = kErrorSuccess;
        return std::make_unique<PosixReadStream>(f);
    }

    uint32_t WriteFile(const std::string& path, const std::string& data) override {
        // A new file beside the old, renamed over it: the name is replaced,
        // whatever it names, and nothing is ever written through a link.
        const auto slash = path.find_last_of('/');
        const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
        std::string temporary;
        ScopedFd fd;
        for (unsigned attempt = 0; attempt < 100 && !fd; ++attempt) {
            temporary = folder + "/.quorlin-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
            fd.reset(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            if (!fd && errno != EEXIST) return FromErrno(errno, path);
        }
        if (!fd) return kErrorAlreadyExists;
        uint32_t code = WriteAll(fd.get(), data.data(), data.size(), path);
        if (code == kErrorSuccess && ::fsync(fd.get()) != 0) code = FromErrno(errno, path);
        if (fd.reset() != 0 && code == kErrorSuccess) code = FromErrno(errno, path);
        if (code == kErrorSuccess && ::rename(temporary.c_str(), path.c_str()) != 0) code = FromErrno(errno, path);
        if (code != kErrorSuccess) ::unlink(temporary.c_str());
        return code;
    }

    uint32_t GetIdentity(const std::string& path, bool followLinks, FileIdentity& out) override {
        struct stat st;
        if ((followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0) return FromErrno(errno, path);
        out = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
        return kErrorSuccess;
    }

    std::unique_ptr<IReadStream> OpenPrivate(const std::string& path, uint64_t& size, uint32_t& error) override {
        // Without following a link, and without waiting for the writer of
        // a pipe: what the open found is then checked on the open file.
        ScopedFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (!fd) {
            error = errno == ELOOP ? kErrorNotRegularFile : FromErrno(errno, path);
            return nullptr;
        }
        struct stat st;
        error = ::fstat(fd.get(), &st) != 0 ? FromErrno(errno, path) : PrivateEntry(st, false);
        if (error != kErrorSuccess) return nullptr;
        FILE* f = ::fdopen(fd.get(), "rb");
        if (!f) {
            error = FromErrno(errno, path);
            return nullptr;
        }
        fd.release();  // the stream closes it now
        size = static_cast<uint64_t>(st.st_size);
        return std::make_unique<PosixReadStream>(f);
    }

    std::unique_ptr<IAppendStream> CreateAppend(const std::string& path, uint32_t& error) override {
        // O_EXCL: an existing file, or a link planted under the name, is
        // never written through. The journal names what a user renamed:
        // readable by that user alone.
        ScopedFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600));
        if (!fd) {
            error = FromErrno(errno, path);
            return nullptr;
        }
        auto stream = std::make_unique<PosixAppendStream>(std::move(fd), path);
        error = FlushFolderOf(path);
        if (error == kErrorSuccess) return stream;
        stream.reset();
        ::unlink(path.c_str());
        return nullptr;
    }

    uint32_t RemoveFile(const std::string& path) override {
        return ::unlink(path.c_str()) == 0 ? kErrorSuccess : FromErrno(errno, path);
    }


private:
    uint32_t MoveByPath(const std::string& from, const std::string& to) {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return kErrorSuccess;
        int err = errno;
        if (err == EEXIST) {
            if (!IsSameEntry(from, to)) return kErrorAlreadyExists;
            // A case-only rename on a case-insensitive volume: the "existing"
            // target is the item itself, so nothing else can be replaced.
            if (::rename(from.c_str(), to.c_str()) == 0) return kErrorSuccess;
            err = errno;
        } else if (err == EINVAL || err == ENOSYS || err == ENOTSUP) {
            // Some file systems (older network mounts) refuse the flag. Check
            // for a target first; the window between check and rename is the
            // best that such a file system allows.
            struct stat st;
            if (::lstat(to.c_str(), &st) == 0) return kErrorAlreadyExists;
            if (::rename(from.c_str(), to.c_str()) == 0) return kErrorSuccess;
            err = errno;
        }
        if (err == ENOENT) {
            struct stat st;
            if (::lstat(from.c_str(), &st) != 0) return FromErrno(ENOENT, from);
            return kErrorPathNotFound;  // the source is there, so the target's folder is not
        }
        return FromErrno(err, to);
    }

    // True when `to` names the very entry `from` names, spelled differently:
    // what a case-insensitive volume reports for a case-only rename. A second
    // hard link of the same file is another entry: renaming onto it would
    // report success and change nothing.
    static bool IsSameEntry(const std::string& from, const std::string& to) {
        struct stat a, b;
        if (::lstat(from.c_str(), &a) != 0 || ::lstat(to.c_str(), &b) != 0 || !SameEntry(a, b)) return false;
        const std::string_view target = LastComponent(to);
        if (text::CompareNoCase(LastComponent(from), target) != 0) return false;  // a hard link by another name
        // A folder has no second name, nor has a file with a single link.
        if (S_ISDIR(a.st_mode) || a.st_nlink <= 1) return true;
        // A linked file whose names differ only in case: one entry on a
        // case-insensitive volume, two on a case-sensitive one.
        const auto slash = to.find_last_of('/');
        return !ListsExactly(slash == std::string::npos ? "." : to.substr(0, slash), target);
    }

    std::mutex mutex_;
    FolderHandle folder_;
    // Both paths of a rename, made in buffers kept from rename to rename.
    std::string from_, to_;
};

}  // namespace

IFileSystem& RealFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

}  // namespace platform
