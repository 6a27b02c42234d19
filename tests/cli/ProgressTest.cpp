// The progress line of a long run, on a clock the test moves.
#include <gtest/gtest.h>

#include "cli/Progress.h"
#include "cli/Terminal.h"
#include "tests/support/NoJournalFileSystem.h"

namespace {

class Written final : public CTerminal {
public:
    bool ReadLine(std::string&) override { return false; }
    bool EditLine(const std::string&, const std::string&, std::string&) override { return false; }
    void Write(std::string_view text) override { lines.emplace_back(text); }
    std::vector<std::string> lines;
};

// Every call succeeds at once.
class Instant final : public NoJournalFileSystem {
public:
    uint32_t getAttributes(const std::string&, platform::Attributes&) override { return 0; }
    uint32_t listFolderEntries(const std::string&,
                               const std::function<void(const std::string&, platform::EntryKind)>&) override {
        return 0;
    }
    uint32_t move(const std::string&, const std::string&) override { return 0; }
    void paused() override {}
    uint32_t getCurrentDirectory(std::string&) override { return 0; }
    uint32_t setCurrentDirectory(const std::string&) override { return 0; }
    uint32_t getTimes(const std::string&, platform::FileTimes&) override { return 0; }
    std::unique_ptr<platform::IReadStream> openRead(const std::string&, uint32_t& error) override {
        error = 2;
        return nullptr;
    }
    uint32_t writeFile(const std::string&, const std::string&) override { return 0; }
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
        Instant inner;
        Written terminal;
        CStatusLine status(terminal);
        auto clock = CProgressFileSystem::Clock::time_point{};
        CProgressFileSystem fs(inner, &status, [&] { return clock; });
        for (size_t i = 0; i < c.renames; ++i) {
            clock += c.perRename;
            fs.move("a", "b");
        }
        EXPECT_EQ(fs.renamed(), static_cast<int>(c.renames));
        EXPECT_GE(terminal.lines.size(), c.fewest) << c.perRename.count() << " ms x " << c.renames;
        EXPECT_LE(terminal.lines.size(), c.most) << c.perRename.count() << " ms x " << c.renames;
        if (!terminal.lines.empty()) {
            EXPECT_NE(terminal.lines.back().find(" renamed..."), std::string::npos) << terminal.lines.back();
        }
    }
}

TEST(Progress, NothingWithoutAStatusLine) {
    Instant inner;
    auto clock = CProgressFileSystem::Clock::time_point{};
    CProgressFileSystem fs(inner, nullptr, [&] {
        clock += std::chrono::seconds(1);
        return clock;
    });
    platform::Attributes attributes;
    for (int i = 0; i < 100; ++i) fs.getAttributes("a", attributes);
    EXPECT_EQ(fs.read(), 100);
}

}  // namespace
