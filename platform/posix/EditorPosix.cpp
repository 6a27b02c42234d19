#include "platform/Editor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/posix/Errno.h"
#include "platform/posix/ScopedFd.h"

namespace platform {

uint32_t WriteTempFile(const std::string& prefix, const std::string& suffix, const std::string& data,
                       std::string& path) {
    const char* tmp = std::getenv("TMPDIR");
    std::string name = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "XXXXXX" + suffix;
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    // mkstemps makes the file 0600 and never opens one that is there.
    const int fd = mkstemps(buffer.data(), static_cast<int>(suffix.size()));
    if (fd < 0) return FromErrno(errno, path.empty() ? name : path);
    ScopedFd file(fd);
    path.assign(buffer.data());
    for (size_t done = 0; done < data.size();) {
        const ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const uint32_t code = FromErrno(errno, path.empty() ? name : path);
            unlink(path.c_str());
            return code;
        }
        done += static_cast<size_t>(n);
    }
    return 0;
}

std::string ChosenEditor() {
    for (const char* variable : {"VISUAL", "EDITOR"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    // Debian's own choice of editor, which the system's administrator sets.
    if (access("/usr/bin/sensible-editor", X_OK) == 0) return "sensible-editor";
    return "vi";
}

int RunEditor(const std::string& editor, const std::string& file) {
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        // The shell splits the editor's command line as the user wrote it;
        // the file is one argument, whatever its name holds.
        const std::string command = editor + " \"$1\"";
        execl("/bin/sh", "sh", "-c", command.c_str(), "sh", file.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace platform
