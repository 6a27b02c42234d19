#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/FileSystem.h"
#include "platform/posix/Errno.h"

namespace platform {

namespace {

bool ParentExists(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return true;
    const std::string parent = slash == 0 ? "/" : path.substr(0, slash);
    struct stat st;
    return ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

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

namespace {

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

}  // namespace

std::string ErrorMessage(uint32_t code) {
    if (const char* own = OwnErrorMessage(code)) return own;
    // The system's own words, as every other program on it says them.
    const int err = ToErrno(code);
    if (err < 0) return "Unknown error " + std::to_string(code);
    return std::strerror(err);
}

}  // namespace platform
