#include <gtest/gtest.h>

#include <deque>

#include "cli/Output.h"
#include "cli/Terminal.h"
#include "cli/TerminalPrompts.h"
#include "platform/FileSystem.h"

namespace {

// Types the given lines, then ends the input; keeps what was written.
class ScriptedTerminal final : public CTerminal {
public:
    explicit ScriptedTerminal(std::deque<std::string> lines) : lines_(std::move(lines)) {}
    bool ReadLine(std::string& line) override {
        if (lines_.empty()) return false;
        line = lines_.front();
        lines_.pop_front();
        return true;
    }
    // The line starts as `initial`; a scripted line replaces it, an empty
    // one keeps it.
    bool EditLine(const std::string& prompt, const std::string& initial, std::string& line) override {
        written += prompt + "[" + initial + "]";
        if (!ReadLine(line)) return false;
        if (line.empty()) line = initial;
        return true;
    }
    void Write(std::string_view text) override { written += text; }
    std::string written;

private:
    std::deque<std::string> lines_;
};

enum Kind { kConfirm, kDuplicate, kIllegal, kTooLong };

int Ask(CTerminalPrompts& p, Kind kind, CNameRequest& r) {
    switch (kind) {
        case kConfirm:
            return p.Confirm(r);
        case kDuplicate:
            return p.Duplicate(r);
        case kIllegal:
            return p.Illegal(r);
        case kTooLong:
            return p.TooLong(r);
    }
    return -1;
}

CNameRequest Request() {
    CNameRequest r;
    r.oldName = "/d/a.txt";
    r.computed = "b.txt";
    r.newName = "b.txt";
    return r;
}

TEST(TerminalPrompts, AnswersAsTheDialogsDo) {
    struct Case {
        Kind kind;
        std::deque<std::string> typed;
        int answer;
        const char* newName;
        int skipped;  // of them chosen, but for the end of the input
        bool ended = false;
    };
    const Case cases[] = {
        {kConfirm, {""}, kAnswerRename, "b.txt", 0},
        {kConfirm, {"R"}, kAnswerRename, "b.txt", 0},
        {kConfirm, {"e", "typed.txt", "r"}, kAnswerRename, "typed.txt", 0},
        {kConfirm, {"e", "typed.txt", "a"}, kAnswerRenameAll, "typed.txt", 0},
        {kConfirm, {"e", "", "r"}, kAnswerRename, "b.txt", 0},  // the edit starts from the name: Enter keeps it
        {kConfirm, {"e", "typed.txt", "s"}, kAnswerSkip, "b.txt", 1},
        {kConfirm, {"q"}, kAnswerSkipAll, "b.txt", 1},
        {kConfirm, {"what", "n", " s "}, kAnswerSkip, "b.txt", 1},  // "n" is not a Confirm answer
        // The end of the input stops the run: nobody is there for the rest.
        {kConfirm, {}, kAnswerSkipAll, "b.txt", 1, true},
        {kConfirm, {"e"}, kAnswerSkipAll, "b.txt", 1, true},
        {kDuplicate, {}, kAnswerSkipAll, "b.txt", 1, true},
        {kDuplicate, {"e", "typed.txt", "n"}, kAnswerAddNumber, "b.txt", 0},
        {kDuplicate, {"e", "c.txt", ""}, kAnswerRename, "c.txt", 0},
        {kDuplicate, {"a", "q"}, kAnswerSkipAll, "b.txt", 1},  // no "Rename all" here
        // Enter on a name that cannot be used skips rather than asking the
        // same question again; renaming it unchanged is refused at once.
        {kDuplicate, {""}, kAnswerSkip, "b.txt", 1},
        {kDuplicate, {"r", "e", "d.txt", "r"}, kAnswerRename, "d.txt", 0},
        {kIllegal, {""}, kAnswerSkip, "b.txt", 1},
        {kIllegal, {"a", "s"}, kAnswerSkip, "b.txt", 1},
        {kIllegal, {"e", "ok.txt", "a"}, kAnswerRenameAll, "ok.txt", 0},
        {kIllegal, {"n", "s"}, kAnswerSkip, "b.txt", 1},
        {kTooLong, {""}, kAnswerSkip, "b.txt", 1},
        {kTooLong, {"e", "short", "r"}, kAnswerRename, "short", 0},
        {kTooLong, {"a", "n", "q"}, kAnswerSkipAll, "b.txt", 1},
    };
    for (const auto& c : cases) {
        ScriptedTerminal terminal(c.typed);
        CTerminalPrompts prompts(terminal, CConflictPolicy::kAsk);
        CNameRequest r = Request();
        std::string label = std::to_string(c.kind) + ":";
        for (const auto& t : c.typed) label += " '" + t + "'";
        EXPECT_EQ(Ask(prompts, c.kind, r), c.answer) << label;
        EXPECT_EQ(r.newName, c.newName) << label;
        EXPECT_EQ(prompts.skipped(), c.skipped) << label;
        EXPECT_EQ(prompts.unchosen(), c.ended ? 1 : 0) << label;
        EXPECT_EQ(prompts.inputEnded(), c.ended) << label;
        EXPECT_EQ(prompts.failed(), 0);
        EXPECT_NE(terminal.written.find("/d/a.txt"), std::string::npos) << label;
        std::string unread;
        EXPECT_FALSE(terminal.ReadLine(unread)) << label << ": left unread: " << unread;
    }
}

// What a question shows: which rename of how many it is about, the paths as
// the person typed them, the item in the way, and the default answer.
TEST(TerminalPrompts, AQuestionSaysWhereItStands) {
    ScriptedTerminal terminal({"e", "", "s"});
    CTerminalPrompts prompts(terminal, CConflictPolicy::kAsk);
    CShownPaths paths;
    const std::string sep(1, platform::kPathSeparator);
    paths.AddGiven(sep + "d" + sep + "a.txt", "d" + sep + "a.txt");
    prompts.SetShownPaths(&paths);
    prompts.SetPositions({{sep + "d" + sep + "a.txt", 3}}, 12);
    CNameRequest r = Request();
    r.oldName = sep + "d" + sep + "a.txt";
    EXPECT_EQ(prompts.Duplicate(r), kAnswerSkip);
    const std::string menu =
        "Rename (r), Add number and rename (n), Skip (s, Enter), Skip all (q), edit the new name (e)? ";
    EXPECT_EQ(terminal.written,
              "3 of 12: Duplicate file name: A file of the same name already exists.\n"
              "  Old name: d" +
                  sep +
                  "a.txt\n"
                  "  Existing: d" +
                  sep +
                  "b.txt\n"
                  "  Computed: b.txt\n"
                  "  New name: b.txt\n" +
                  menu +
                  "  New name: [b.txt]"
                  "  New name: b.txt\n" +
                  menu);
    EXPECT_EQ(prompts.unchosen(), 0) << "a skip the person chose";
}

TEST(TerminalPrompts, PoliciesDecideWithoutReading) {
    struct Case {
        CConflictPolicy policy;
        Kind kind;
        int answer;
        int skipped;
        const char* said;
    };
    const Case cases[] = {
        {CConflictPolicy::kSkip, kDuplicate, kAnswerSkip, 1, "skipped \"/d/a.txt\": \"b.txt\" already exists"},
        {CConflictPolicy::kNumber, kDuplicate, kAnswerAddNumber, 0, "\"b.txt\" already exists; adding a number"},
        {CConflictPolicy::kStop, kDuplicate, kAnswerSkipAll, 1, "stopped at \"/d/a.txt\""},
        {CConflictPolicy::kNumber, kIllegal, kAnswerSkip, 1, "is not a valid file name"},
        {CConflictPolicy::kNumber, kTooLong, kAnswerSkip, 1, "too long"},
        {CConflictPolicy::kStop, kTooLong, kAnswerSkipAll, 1, "stopped at"},
        {CConflictPolicy::kNumber, kConfirm, kAnswerSkip, 1, "no terminal to confirm"},
    };
    for (const auto& c : cases) {
        ScriptedTerminal terminal({"r", "r"});  // would rename if anything were read
        CTerminalPrompts prompts(terminal, c.policy);
        CNameRequest r = Request();
        EXPECT_EQ(Ask(prompts, c.kind, r), c.answer) << c.said;
        EXPECT_EQ(prompts.skipped(), c.skipped) << c.said;
        EXPECT_EQ(prompts.unchosen(), c.skipped) << "nobody chose: " << c.said;
        EXPECT_NE(terminal.written.find(c.said), std::string::npos) << terminal.written;
        EXPECT_EQ(std::count(terminal.written.begin(), terminal.written.end(), '\n'), 1) << terminal.written;
        std::string unread;
        EXPECT_TRUE(terminal.ReadLine(unread)) << "nothing was read";
    }
}

TEST(TerminalPrompts, ErrorsAreCountedAndSkipAllStops) {
    struct Case {
        CConflictPolicy policy;
        std::deque<std::string> typed;
        int answer;
        bool inUse = false;  // another program holds the file: "Try again" is offered
    };
    const Case cases[] = {
        {CConflictPolicy::kAsk, {""}, kAnswerSkip},          {CConflictPolicy::kAsk, {"x", "q"}, kAnswerSkipAll},
        {CConflictPolicy::kAsk, {}, kAnswerSkipAll},         {CConflictPolicy::kSkip, {}, kAnswerSkip},
        {CConflictPolicy::kNumber, {}, kAnswerSkip},         {CConflictPolicy::kStop, {}, kAnswerSkipAll},
        {CConflictPolicy::kAsk, {"t", "s"}, kAnswerSkip},    {CConflictPolicy::kAsk, {"t"}, kAnswerTryAgain, true},
        {CConflictPolicy::kSkip, {}, kAnswerSkip, true},
    };
    for (const auto& c : cases) {
        ScriptedTerminal terminal(c.typed);
        CTerminalPrompts prompts(terminal, c.policy);
        CErrorReport report{"Cannot rename", "The file cannot be renamed.", "/d/a.txt", 5, "Access is denied.", {}, false};
        if (c.inUse) {
            report.holders = {"Notepad (pid 42)", "Viewer (pid 7)"};
            report.canRetry = true;
        }
        EXPECT_EQ(prompts.DefaultError(report), c.answer);
        EXPECT_EQ(prompts.failed(), c.answer == kAnswerTryAgain ? 0 : 1) << "a try again is no failure yet";
        EXPECT_EQ(prompts.skipped(), 0);
#ifdef _WIN32
        std::string said = "quorlin: Cannot rename: /d/a.txt: Access is denied. (error 5)";
#else
        std::string said = "quorlin: Cannot rename: /d/a.txt: Access is denied.";  // the system's words, no code
#endif
        said += c.inUse ? "; in use by Notepad (pid 42), Viewer (pid 7)\n" : "\n";
        EXPECT_NE(terminal.written.find(said), std::string::npos) << terminal.written;
    }
}

TEST(StatusLine, IsWrittenOverAndClearedBeforeMessages) {
    ScriptedTerminal terminal({});
    {
        CStatusLine status(terminal);
        status.Show("quorlin: 10 items read...");
        status.Show("quorlin: 9...");
        CTerminalPrompts prompts(terminal, CConflictPolicy::kSkip, &status);
        CNameRequest r = Request();
        prompts.Duplicate(r);
        status.Show("x");
    }
    EXPECT_EQ(terminal.written,
              "\rquorlin: 10 items read...\rquorlin: 9...            \rquorlin: 9...\r             \r"
              "quorlin: skipped \"/d/a.txt\": \"b.txt\" already exists\n\rx\r \r");
}

}  // namespace
