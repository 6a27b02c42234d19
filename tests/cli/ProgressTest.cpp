// The progress line of a long run, on a clock the test moves.
#include <gtest/gtest.h>

#include "cli/Progress.h"
#include "cli/Terminal.h"

namespace {

class Written final : public CTerminal {
public:
    bool ReadLine(std::string&) override { return false; }
    bool EditLine(const std::string&, const std::string&, std::string&) override { return false; }
    void Write(std::string_view text) override { lines.emplace_back(text); }
    std::vector<std::string> lines;
};

TEST(Progress, ShownAfterASecondAFewTimesASecond) {
    using namespace std::chrono_literals;
    struct Case {
        std::chrono::milliseconds perRename;
        size_t renames;
        size_t fewest, most;  // lines shown
    };
    const Case cases[] = {
        {0ms, 5000, 0, 0},     // quick runs show nothing
        {10ms, 99, 0, 0},      // under a second
        {10ms, 1000, 25, 45},  // 9 seconds past the first, at most 5 a second
        {1000ms, 64, 1, 64},   // slow renames: shown as the checks allow
    };
    for (const auto& c : cases) {
        Written terminal;
        CStatusLine status(terminal);
        auto clock = CProgressLine::Clock::time_point{};
        CProgressLine line(&status, [&] { return clock; });
        CRunProgress progress;
        for (size_t i = 0; i < c.renames; ++i) {
            clock += c.perRename;
            ++progress.renamed;
            line.Show(progress);
        }
        EXPECT_GE(terminal.lines.size(), c.fewest) << c.perRename.count() << " ms x " << c.renames;
        EXPECT_LE(terminal.lines.size(), c.most) << c.perRename.count() << " ms x " << c.renames;
        if (!terminal.lines.empty()) {
            EXPECT_NE(terminal.lines.back().find(" renamed..."), std::string::npos) << terminal.lines.back();
        }
    }
}

// Without a status line nothing is shown, and the clock is not even read.
TEST(Progress, NothingWithoutAStatusLine) {
    int reads = 0;
    CProgressLine line(nullptr, [&] {
        ++reads;
        return CProgressLine::Clock::time_point{} + std::chrono::seconds(reads);
    });
    for (size_t i = 0; i < 100; ++i) line.Show({i, 0});
    EXPECT_EQ(reads, 1);
}

}  // namespace
