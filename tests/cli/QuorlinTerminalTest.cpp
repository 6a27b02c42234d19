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

// Standard output goes to `outFile`, or with an empty name to the terminal
// too; `environment` is set in the program's environment ("NAME=value").
Session RunOnTerminal(const std::string& settings, const std::string& outFile, const std::vector<std::string>& args,
                      const std::vector<Step>& steps, const std::vector<std::string>& environment = {}) {
    std::vector<std::string> argv = {QUORLIN_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargs;
    for (auto& a : argv) cargs.push_back(a.data());
    cargs.push_back(nullptr);

    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
        setenv("QUORLIN_SETTINGS", settings.c_str(), 1);
        // The journals beside the settings, never in the home of whoever runs the tests.
        setenv("XDG_STATE_HOME", (settings + ".state").c_str(), 1);
        // A terminal a person would have, whatever the test runner's is.
        setenv("TERM", "xterm", 1);
        unsetenv("NO_COLOR");
        for (const auto& variable : environment) {
            const auto eq = variable.find('=');
            setenv(variable.substr(0, eq).c_str(), variable.substr(eq + 1).c_str(), 1);
        }
        if (!outFile.empty()) {
            const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (out < 0 || dup2(out, 1) < 0) _exit(127);
        }
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
    if (!outFile.empty()) s.out = ReadAll(outFile);
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

// Ctrl+A, Ctrl+K: to the start of the line, and cut to its end. (Not
// Ctrl+U: should the keys arrive before the editor takes over the terminal,
// the terminal itself would take that one.) Ctrl+B moves one character left.
const std::string kKillLine = "\x01\x0b";

TEST(QuorlinOnATerminal, AnswersToTheQuestions) {
    const std::vector<std::string> replace = {
        "-a",   "Replace at beginning", "-s", "find=a", "-s", "replace=b", "-c", "name", "--sort",
        "name", "--no-folders"};
    const Case cases[] = {
        // The new name is edited where it stands: the line starts as the
        // computed name.
        {"duplicate, the name edited from the computed one",
         {{menu, "e\n"},
          {"New name: b1.txt", "\x02\x02\x02\x02_edited\n"},
          {"New name: b1_edited.txt", ""},
          {menu, "r\n"}},
         0,
         "renamed 1, skipped 0, failed 0\n",
         {"b1_edited.txt=1", "b1.txt=x"}},
        {"duplicate, the name typed anew",
         {{menu, "e\n"},
          {"New name: b1.txt", kKillLine + "typed.txt\n"},
          {"New name: typed.txt", ""},
          {menu, "\n"}},  // edited: Enter renames
         0,
         "renamed 1, skipped 0, failed 0\n",
         {"typed.txt=1", "b1.txt=x"}},
        {"duplicate, a number added",
         {{menu, "n\n"}},
         0,
         "renamed 1, skipped 0, failed 0\n",
         {"b11.txt=1", "b1.txt=x"}},
        // A skip the person chose is done as asked.
        {"duplicate, an unknown letter and then skip",
         {{menu, "z\n"}, {"one of the letters shown", ""}, {menu, "s\n"}},
         0,
         "renamed 0, skipped 1, failed 0\n",
         {"a1.txt=1", "b1.txt=x"}},
        // Enter never asks the same question again: unedited, it skips.
        {"duplicate, Enter", {{menu, "\n"}}, 0, "renamed 0, skipped 1, failed 0\n", {"a1.txt=1", "b1.txt=x"}},
        // The end of the input stops the run: nobody chose that skip.
        {"duplicate, the input ended",
         {{menu, "\x04"}},
         1,
         "renamed 0, skipped 1, failed 0; stopped before the end\n",
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
        // Which rename it is, and the item in the way.
        EXPECT_NE(s.terminal.find("1 of 1: Duplicate file name: A file of the same name already exists."),
                  std::string::npos)
            << c.label << "\n"
            << s.terminal;
        EXPECT_NE(s.terminal.find("  Existing: " + files / "b1.txt"), std::string::npos) << c.label << "\n"
                                                                                         << s.terminal;
        // Each answer settles the question: none is asked twice.
        size_t asked = 0;
        for (size_t at = 0; (at = s.terminal.find("Duplicate file name", at)) != std::string::npos; ++at) ++asked;
        EXPECT_EQ(asked, 1u) << c.label << "\n" << s.terminal;
    }
}

TEST(QuorlinOnATerminal, ConfirmingEachRename) {
    const Case cases[] = {
        // Enter takes the default button; "Rename all" stops the questions.
        {"rename, then rename all",
         {{"1 of 3: Confirm", ""}, {menu, "\n"}, {"2 of 3: Confirm", ""}, {menu, "a\n"}},
         0,
         "renamed 3, skipped 0, failed 0\n",
         {"x_a.txt=a", "x_b.txt=b", "x_c.txt=c"}},
        {"skip one, edit one, skip all",
         {{menu, "s\n"},
          {menu, "e\n"},
          {"New name: x_b.txt", kKillLine + "mine.txt\n"},
          {"New name: mine.txt", ""},
          {menu, "r\n"},
          {"3 of 3: Confirm", ""},
          {menu, "q\n"}},
         0,  // every skip was chosen
         "renamed 1, skipped 2, failed 0; stopped before the end\n",
         {"a.txt=a", "mine.txt=b", "c.txt=c"}},
        {"the input ends at the second question",
         {{menu, "r\n"}, {"2 of 3", ""}, {menu, "\x04"}},
         1,
         "renamed 1, skipped 1, failed 0; stopped before the end\n",
         {"x_a.txt=a", "b.txt=b", "c.txt=c"}},
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

// --edit shows what changed and asks first, on a terminal: only "y" renames;
// --yes renames without the question.
TEST(QuorlinOnATerminal, AnEditAsksBeforeItRenames) {
    const Case cases[] = {
        {"yes", {{"Rename 1 item as shown? [y/N] ", "y\n"}}, {0, "renamed 1, skipped 0, failed 0\n", {"z.txt=a", "b.txt=b"}}},
        {"no", {{"Rename 1 item as shown? [y/N] ", "n\n"}}, {0, "", {"a.txt=a", "b.txt=b"}}},
        {"--yes", {}, {0, "renamed 1, skipped 0, failed 0\n", {"z.txt=a", "b.txt=b"}}},
    };
    for (const auto& c : cases) {
        TempDir files, home;
        files.File("a.txt", "a");
        files.File("b.txt", "b");
        std::vector<std::string> args = {"--edit", "--no-folders", files.str()};
        if (c.steps.empty()) args.insert(args.begin(), "--yes");
        const Session s = RunOnTerminal(home / "settings.json", home / "out", args, c.steps,
                                        {"EDITOR=sed -i s/^a.txt$/z.txt/", "TMPDIR=" + home.str()});
        ASSERT_TRUE(s.finished) << c.label << "\n" << s.terminal;
        EXPECT_EQ(s.status, c.outcome.status) << c.label << "\n" << s.terminal;
        // The preview of what changed comes first, then what the run did.
        EXPECT_NE(s.out.find("a.txt  z.txt"), std::string::npos) << c.label << "\n" << s.out;
        const std::string summary = c.outcome.summary;
        EXPECT_EQ(s.out.substr(s.out.size() - std::min(s.out.size(), summary.size())), summary) << c.label;
        EXPECT_EQ(s.terminal.find("[y/N]") != std::string::npos, !c.steps.empty()) << c.label;
        EXPECT_EQ(files.Snapshot(), c.outcome.after) << c.label << "\n" << s.terminal;
    }
}

// The preview's marks in colour on a terminal, unless NO_COLOR says no;
// never in a file.
TEST(QuorlinOnATerminal, ColoursOnlyOnATerminalThatWantsThem) {
    struct ColourCase {
        const char* label;
        std::vector<std::string> environment;
        bool toFile;
        bool coloured;
    };
    const ColourCase cases[] = {
        {"a terminal", {}, false, true},
        {"NO_COLOR", {"NO_COLOR=1"}, false, false},
        {"NO_COLOR empty", {"NO_COLOR="}, false, true},
        {"a file", {}, true, false},
    };
    for (const auto& c : cases) {
        TempDir files, home;
        files.File("b.txt", "a");
        files.File("B.TXT", "b");
        const Session s = RunOnTerminal(home / "settings.json", c.toFile ? home / "out" : "",
                                        {"-p", "-a", "make-uppercase", files / "b.txt"}, {}, c.environment);
        ASSERT_TRUE(s.finished) << c.label;
        EXPECT_EQ(s.status, 1) << c.label << ": a conflict\n" << s.terminal;
        const std::string shown = c.toFile ? s.out : s.terminal;
        EXPECT_NE(shown.find("name taken"), std::string::npos) << c.label << "\n" << shown;
        EXPECT_EQ(shown.find("\x1b[1;31mname taken\x1b[0m") != std::string::npos, c.coloured) << c.label << "\n" << shown;
        EXPECT_EQ(shown.find('\x1b') != std::string::npos, c.coloured) << c.label << "\n" << shown;
        EXPECT_EQ(files.Snapshot(), (Snap{"b.txt=a", "B.TXT=b"}));
    }
}

}  // namespace
