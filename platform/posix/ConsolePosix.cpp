#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "platform/Console.h"

namespace platform {

namespace {

int descriptor(StandardStream stream) {
    switch (stream) {
        case StandardStream::kInput:
            return STDIN_FILENO;
        case StandardStream::kOutput:
            return STDOUT_FILENO;
        case StandardStream::kError:
            return STDERR_FILENO;
    }
    return STDERR_FILENO;
}

std::string RealFolder(const std::string& folder) {
    std::unique_ptr<char, decltype(&::free)> real(::realpath(folder.c_str(), nullptr), &::free);
    return real ? std::string(real.get()) : folder;
}

// Removes empty and "." components lexically; ".." is left to realpath, which
// knows where a link leads.
std::string tidy(const std::string& path) {
    std::string out;
    size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && path[i] == '/') ++i;
        const size_t end = path.find('/', i);
        const std::string part = path.substr(i, end == std::string::npos ? std::string::npos : end - i);
        i = end == std::string::npos ? path.size() : end;
        if (part.empty() || part == ".") continue;
        out += '/';
        out += part;
    }
    return out.empty() ? "/" : out;
}

}  // namespace

bool IsTerminal(StandardStream stream) {
    return ::isatty(descriptor(stream)) == 1;
}

bool ReadLine(std::string& line) {
    line.clear();
    for (;;) {
        char c;
        const ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return !line.empty();
        if (c == '\n') break;
        line += c;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

void WriteText(StandardStream stream, std::string_view text) {
    const int fd = descriptor(stream);
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // a closed pipe: nobody is reading any more
        text.remove_prefix(static_cast<size_t>(n));
    }
}

int TerminalColumns() {
    struct winsize size;
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0) return 0;
    return size.ws_col;
}

std::string FullPathName(const std::string& path) {
    std::string full = path;
    if (full.empty() || full[0] != '/') {
        std::unique_ptr<char, decltype(&::free)> cwd(::getcwd(nullptr, 0), &::free);
        if (!cwd) return {};
        full = std::string(cwd.get()) + "/" + full;
    }
    full = tidy(full);
    if (full == "/") return full;
    const size_t slash = full.find_last_of('/');
    const std::string name = full.substr(slash + 1);
    if (name == "..") return RealFolder(full);
    const std::string folder = RealFolder(slash == 0 ? "/" : full.substr(0, slash));
    return (folder == "/" ? "" : folder) + "/" + name;
}

}  // namespace platform
