#pragma once

#include <unistd.h>

#include <utility>

namespace platform {

/// Owns a POSIX file descriptor and closes it once, on scope exit; can be
/// moved but not copied.
class ScopedFd {
public:
    ScopedFd() = default;
    explicit ScopedFd(int fd) : fd_(fd) {}
    ~ScopedFd() { reset(); }
    ScopedFd(ScopedFd&& other) noexcept : fd_(other.release()) {}
    ScopedFd& operator=(ScopedFd&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ScopedFd(const ScopedFd&) = delete;
    ScopedFd& operator=(const ScopedFd&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    /// Gives the descriptor up without closing it.
    int release() { return std::exchange(fd_, -1); }
    /// Closes the descriptor held and takes `fd`; the close's own result.
    int reset(int fd = -1) {
        const int result = fd_ >= 0 ? ::close(fd_) : 0;
        fd_ = fd;
        return result;
    }

private:
    int fd_ = -1;
};

}  // namespace platform
