// Preloaded into quorlin by the kill tests: stops the program at a chosen
// point of its run, so that the test can kill it there from outside with
// SIGKILL, as a crash or a power cut would end it. The point is named by
//
//     QLN_KILL_POINT=CALL:N:WHEN
//
// CALL is "write" or "fdatasync" (counted on the journal file only) or
// "renameat2" (the renames of the run); N counts those calls from 1; WHEN is
// "before" the call, "after" it, or for a write "half": half of the bytes
// written, the rest never, as when the power goes in the middle of a write.
// The program stops itself with SIGSTOP; nothing here kills it.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

namespace {

enum class When { kBefore, kHalf, kAfter };

struct Point {
    char call[16] = {};
    long n = 0;
    When when = When::kBefore;
    bool set = false;
};

const Point& ThePoint() {
    static const Point point = [] {
        Point p;
        const char* text = getenv("QLN_KILL_POINT");
        char when[16] = {};
        if (text && sscanf(text, "%15[a-z0-9]:%ld:%15s", p.call, &p.n, when) == 3) {
            p.set = true;
            p.when = strcmp(when, "half") == 0 ? When::kHalf : strcmp(when, "after") == 0 ? When::kAfter : When::kBefore;
        }
        return p;
    }();
    return point;
}

bool IsJournal(int fd) {
    char link[64], target[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, target, sizeof target - 1);
    if (n <= 0) return false;
    target[n] = 0;
    const size_t length = static_cast<size_t>(n);
    return strstr(target, "/quorlin/run-") && length > 4 && strcmp(target + length - 4, ".qlj") == 0;
}

// True when this call of `call`, counted by `counter`, is the chosen one.
bool Chosen(const char* call, long& counter) {
    const Point& p = ThePoint();
    return p.set && strcmp(p.call, call) == 0 && ++counter == p.n;
}

void Stop() {
    raise(SIGSTOP);
}

template <typename F>
F Real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

long g_writes = 0, g_syncs = 0, g_renames = 0;

}  // namespace

extern "C" ssize_t write(int fd, const void* data, size_t size) {
    static const auto real = Real<ssize_t (*)(int, const void*, size_t)>("write");
    if (!ThePoint().set || !IsJournal(fd) || !Chosen("write", g_writes)) return real(fd, data, size);
    switch (ThePoint().when) {
        case When::kBefore:
            Stop();
            break;
        case When::kHalf:
            real(fd, data, size / 2);
            Stop();
            break;
        case When::kAfter: {
            const ssize_t done = real(fd, data, size);
            Stop();
            return done;
        }
    }
    return real(fd, data, size);
}

extern "C" int fdatasync(int fd) {
    static const auto real = Real<int (*)(int)>("fdatasync");
    if (!ThePoint().set || !IsJournal(fd) || !Chosen("fdatasync", g_syncs)) return real(fd);
    if (ThePoint().when == When::kBefore) Stop();
    const int done = real(fd);
    Stop();
    return done;
}

extern "C" int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned int flags) {
    static const auto real = Real<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    if (!ThePoint().set || !Chosen("renameat2", g_renames)) return real(fromDir, from, toDir, to, flags);
    if (ThePoint().when == When::kBefore) Stop();
    const int done = real(fromDir, from, toDir, to, flags);
    Stop();
    return done;
}
