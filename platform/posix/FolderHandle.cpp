#include "platform/posix/FolderHandle.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <utility>

namespace platform {

int FolderHandle::For(std::string_view folder) {
    const bool check = std::exchange(check_, false);
    if (fd_ && folder == path_) {
        if (!check || StillAt(path_)) return fd_.get();
        Close();
    }
    if (folder != candidate_) {
        candidate_.assign(folder);
        return -1;
    }
    Close();
    const std::string path(folder);
    fd_.reset(::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (fd_) path_ = path;
    return fd_.get();
}

void FolderHandle::Moved(const std::string& moved) {
    if (!fd_) return;
    if (path_ == moved ||
        (path_.size() > moved.size() && path_.compare(0, moved.size(), moved) == 0 && path_[moved.size()] == '/'))
        Close();
}

void FolderHandle::Close() {
    (void)fd_.reset();  // a handle opened O_PATH has nothing to write back
    path_.clear();
    candidate_.clear();
}

bool FolderHandle::StillAt(const std::string& path) const {
    struct stat held, named;
    return ::fstat(fd_.get(), &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

}  // namespace platform
