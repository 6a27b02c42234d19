#include <gtest/gtest.h>

#include <deque>

#include "cli/Terminal.h"
#include "cli/TerminalPrompts.h"

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
        int skipped;
    };
    const Case cases[] = {
        {kConfirm, {""}, kAnswerRename, "b.txt", 0},
        {kConfirm, {"R"}, kAnswerRename, "b.txt", 0},
        {kConfirm, {"e", "typed.txt", "r"}, kAnswerRename, "typed.txt", 0},
        {kConfirm, {"e", "typed.txt", "a"}, kAnswerRenameAll, "typed.txt", 0},
        {kConfirm, {"e", "", "r"}, kAnswerRename, "b.txt", 0},
        {kConfirm, {"e", "typed.txt", "s"}, kAnswerSkip, "b.txt", 1},
        {kConfirm, {"q"}, kAnswerSkipAll, "b.txt", 1},
        {kConfirm, {"what", "n", " s "}, kAnswerSkip, "b.txt", 1},  // "n" is not a Confirm answer
        {kConfirm, {}, kAnswerClosed, "b.txt", 1},
        {kConfirm, {"e"}, kAnswerClosed, "b.txt", 1},
        {kDuplicate, {"e", "typed.txt", "n"}, kAnswerAddNumber, "b.txt", 0},
        {kDuplicate, {"e", "c.txt", ""}, kAnswerRename, "c.txt", 0},
        {kDuplicate, {"a", "q"}, kAnswerSkipAll, "b.txt", 1},  // no "Rename all" here
        {kIllegal, {"e", "ok.txt", "a"}, kAnswerRenameAll, "ok.txt", 0},
        {kIllegal, {"n", "s"}, kAnswerSkip, "b.txt", 1},
        {kTooLong, {"e", "short", "r"}, kAnswerRename, "short", 0},
        {kTooLong, {"a", "n", "q"}, kAnswerSkipAll, "b.txt", 1},
    };
    for (const auto& c : cases) {
        ScriptedTerminal terminal(c.typed);
        CTerminalPrompts prompts(terminal, CConflictPolicy::kAsk);
        CNameRequest r = Request();
        const std::string label = std::to_string(c.kind) + ": " + std::to_string(c.typed.size()) + " lines";
        EXPECT_EQ(Ask(prompts, c.kind, r), c.answer) << label;
        EXPECT_EQ(r.newName, c.newName) << label;
        EXPECT_EQ(prompts.skipped(), c.skipped) << label;
        EXPECT_EQ(prompts.failed(), 0);
        EXPECT_NE(terminal.written.find("/d/a.txt"), std::string::npos) << label;
    }
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
    };
    const Case cases[] = {
        {CConflictPolicy::kAsk, {""}, kAnswerSkip},  {CConflictPolicy::kAsk, {"x", "q"}, kAnswerSkipAll},
        {CConflictPolicy::kAsk, {}, kAnswerClosed},  {CConflictPolicy::kSkip, {}, kAnswerSkip},
        {CConflictPolicy::kNumber, {}, kAnswerSkip}, {CConflictPolicy::kStop, {}, kAnswerSkipAll},
    };
    for (const auto& c : cases) {
        ScriptedTerminal terminal(c.typed);
        CTerminalPrompts prompts(terminal, c.policy);
        CErrorReport report{"Cannot rename", "The file cannot be renamed.", "/d/a.txt", 5, "Access is denied."};
        EXPECT_EQ(prompts.DefaultError(report), c.answer);
        EXPECT_EQ(prompts.failed(), 1);
        EXPECT_EQ(prompts.skipped(), 0);
        EXPECT_NE(terminal.written.find("quorlin: Cannot rename: /d/a.txt: Access is denied. (error 5)\n"),
                  std::string::npos)
            << terminal.written;
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
