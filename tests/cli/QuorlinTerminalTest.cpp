// The built quorlin program with a terminal: its questions are answered
// through a pseudo-terminal as a user would type the answers.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>

#include "tests/support/TempDir.h"

using testing_support::TempDir;

namespace {

using Snap = std::set<std::string>;

// Wait for `prompt` in what the program wrote since the last answer, then type `answer`.
struct Step {
    std::string prompt;
    std::string answer;
};

struct Session {
    int status = -1;
    std::string terminal;  // everything the terminal showed, echoed answers included
    std::string out;       // standard output, kept apart
    bool finished = false;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Session RunOnTerminal(const std::string& settings, const std::string& outFile, const std::vector<std::string>& args,
                      const std::vector<Step>& steps) {
    std::vector<std::string> argv = {QUORLIN_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargs;
    for (auto& a : argv) cargs.push_back(a.data());
    cargs.push_back(nullptr);

    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
        setenv("QUORLIN_SETTINGS", settings.c_str(), 1);
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || dup2(out, 1) < 0) _exit(127);
        execv(cargs[0], cargs.data());
        _exit(127);
    }
    Session s;
    if (pid < 0) return s;

    size_t step = 0, seen = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
        if (step < steps.size()) {
            const size_t at = s.terminal.find(steps[step].prompt, seen);
            if (at != std::string::npos) {
                const std::string& typed = steps[step].answer;
                if (write(master, typed.data(), typed.size()) != static_cast<ssize_t>(typed.size())) break;
                seen = at + steps[step].prompt.size();
                ++step;
                continue;
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
        char buffer[4096];
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) {  // the program ended and closed the terminal
            s.finished = true;
            break;
        }
        s.terminal.append(buffer, static_cast<size_t>(n));
    }
    if (!s.finished) kill(pid, SIGKILL);
    int raw = 0;
    waitpid(pid, &raw, 0);
    close(master);
    s.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    s.out = ReadAll(outFile);
    return s;
}

// How a session ended.
struct Outcome {
    int status;
    const char* summary;
    Snap after;
};

// The end of every question's menu, where it waits for the answer.
const std::string menu = "edit the new name (e)? ";

// What is typed, and what comes of it.
struct Case {
    const char* label;
    std::vector<Step> steps;
    Outcome outcome;
};

void ExpectOutcome(const std::string& label, const Session& s, const TempDir& files, const Outcome& want) {
    ASSERT_TRUE(s.finished) << label << ": the program did not end; it showed:\n" << s.terminal;
    EXPECT_EQ(s.status, want.status) << label << "\n" << s.terminal;
    EXPECT_EQ(s.out, want.summary) << label << "\n" << s.terminal;
    EXPECT_EQ(files.Snapshot(), want.after) << label << "\n" << s.terminal;
}

TEST(QuorlinOnATerminal, AnswersToTheQuestions) {
    const std::vector<std::string> replace = {
        "-a",   "Replace at beginning", "-s", "find=a", "-s", "replace=b", "-c", "name", "--sort",
        "name", "--no-folders"};
    const Case cases[] = {
        {"duplicate, the name edited",
         {{menu, "e\n"}, {"keeps it): ", "typed.txt\n"}, {"New name: typed.txt", ""}, {menu, "r\n"}},
         0,
         "renamed 1, skipped 0, failed 0\n",
         {"typed.txt=1", "b1.txt=x"}},
        {"duplicate, a number added",
         {{menu, "n\n"}},
         0,
         "renamed 1, skipped 0, failed 0\n",
         {"b11.txt=1", "b1.txt=x"}},
        {"duplicate, an unknown letter and then skip",
         {{menu, "z\n"}, {"one of the letters shown", ""}, {menu, "s\n"}},
         1,
         "renamed 0, skipped 1, failed 0\n",
         {"a1.txt=1", "b1.txt=x"}},
        // The end of the input closes the question as the dialog's close box would.
        {"duplicate, the input ended",
         {{menu, "\x04"}},
         1,
         "renamed 0, skipped 1, failed 0\n",
         {"a1.txt=1", "b1.txt=x"}},
    };
    for (const auto& c : cases) {
        TempDir files, home;
        files.File("a1.txt", "1");
        files.File("b1.txt", "x");
        std::vector<std::string> args = replace;
        args.push_back(files / "a1.txt");
        const Session s = RunOnTerminal(home / "settings.json", home / "out", args, c.steps);
        ExpectOutcome(c.label, s, files, c.outcome);
        EXPECT_NE(s.terminal.find("Duplicate file name: A file of the same name already exists."), std::string::npos)
            << c.label << "\n"
            << s.terminal;
    }
}

TEST(QuorlinOnATerminal, ConfirmingEachRename) {
    const Case cases[] = {
        // Enter takes the default button; "Rename all" stops the questions.
        {"rename, then rename all",
         {{menu, "\n"}, {menu, "a\n"}},
         0,
         "renamed 3, skipped 0, failed 0\n",
         {"x_a.txt=a", "x_b.txt=b", "x_c.txt=c"}},
        {"skip one, edit one, skip all",
         {{menu, "s\n"},
          {menu, "e\n"},
          {"keeps it): ", "mine.txt\n"},
          {"New name: mine.txt", ""},
          {menu, "r\n"},
          {menu, "q\n"}},
         1,
         "renamed 1, skipped 2, failed 0; stopped before the end\n",
         {"a.txt=a", "mine.txt=b", "c.txt=c"}},
    };
    for (const auto& c : cases) {
        TempDir files, home;
        files.File("a.txt", "a");
        files.File("b.txt", "b");
        files.File("c.txt", "c");
        const Session s = RunOnTerminal(
            home / "settings.json", home / "out",
            {"-a", "Add to beginning", "-s", "add=x_", "--sort", "name", "--no-folders", "--confirm", files.str()},
            c.steps);
        ExpectOutcome(c.label, s, files, c.outcome);
    }
}

}  // namespace
