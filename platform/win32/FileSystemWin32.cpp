#include <windows.h>
#include <restartmanager.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "platform/FileSystem.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/Wide.h"

namespace platform {

namespace {

// The wide calls, converted at this one place: they carry UTF-8 names intact
// whether or not the system honours the UTF-8 code page of our manifest.

int64_t ToUnixSeconds(const FILETIME& ft) {
    const uint64_t ticks = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    // 100-ns ticks since 1601; floor so that times before 1970 stay ordered.
    const int64_t since1601 = static_cast<int64_t>(ticks / 10000000ULL);
    return since1601 - 11644473600LL;
}

class Win32ReadStream final : public IReadStream {
public:
    explicit Win32ReadStream(win::ScopedHandle file) : handle_(std::move(file)) {}
    size_t Read(void* buffer, size_t size) override {
        size_t done = 0;
        while (done < size) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 30));
            DWORD got = 0;
            if (!::ReadFile(handle_.get(), static_cast<char*>(buffer) + done, chunk, &got, nullptr) || got == 0)
                break;
            done += got;
        }
        return done;
    }
    bool Skip(uint64_t size) override {
        LARGE_INTEGER distance;
        distance.QuadPart = static_cast<LONGLONG>(size);
        return size <= static_cast<uint64_t>(INT64_MAX) &&
               ::SetFilePointerEx(handle_.get(), distance, nullptr, FILE_CURRENT) != 0;
    }

private:
    win::ScopedHandle handle_;
};

class Win32AppendStream final : public IAppendStream {
public:
    explicit Win32AppendStream(win::ScopedHandle file) : handle_(std::move(file)) {}
    uint32_t Append(const void* data, size_t size) override {
        const char* at = static_cast<const char*>(data);
        while (size > 0) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
            DWORD written = 0;
            if (!::WriteFile(handle_.get(), at, chunk, &written, nullptr)) return ::GetLastError();
            if (written == 0) return ERROR_DISK_FULL;
            at += written;
            size -= written;
        }
        return kErrorSuccess;
    }
    uint32_t Flush() override { return ::FlushFileBuffers(handle_.get()) ? kErrorSuccess : ::GetLastError(); }

private:
    win::ScopedHandle handle_;
};

// Makes `folder` and the folders above it that are missing.
uint32_t MakeFolders(const std::wstring& folder) {
    const std::wstring call = FileCallPath(folder);
    if (::CreateDirectoryW(call.c_str(), nullptr)) return kErrorSuccess;
    DWORD err = ::GetLastError();
    if (err == ERROR_PATH_NOT_FOUND) {
        const auto sep = folder.find_last_of(L"\\/");
        if (sep == std::wstring::npos || sep < 3) return err;  // no parent to make below a drive's root
        if (const uint32_t code = MakeFolders(folder.substr(0, sep))) return code;
        if (::CreateDirectoryW(call.c_str(), nullptr)) return kErrorSuccess;
        err = ::GetLastError();
    }
    if (err != ERROR_ALREADY_EXISTS) return err;
    const DWORD attrs = ::GetFileAttributesW(call.c_str());
    // A file where the folder belongs.
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) ? kErrorSuccess
                                                                                  : kErrorAlreadyExists;
}

std::wstring EnvironmentValue(const wchar_t* name) {
    const DWORD need = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (need == 0) return {};
    std::wstring value(need, L'\0');
    const DWORD got = ::GetEnvironmentVariableW(name, value.data(), need);
    value.resize(got < need ? got : 0);
    return value;
}

uint32_t LastMoveError() {
    const DWORD err = ::GetLastError();
    return err == ERROR_FILE_EXISTS ? kErrorAlreadyExists : err;
}

// The name of the entry `path` as the folder spells it; empty when there is none.
std::wstring SpelledName(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    win::ScopedFind find(::FindFirstFileW(path.c_str(), &data));
    return find ? std::wstring(data.cFileName) : std::wstring();
}

std::wstring_view LastComponent(std::wstring_view path) {
    const auto sep = path.find_last_of(L"\\/");
    return sep == std::wstring_view::npos ? path : path.substr(sep + 1);
}

// A name for the intermediate step of a case-only rename: free, in the same
// folder, and no longer than the item's own name, so that a name near the
// length limit does not fail only because of the step.
bool FreeStepName(const std::wstring& source, unsigned attempt, std::wstring& step) {
    const std::wstring_view name = LastComponent(source);
    const std::wstring folder(source.substr(0, source.size() - name.size()));
    static constexpr wchar_t kDigits[] = L"0123456789abcdefghijklmnopqrstuvwxyz";
    uint64_t seed = (static_cast<uint64_t>(::GetCurrentProcessId()) << 20) ^ (attempt * 2654435761u);
    std::wstring candidate;
    const size_t length = std::max<size_t>(1, std::min<size_t>(name.size(), 12));
    for (size_t i = 0; i < length; ++i) {
        candidate += kDigits[seed % 36];
        seed = seed / 36 + 0x9E3779B97F4A7C15ull * (i + attempt + 1);
    }
    if (::CompareStringOrdinal(candidate.c_str(), -1, std::wstring(name).c_str(), -1, TRUE) == CSTR_EQUAL) return false;
    step = folder + candidate;
    return ::GetFileAttributesW(step.c_str()) == INVALID_FILE_ATTRIBUTES && ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

// A rename that changes only letter case. Most volumes take it directly; a
// volume that reports success but keeps the old spelling (seen where the file
// system below is case-sensitive) gets it through a free intermediate name.
// MoveFile still refuses to replace anything.
uint32_t MoveCaseOnly(const std::wstring& source, const std::wstring& target) {
    if (!::MoveFileW(source.c_str(), target.c_str())) return LastMoveError();
    const std::wstring wanted(LastComponent(target));
    if (SpelledName(target) == wanted) return kErrorSuccess;
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::wstring step;
        if (!FreeStepName(target, attempt, step)) continue;
        if (!::MoveFileW(target.c_str(), step.c_str())) {
            const DWORD err = ::GetLastError();
            if (err == ERROR_ALREADY_EXISTS || err == ERROR_FILE_EXISTS) continue;
            return err;
        }
        if (::MoveFileW(step.c_str(), target.c_str())) return kErrorSuccess;
        const uint32_t err = LastMoveError();
        ::MoveFileW(step.c_str(), source.c_str());  // put it back under its own name
        return err;
    }
    return kErrorAlreadyExists;
}

// A folder that is a link (a junction or a symbolic link) is renamed as
// itself and never entered, as lstat makes it on POSIX: entering it could
// leave the selection, or walk a loop without end and reach the same files
// again under longer paths. For the Files/Folders choice it is a folder.
// Other reparse points (cloud placeholders and the like) are real folders.
// Wine gives no tag (0) for its links.
EntryKind KindOf(DWORD attrs, DWORD tag) {
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) return EntryKind::kFile;
    if (!(attrs & FILE_ATTRIBUTE_REPARSE_POINT)) return EntryKind::kFolder;
    return tag != IO_REPARSE_TAG_MOUNT_POINT && tag != IO_REPARSE_TAG_SYMLINK && tag != 0 ? EntryKind::kFolder
                                                                                          : EntryKind::kFolderLink;
}

constexpr size_t kMaxHeldFiles = 256;

// The programs that hold any of `files` open, as the Restart Manager names
// them: "Notepad (pid 4242)". Empty when it cannot tell.
std::vector<std::string> ProgramsHolding(const std::vector<std::wstring>& files) {
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    if (::RmStartSession(&session, 0, key) != ERROR_SUCCESS) return {};
    std::vector<LPCWSTR> names;
    for (const auto& f : files) names.push_back(f.c_str());
    std::vector<std::string> out;
    if (::RmRegisterResources(session, static_cast<UINT>(names.size()), names.data(), 0, nullptr, 0, nullptr) ==
        ERROR_SUCCESS) {
        std::vector<RM_PROCESS_INFO> found(8);
        for (int attempt = 0; attempt < 4; ++attempt) {
            UINT needed = 0, count = static_cast<UINT>(found.size());
            DWORD reasons = 0;
            const DWORD status = ::RmGetList(session, &needed, &count, found.data(), &reasons);
            if (status == ERROR_MORE_DATA) {
                found.resize(needed);
                continue;
            }
            if (status == ERROR_SUCCESS)
                for (UINT i = 0; i < count; ++i)
                    out.push_back(Narrow(found[i].strAppName) + " (pid " +
                                  std::to_string(found[i].Process.dwProcessId) + ")");
            break;
        }
    }
    ::RmEndSession(session);
    return out;
}

class Win32FileSystem final : public IFileSystem {
public:
    uint32_t GetAttributes(const std::string& path, Attributes& out) override {
        const std::wstring wide = FileCallPath(path);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return ::GetLastError();
        const DWORD attrs = data.dwFileAttributes;
        out.size = attrs & FILE_ATTRIBUTE_DIRECTORY ? 0 : (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
        DWORD tag = 0;
        if ((attrs & FILE_ATTRIBUTE_DIRECTORY) && (attrs & FILE_ATTRIBUTE_REPARSE_POINT)) {
            // Only a listing tells the reparse tag; unread, it counts as a link.
            WIN32_FIND_DATAW found;
            win::ScopedFind find(::FindFirstFileW(wide.c_str(), &found));
            if (find) tag = found.dwReserved0;
        }
        out.kind = KindOf(attrs, tag);
        return kErrorSuccess;
    }

    // The listing carries each entry's attributes, so no entry needs a status
    // call of its own.
    uint32_t ListFolderEntries(const std::string& folder,
                               const std::function<void(const std::string&, EntryKind)>& each) override {
        std::wstring pattern = Widen(folder);
        if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
        pattern = FileCallPath(pattern + L'*');
        WIN32_FIND_DATAW data;
        win::ScopedFind find(::FindFirstFileW(pattern.c_str(), &data));
        if (!find) {
            const DWORD err = ::GetLastError();
            return err == ERROR_FILE_NOT_FOUND ? kErrorSuccess : err;  // an empty root has no entries at all
        }
        std::string name;
        do {
            const wchar_t* n = data.cFileName;
            if (n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0))) continue;
            name = Narrow(n);
            each(name, KindOf(data.dwFileAttributes, data.dwReserved0));
        } while (::FindNextFileW(find.get(), &data));
        const DWORD err = ::GetLastError();
        if (err != ERROR_NO_MORE_FILES) return err;
        if (!::FindClose(find.release())) return ::GetLastError();
        return kErrorSuccess;
    }

    uint32_t Move(const std::string& folder, const std::string& name, const std::string& newName) override {
        const std::wstring place = Widen(folder) + L'\\';
        const std::wstring source = FileCallPath(place + Widen(name)), target = FileCallPath(place + Widen(newName));
        if (source != target && ::CompareStringOrdinal(source.c_str(), -1, target.c_str(), -1, TRUE) == CSTR_EQUAL)
            return MoveCaseOnly(source, target);
        // MoveFile without MOVEFILE_REPLACE_EXISTING never replaces a target.
        if (::MoveFileW(source.c_str(), target.c_str())) return kErrorSuccess;
        return LastMoveError();
    }

    // Renames go by full paths here: nothing is kept between calls.
    void Paused() override {}

    uint32_t GetWorkingFolder(std::string& out) override {
        const DWORD need = ::GetCurrentDirectoryW(0, nullptr);
        if (need == 0) return ::GetLastError();
        std::wstring buffer(need, L'\0');
        const DWORD got = ::GetCurrentDirectoryW(need, buffer.data());
        if (got == 0 || got >= need) return ::GetLastError();
        buffer.resize(got);
        out = Narrow(buffer);
        return kErrorSuccess;
    }

    uint32_t SetWorkingFolder(const std::string& path) override {
        return ::SetCurrentDirectoryW(FileCallPath(path).c_str()) ? kErrorSuccess : ::GetLastError();
    }

    uint32_t GetTimes(const std::string& path, FileTimes& out) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExW(FileCallPath(path).c_str(), GetFileExInfoStandard, &data)) return ::GetLastError();
        out.creation = ToUnixSeconds(data.ftCreationTime);
        out.modification = ToUnixSeconds(data.ftLastWriteTime);
        out.lastAccess = ToUnixSeconds(data.ftLastAccessTime);
        return kErrorSuccess;
    }

    std::unique_ptr<IReadStream> OpenRead(const std::string& path, uint32_t& error) override {
        win::ScopedHandle file(::CreateFileW(FileCallPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file) {
            error = ::GetLastError();
            return nullptr;
        }
        error = kErrorSuccess;
        return std::make_unique<Win32ReadStream>(std::move(file));
    }

    uint32_t WriteFile(const std::string& path, const std::string& data) override {
        // A new file beside the old, moved over it: the name is replaced,
        // whatever it names, and a crash leaves one of the two whole.
        const std::wstring target = FileCallPath(path);
        const auto sep = target.find_last_of(L"\\/");
        const std::wstring folder = sep == std::wstring::npos ? L"." : target.substr(0, sep);
        std::wstring temporary;
        win::ScopedHandle file;
        for (unsigned attempt = 0; attempt < 100 && !file; ++attempt) {
            temporary = FileCallPath(folder + L"\\.quorlin-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                     std::to_wstring(attempt) + L".tmp");
            file.reset(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
            if (!file && ::GetLastError() != ERROR_FILE_EXISTS) return ::GetLastError();
        }
        if (!file) return kErrorAlreadyExists;
        uint32_t code = kErrorSuccess;
        for (size_t done = 0; done < data.size() && code == kErrorSuccess;) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 30));
            DWORD written = 0;
            if (!::WriteFile(file.get(), data.data() + done, chunk, &written, nullptr))
                code = ::GetLastError();
            else if (written == 0)
                code = ERROR_DISK_FULL;
            done += written;
        }
        if (code == kErrorSuccess && !::FlushFileBuffers(file.get())) code = ::GetLastError();
        if (!::CloseHandle(file.release()) && code == kErrorSuccess) code = ::GetLastError();
        if (code == kErrorSuccess &&
            !::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            code = ::GetLastError();
        if (code != kErrorSuccess) ::DeleteFileW(temporary.c_str());
        return code;
    }

    uint32_t GetIdentity(const std::string& path, bool followLinks, FileIdentity& out) override {
        const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
        win::ScopedHandle file(::CreateFileW(FileCallPath(path).c_str(), 0,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, flags, nullptr));
        if (!file) return ::GetLastError();
        BY_HANDLE_FILE_INFORMATION info;
        if (!::GetFileInformationByHandle(file.get(), &info)) return ::GetLastError();
        out.device = info.dwVolumeSerialNumber;
        out.file = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        return kErrorSuccess;
    }

    // %LOCALAPPDATA% is the user's own by its access list; what is checked
    // here is that the file is a plain file and not a link to elsewhere.
    std::unique_ptr<IReadStream> OpenPrivate(const std::string& path, uint64_t& size, uint32_t& error) override {
        win::ScopedHandle file(::CreateFileW(FileCallPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING,
                                             FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!file) {
            error = ::GetLastError();
            return nullptr;
        }
        BY_HANDLE_FILE_INFORMATION info;
        if (!::GetFileInformationByHandle(file.get(), &info)) {
            error = ::GetLastError();
            return nullptr;
        }
        if ((info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) ||
            ::GetFileType(file.get()) != FILE_TYPE_DISK) {
            error = kErrorNotRegularFile;
            return nullptr;
        }
        size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
        error = kErrorSuccess;
        return std::make_unique<Win32ReadStream>(std::move(file));
    }

    std::unique_ptr<IAppendStream> CreateAppend(const std::string& path, uint32_t& error) override {
        // CREATE_NEW: nothing that is there is ever written over. Others may
        // read the journal while it grows, never write or remove it.
        win::ScopedHandle file(::CreateFileW(FileCallPath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            const DWORD err = ::GetLastError();
            error = err == ERROR_FILE_EXISTS ? kErrorAlreadyExists : err;
            return nullptr;
        }
        // NTFS records a new name in its own log: no flush of the folder
        // exists, nor is one needed.
        error = kErrorSuccess;
        return std::make_unique<Win32AppendStream>(std::move(file));
    }

    uint32_t RemoveFile(const std::string& path) override {
        return ::DeleteFileW(FileCallPath(path).c_str()) ? kErrorSuccess : ::GetLastError();
    }

    std::vector<std::string> Holders(const std::string& path) override {
        // A folder is held through the files in it: those directly inside,
        // as many as a question can wait for.
        std::vector<std::wstring> files = {FileCallPath(path)};
        Attributes attributes;
        if (GetAttributes(path, attributes) == kErrorSuccess && attributes.kind == EntryKind::kFolder)
            (void)ListFolderEntries(path, [&](const std::string& name, EntryKind kind) {
                if (kind == EntryKind::kFile && files.size() < kMaxHeldFiles)
                    files.push_back(FileCallPath(path + "\\" + name));
            });
        return ProgramsHolding(files);
    }

};

}  // namespace

uint32_t StateFolder(std::string& out) {
    std::wstring folder = EnvironmentValue(L"LOCALAPPDATA");
    if (folder.empty()) {
        const std::wstring profile = EnvironmentValue(L"USERPROFILE");
        if (profile.empty()) return ERROR_PATH_NOT_FOUND;
        folder = profile + L"\\AppData\\Local";
    }
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    folder += L"\\Quorlin";
    out = Narrow(folder);
    return MakeFolders(folder);
}

IFileSystem& RealFileSystem() {
    static Win32FileSystem fs;
    return fs;
}

}  // namespace platform
