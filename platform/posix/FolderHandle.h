#pragma once

#include <string>
#include <string_view>

#include "platform/posix/ScopedFd.h"

namespace platform {

/// A run renames item after item in the same folder. Through a handle on the
/// folder the kernel walks the folder's path once, not twice per rename. The
/// handle is opened on the second rename in a row in one folder and dropped
/// when that folder, or one above it, is renamed. After the caller waited for
/// the user it is checked against the path before its next use: the folder
/// may have been moved and another made under its name meanwhile, and the
/// rename must act on the item at the path that the user was shown.
class FolderHandle {
public:
    /// The handle of `folder`, or -1 when renames there go by full paths.
    int For(std::string_view folder);
    /// `moved` is no longer where it was.
    void Moved(const std::string& moved);
    /// The caller waited: the handle is checked before its next use.
    void Paused() { check_ = true; }
    void Close();

private:
    bool StillAt(const std::string& path) const;

    ScopedFd fd_;
    bool check_ = false;
    std::string path_;
    std::string candidate_;
};

}  // namespace platform
