#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
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

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace platform {

namespace {

bool ParentExists(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return true;
    const std::string parent = slash == 0 ? "/" : path.substr(0, slash);
    struct stat st;
    return ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Windows tells "file not found" from "path not found"; errno does not, so ask
// whether the folder that should hold the entry is there.
uint32_t FromErrno(int err, const std::string& path) {
    switch (err) {
        case 0:
            return kErrorSuccess;
        case ENOENT:
            return ParentExists(path) ? kErrorFileNotFound : kErrorPathNotFound;
        case ENOTDIR:
            return kErrorPathNotFound;
        case EACCES:
        case EPERM:
            return kErrorAccessDenied;
        case EEXIST:
        case ENOTEMPTY:
            return kErrorAlreadyExists;
        case ENAMETOOLONG:
            return kErrorFilenameExcedRange;
        case EILSEQ:
            return kErrorInvalidName;
        case EINVAL:
            return kErrorInvalidParameter;
        case EBUSY:
            return kErrorBusy;
        case EXDEV:
            return kErrorNotSameDevice;
        case ENOSPC:
            return kErrorDiskFull;
        case EROFS:
            return kErrorWriteProtect;
        case EMFILE:
        case ENFILE:
            return kErrorTooManyOpenFiles;
        case ENOMEM:
            return kErrorNotEnoughMemory;
        case EISDIR:
            return kErrorDirectory;
        case ELOOP:
            return kErrorCantResolveFilename;
        case ENOTSUP:
            return kErrorNotSupported;
        default:
            return kErrorPosixFlag | static_cast<uint32_t>(err);
    }
}

// The errno that a code stands for, for its message: where several errno
// values give one code, the one that says most about it.
int ToErrno(uint32_t code) {
    if (code & kErrorPosixFlag) return static_cast<int>(code & ~kErrorPosixFlag);
    switch (code) {
        case kErrorSuccess:
            return 0;
        case kErrorInvalidFunction:
            return ENOSYS;
        case kErrorFileNotFound:
        case kErrorPathNotFound:
            return ENOENT;
        case kErrorTooManyOpenFiles:
            return EMFILE;
        case kErrorAccessDenied:
            return EACCES;
        case kErrorNotEnoughMemory:
            return ENOMEM;
        case kErrorWriteProtect:
            return EROFS;
        case kErrorNotSameDevice:
            return EXDEV;
        case kErrorSharingViolation:
        case kErrorBusy:
            return EBUSY;
        case kErrorNotSupported:
            return ENOTSUP;
        case kErrorInvalidParameter:
        case kErrorInvalidName:
            return EINVAL;
        case kErrorDiskFull:
            return ENOSPC;
        case kErrorAlreadyExists:
            return EEXIST;
        case kErrorFilenameExcedRange:
            return ENAMETOOLONG;
        case kErrorDirectory:
            return EISDIR;
        case kErrorCantResolveFilename:
            return ELOOP;
        default:
            return -1;
    }
}

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
    PosixAppendStream(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~PosixAppendStream() override { ::close(fd_); }
    PosixAppendStream(const PosixAppendStream&) = delete;
    PosixAppendStream& operator=(const PosixAppendStream&) = delete;

    uint32_t Append(const void* data, size_t size) override {
        return WriteAll(fd_, static_cast<const char*>(data), size, path_);
    }
    // The size of the file is part of what must last, so fdatasync
    // writes it with the data; the times it leaves are of no use here.
    uint32_t Flush() override {
        while (::fdatasync(fd_) != 0)
            if (errno != EINTR) return FromErrno(errno, path_);
        return kErrorSuccess;
    }

private:
    int fd_;
    std::string path_;
};

// A new entry lasts once its folder is flushed too.
uint32_t FlushFolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return FromErrno(errno, folder);
    const uint32_t code = ::fsync(fd) == 0 ? kErrorSuccess : FromErrno(errno, folder);
    ::close(fd);
    return code;
}

// Makes `folder` and the folders above it that are missing, for this user
// alone, as the XDG rules ask of a state folder.
uint32_t MakeFolders(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0700) == 0) return kErrorSuccess;
    int err = errno;
    if (err == ENOENT) {
        const auto slash = folder.find_last_of('/');
        if (slash == std::string::npos || slash == 0) return FromErrno(err, folder);
        if (const uint32_t code = MakeFolders(folder.substr(0, slash))) return code;
        if (::mkdir(folder.c_str(), 0700) == 0) return kErrorSuccess;
        err = errno;
    }
    struct stat st;
    if (err == EEXIST && ::stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode) ? kErrorSuccess : kErrorAlreadyExists;  // a file where the folder belongs
    return FromErrno(err, folder);
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

// A file or folder that this user alone may change: owned by the user and
// writable by nobody else. Whoever else could write there could make an undo
// rename whatever they like.
uint32_t PrivateEntry(const struct stat& st, bool folder) {
    if (folder ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode)) return kErrorNotRegularFile;
    if (st.st_uid != ::geteuid()) return kErrorNotOwner;
    if (st.st_mode & (S_IWGRP | S_IWOTH)) return kErrorOpenToOthers;
    return kErrorSuccess;
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

// A run renames item after item in the same folder. Through a handle on the
// folder the kernel walks the folder's path once, not twice per rename. The
// handle is opened on the second rename in a row in one folder and dropped
// when that folder, or one above it, is renamed. After the caller waited for
// the user it is checked against the path before its next use: the folder
// may have been moved and another made under its name meanwhile, and the
// rename must act on the item at the path that the user was shown.
class FolderHandle {
public:
    ~FolderHandle() { Close(); }

    // The handle of `folder`, or -1 when renames there go by full paths.
    int For(std::string_view folder) {
        const bool check = std::exchange(check_, false);
        if (fd_ >= 0 && folder == path_) {
            if (!check || StillAt(path_)) return fd_;
            Close();
        }
        if (folder != candidate_) {
            candidate_.assign(folder);
            return -1;
        }
        Close();
        const std::string path(folder);
        fd_ = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd_ >= 0) path_ = path;
        return fd_;
    }
    // `moved` is no longer where it was.
    void Moved(const std::string& moved) {
        if (fd_ < 0) return;
        if (path_ == moved ||
            (path_.size() > moved.size() && path_.compare(0, moved.size(), moved) == 0 && path_[moved.size()] == '/'))
            Close();
    }
    void Paused() { check_ = true; }
    void Close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        path_.clear();
        candidate_.clear();
    }

private:
    bool StillAt(const std::string& path) const {
        struct stat held, named;
        return ::fstat(fd_, &held) == 0 && ::stat(path.c_str(), &named) == 0 && SameEntry(held, named);
    }

    int fd_ = -1;
    bool check_ = false;
    std::string path_;
    std::string candidate_;
};

class PosixFileSystem final : public IFileSystem {
public:
    uint32_t GetAttributes(const std::string& path, Attributes& out) override {
        // lstat: a link is renamed as itself and never followed into another tree.
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0) return FromErrno(errno, path);
        out.kind = S_ISDIR(st.st_mode) ? EntryKind::kFolder : EntryKind::kFile;
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

    uint32_t Move(const std::string& from, const std::string& to) override {
        std::lock_guard<std::mutex> lock(mutex_);
        const uint32_t code = MoveByPath(from, to);
        if (code == kErrorSuccess) folder_.Moved(from);
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
        int fd = -1;
        for (unsigned attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            temporary = folder + "/.quorlin-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
            fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST) return FromErrno(errno, path);
        }
        if (fd < 0) return kErrorAlreadyExists;
        uint32_t code = WriteAll(fd, data.data(), data.size(), path);
        if (code == kErrorSuccess && ::fsync(fd) != 0) code = FromErrno(errno, path);
        if (::close(fd) != 0 && code == kErrorSuccess) code = FromErrno(errno, path);
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
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            error = errno == ELOOP ? kErrorNotRegularFile : FromErrno(errno, path);
            return nullptr;
        }
        struct stat st;
        if (::fstat(fd, &st) != 0)
            error = FromErrno(errno, path);
        else
            error = PrivateEntry(st, false);
        FILE* f = error == kErrorSuccess ? ::fdopen(fd, "rb") : nullptr;
        if (!f) {
            if (error == kErrorSuccess) error = FromErrno(errno, path);
            ::close(fd);
            return nullptr;
        }
        size = static_cast<uint64_t>(st.st_size);
        return std::make_unique<PosixReadStream>(f);
    }
    std::unique_ptr<IAppendStream> CreateAppend(const std::string& path, uint32_t& error) override {
        // O_EXCL: an existing file, or a link planted under the name, is
        // never written through. The journal names what a user renamed:
        // readable by that user alone.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0) {
            error = FromErrno(errno, path);
            return nullptr;
        }
        auto stream = std::make_unique<PosixAppendStream>(fd, path);
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
        const auto slash = from.find_last_of('/');
        if (slash != std::string::npos && slash > 0 && to.size() > slash && to[slash] == '/' &&
            to.compare(0, slash, from, 0, slash) == 0 && to.find('/', slash + 1) == std::string::npos) {
            const int dir = folder_.For(std::string_view(from).substr(0, slash));
            if (dir >= 0) {
                if (::renameat2(dir, from.c_str() + slash + 1, dir, to.c_str() + slash + 1, RENAME_NOREPLACE) == 0)
                    return kErrorSuccess;
                // Failures take the path below, which tells them apart; a
                // folder that is gone is not held on to.
                if (errno == ENOENT || errno == ESTALE) folder_.Close();
            }
        }
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
};

}  // namespace

uint32_t StateFolder(std::string& out) {
    // The XDG rules: a relative $XDG_STATE_HOME is to be ignored.
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string folder;
    if (state && *state == '/') {
        folder = state;
    } else {
        const std::string home = HomeFolder();
        if (home.empty()) return kErrorPathNotFound;
        folder = home + "/.local/state";
    }
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    folder += "/quorlin";
    out = folder;
    if (const uint32_t code = MakeFolders(folder)) return code;
    // Through a link too: what matters is the folder the journals go to.
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0) return FromErrno(errno, folder);
    return PrivateEntry(st, true);
}

IFileSystem& RealFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

std::string ErrorMessage(uint32_t code) {
    if (const char* own = OwnErrorMessage(code)) return own;
    // The system's own words, as every other program on it says them.
    const int err = ToErrno(code);
    if (err < 0) return "Unknown error " + std::to_string(code);
    return std::strerror(err);
}

}  // namespace platform
