#pragma once

// The built quorlin run as a user runs it: no terminal on standard input,
// its settings and its journals in a temporary home, its output captured.

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace quorlin_test {

inline std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs quorlin with `args`, from the folder `cwd` when given, with
/// home/settings.json for its settings and home/state for its journals.
/// With `seconds`, a run that takes longer is killed (status 137). `env`
/// goes before the command (NAME=value ...), and standard input is `input`.
inline Result RunQuorlin(const testing_support::TempDir& home, const std::vector<std::string>& args,
                         const std::string& cwd = {}, int seconds = 0, const std::string& env = {},
                         const std::string& input = "/dev/null") {
    std::string command;
    if (!cwd.empty()) command = "cd " + Quote(cwd) + " && ";
    command += env + " QUORLIN_SETTINGS=" + Quote(home / "settings.json") + " XDG_STATE_HOME=" + Quote(home / "state") + " " +
               (seconds ? "timeout -s KILL " + std::to_string(seconds) + " " : std::string()) + Quote(QUORLIN_BINARY);
    for (const auto& a : args) command += " " + Quote(a);
    command += " <" + Quote(input) + " >" + Quote(home / "out") + " 2>" + Quote(home / "err");
    const int raw = std::system(command.c_str());
    Result r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadAll(home / "out");
    r.err = ReadAll(home / "err");
    return r;
}

}  // namespace quorlin_test
