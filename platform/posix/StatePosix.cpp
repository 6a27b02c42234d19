// The state folder, where the journals of the runs live: made for this user
// alone, and refused when anyone else could change what is in it.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/posix/Errno.h"
#include "platform/posix/StatePosix.h"

namespace platform {

namespace {

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

}  // namespace

// A file or folder that this user alone may change: owned by the user and
// writable by nobody else. Whoever else could write there could make an undo
// rename whatever they like.
uint32_t PrivateEntry(const struct stat& st, bool folder) {
    if (folder ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode)) return kErrorNotRegularFile;
    if (st.st_uid != ::geteuid()) return kErrorNotOwner;
    if (st.st_mode & (S_IWGRP | S_IWOTH)) return kErrorOpenToOthers;
    return kErrorSuccess;
}

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

}  // namespace platform
