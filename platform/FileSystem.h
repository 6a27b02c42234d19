#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// Windows system error codes: the one error vocabulary of every layer above.
/// The POSIX implementation maps errno onto these so that conflict handling is
/// the same on every platform.
inline constexpr uint32_t kErrorSuccess = 0;
inline constexpr uint32_t kErrorInvalidFunction = 1;
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorPathNotFound = 3;
inline constexpr uint32_t kErrorTooManyOpenFiles = 4;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorNotEnoughMemory = 8;
inline constexpr uint32_t kErrorWriteProtect = 19;
inline constexpr uint32_t kErrorNotSameDevice = 17;
inline constexpr uint32_t kErrorSharingViolation = 32;
inline constexpr uint32_t kErrorLockViolation = 33;
inline constexpr uint32_t kErrorNotSupported = 50;
inline constexpr uint32_t kErrorInvalidParameter = 87;
inline constexpr uint32_t kErrorDiskFull = 112;
inline constexpr uint32_t kErrorInvalidName = 123;
inline constexpr uint32_t kErrorBusy = 170;
inline constexpr uint32_t kErrorAlreadyExists = 183;
inline constexpr uint32_t kErrorFilenameExcedRange = 206;
inline constexpr uint32_t kErrorDirectory = 267;
inline constexpr uint32_t kErrorCantResolveFilename = 1921;
/// A POSIX error that no Windows code stands for: the errno itself, under the
/// flag that Windows leaves to applications, so that its message is not lost.
inline constexpr uint32_t kErrorPosixFlag = 0x20000000;
/// Our own codes, in the range Windows leaves to applications above every
/// errno: what a private file (the journals and their folder) is refused for.
/// errorMessage has a text for each.
inline constexpr uint32_t kErrorNotOwner = 0x20010001;       ///< it belongs to another user
inline constexpr uint32_t kErrorOpenToOthers = 0x20010002;   ///< others may write to it
inline constexpr uint32_t kErrorNotRegularFile = 0x20010003; ///< a link, a folder, a device or a pipe

/// What a folder listing or a status call tells of the kind of an entry.
enum class EntryKind : uint8_t {
    kUnknown,     ///< the listing does not say: ask getAttributes
    kFile,        ///< a file, or a link to anything but a folder
    kFolder,      ///< a folder, which a run may enter
    kFolderLink,  ///< a link to a folder (symbolic link, junction): a folder
                  ///< to the Files/Folders choice, but renamed as itself and
                  ///< never entered, so that a run cannot leave the selection
                  ///< or walk a loop
};

/// Attributes of one file system entry, as far as the renamer needs them.
struct Attributes {
    EntryKind kind = EntryKind::kFile;
    /// Bytes of a file (of a link itself, on POSIX); 0 for a folder.
    uint64_t size = 0;
    /// True for a folder and for a link to one.
    bool isFolder() const { return kind == EntryKind::kFolder || kind == EntryKind::kFolderLink; }
};

/// File times as seconds since 1970-01-01 UTC. 64-bit, so no 2038 limit.
struct FileTimes {
    int64_t modification = 0;
    int64_t lastAccess = 0;
    /// Not every POSIX file system records a creation (birth) time.
    std::optional<int64_t> creation;
};

/// What a file is, whatever its path: two paths with the same identity name
/// one file (a link and its target, two hard links).
struct FileIdentity {
    uint64_t device = 0;
    uint64_t file = 0;
    bool operator==(const FileIdentity&) const = default;
};

/// A file opened for reading; closed when destroyed.
class IReadStream {
public:
    virtual ~IReadStream() = default;
    /// Reads up to `size` bytes; fewer only at the end of the file or on error.
    virtual size_t Read(void* buffer, size_t size) = 0;
    /// Moves `size` bytes on without reading them: a reader that wants a
    /// box near the end of a large video passes over what comes before.
    /// False when the stream cannot (the default) or the move failed: the
    /// caller reads instead. Past the end, the next Read gives nothing.
    virtual bool Skip(uint64_t size) {
        (void)size;
        return false;
    }
};

/// A file opened for appending; closed when destroyed. What the run journal
/// is written through.
class IAppendStream {
public:
    virtual ~IAppendStream() = default;
    /// Appends `size` bytes at the end. On failure some of them may have
    /// reached the file: whatever was appended since the last flush that
    /// succeeded is then unsure, and the file must not be appended to again.
    [[nodiscard]] virtual uint32_t Append(const void* data, size_t size) = 0;
    /// Returns once everything appended so far is on the disk itself, where
    /// neither a crash of the system nor a power loss can take it back.
    [[nodiscard]] virtual uint32_t Flush() = 0;
};

/// Everything the core needs from the file system. Tests put a decorator in
/// front of the real one to inject failures the real OS will not produce for
/// root (access denied, vanished files).
class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    /// Attributes of `path`, or 0 on success and a system error code otherwise.
    [[nodiscard]] virtual uint32_t GetAttributes(const std::string& path, Attributes& out) = 0;

    /// Hands each entry of `folder` (without "." and "..") to `each` as it
    /// is read, with its kind where the listing tells it, so that a large
    /// folder is read without one status call, or one stored name, per entry.
    /// On failure the entries read so far have been handed over and the code
    /// is returned.
    [[nodiscard]] virtual uint32_t ListFolderEntries(const std::string& folder,
                                       const std::function<void(const std::string& name, EntryKind kind)>& each) = 0;

    /// Renames the entry `name` of `folder` to `newName`, in the same folder:
    /// both are single names, which the caller has checked. Never replaces
    /// an existing target: that case is kErrorAlreadyExists. A case-only
    /// rename of the same entry is allowed.
    [[nodiscard]] virtual uint32_t Move(const std::string& folder, const std::string& name,
                                        const std::string& newName) = 0;

    /// The caller has waited (for a person's answer) since its last call:
    /// whatever the file system keeps between calls to speed up renames in
    /// one folder must be checked against the disk before it is used again,
    /// so that the next rename acts on the item at the path it names, even
    /// if folders were moved meanwhile.
    virtual void Paused() = 0;

    [[nodiscard]] virtual uint32_t GetWorkingFolder(std::string& out) = 0;
    [[nodiscard]] virtual uint32_t SetWorkingFolder(const std::string& path) = 0;

    [[nodiscard]] virtual uint32_t GetTimes(const std::string& path, FileTimes& out) = 0;

    /// Opens `path` for sequential binary reading (the picture date reader reads
    /// only the head of a JPEG, so whole-file reads would waste time on big
    /// photos). Null with `error` set on failure.
    virtual std::unique_ptr<IReadStream> OpenRead(const std::string& path, uint32_t& error) = 0;

    /// Creates or replaces `path` with `data`. The data goes to a new file
    /// beside it, which then takes the name: whatever stood under `path` (a
    /// link, one name of a file with several) is replaced as a name and never
    /// written through, and a crash leaves the old file or the new one whole.
    [[nodiscard]] virtual uint32_t WriteFile(const std::string& path, const std::string& data) = 0;

    /// The identity of the entry at `path`, or of what a link there leads to
    /// with `followLinks`.
    [[nodiscard]] virtual uint32_t GetIdentity(const std::string& path, bool followLinks, FileIdentity& out) = 0;

    /// Opens `path` for reading when it is a file that this user alone may
    /// change: a regular file (never a link, a device or a pipe, which could
    /// block or never end), owned by the user and not writable by others.
    /// `size` takes its size, past which nothing need be read. Null with
    /// `error` set otherwise (kErrorNotRegularFile, kErrorNotOwner,
    /// kErrorOpenToOthers, or the system's code).
    virtual std::unique_ptr<IReadStream> OpenPrivate(const std::string& path, uint64_t& size, uint32_t& error) = 0;

    // What the run journal needs.

    /// Creates the file `path`, which must not exist yet (kErrorAlreadyExists:
    /// nothing is ever replaced), for appending. Its name is on the disk when
    /// this returns, so that contents flushed later cannot be lost with it.
    /// Null with `error` set on failure.
    virtual std::unique_ptr<IAppendStream> CreateAppend(const std::string& path, uint32_t& error) = 0;
    /// Removes the file `path`; never a folder.
    [[nodiscard]] virtual uint32_t RemoveFile(const std::string& path) = 0;
    /// The programs that hold `path` open (for a folder, a file in it), as
    /// the system names them, when it can tell; empty when it cannot, or
    /// when none does.
    virtual std::vector<std::string> Holders(const std::string& path) {
        (void)path;
        return {};
    }
};

/// A file system in front of another that passes every call on: the base of
/// the decorators, which override what they watch or change.
class CForwardingFileSystem : public IFileSystem {
public:
    explicit CForwardingFileSystem(IFileSystem& inner) : inner_(&inner) {}

    uint32_t GetAttributes(const std::string& path, Attributes& out) override {
        return inner_->GetAttributes(path, out);
    }
    uint32_t ListFolderEntries(const std::string& folder,
                               const std::function<void(const std::string&, EntryKind)>& each) override {
        return inner_->ListFolderEntries(folder, each);
    }
    uint32_t Move(const std::string& folder, const std::string& name, const std::string& newName) override {
        return inner_->Move(folder, name, newName);
    }
    void Paused() override { inner_->Paused(); }
    uint32_t GetWorkingFolder(std::string& out) override { return inner_->GetWorkingFolder(out); }
    uint32_t SetWorkingFolder(const std::string& path) override { return inner_->SetWorkingFolder(path); }
    uint32_t GetTimes(const std::string& path, FileTimes& out) override { return inner_->GetTimes(path, out); }
    std::unique_ptr<IReadStream> OpenRead(const std::string& path, uint32_t& error) override {
        return inner_->OpenRead(path, error);
    }
    uint32_t WriteFile(const std::string& path, const std::string& data) override {
        return inner_->WriteFile(path, data);
    }
    uint32_t GetIdentity(const std::string& path, bool followLinks, FileIdentity& out) override {
        return inner_->GetIdentity(path, followLinks, out);
    }
    std::unique_ptr<IReadStream> OpenPrivate(const std::string& path, uint64_t& size, uint32_t& error) override {
        return inner_->OpenPrivate(path, size, error);
    }
    std::unique_ptr<IAppendStream> CreateAppend(const std::string& path, uint32_t& error) override {
        return inner_->CreateAppend(path, error);
    }
    uint32_t RemoveFile(const std::string& path) override { return inner_->RemoveFile(path); }
    std::vector<std::string> Holders(const std::string& path) override { return inner_->Holders(path); }

protected:
    IFileSystem& inner() const { return *inner_; }
    void SetInner(IFileSystem& inner) { inner_ = &inner; }

private:
    IFileSystem* inner_;
};

/// The file system of the running platform.
IFileSystem& RealFileSystem();

/// The folder of this user's state, made (with its parents) when missing:
/// on POSIX "quorlin" under $XDG_STATE_HOME, or under ~/.local/state when
/// that is not set to an absolute path; on Windows %LOCALAPPDATA%\Quorlin.
/// It holds what lets a person's renames be taken back, so a folder that
/// another user owns, or that others may write to (directly or through a
/// link), is refused with kErrorNotOwner or kErrorOpenToOthers. When it
/// cannot be used, `out` still names it, for the message.
[[nodiscard]] uint32_t StateFolder(std::string& out);

/// The system's message text for `code`, without trailing line breaks: on
/// Windows the system's message for the code, on POSIX the C library's
/// message for the errno that the code stands for.
std::string ErrorMessage(uint32_t code);

/// The text of one of our own codes (kErrorNotOwner and its kin); null for
/// any other code.
const char* OwnErrorMessage(uint32_t code);

/// The separator between folder and name on this platform.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

/// 0 when `name` may be used as one file name on this platform, else
/// kErrorInvalidName. Refuses what would move an item into another folder
/// (separators, "." and "..", empty) and, on Windows, what the shell forbids.
[[nodiscard]] uint32_t CheckFileName(const std::string& name);

/// The Windows rules for a single name, available on every platform so they
/// can be tested natively.
[[nodiscard]] uint32_t CheckWindowsFileName(const std::string& name);
/// The POSIX rules for a single name, likewise.
[[nodiscard]] uint32_t CheckPosixFileName(const std::string& name);

/// True when `path` is a full path on this platform: from the root on POSIX;
/// from a drive's root or a network share on Windows.
bool IsAbsolutePath(std::string_view path);
/// True when the full path `path` is the root of a file system, which has no
/// name to change: "/" on POSIX; "C:\" or "\\server\share" on Windows.
bool IsRootPath(std::string_view path);

}  // namespace platform
