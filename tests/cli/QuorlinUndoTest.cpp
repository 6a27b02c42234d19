// quorlin --undo and --history as a user types them: over temporary folders,
// with the settings and the journals in a temporary home.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "tests/cli/RunQuorlin.h"
#include "tests/support/TempDir.h"

using namespace quorlin_test;
using testing_support::TempDir;

namespace {

using Snap = std::set<std::string>;

struct Fixture {
    TempDir files;
    TempDir home;
    std::string state = home / "state";

    Result Run(const std::vector<std::string>& args) const { return RunQuorlin(home, args); }
    // Adds x_ before the names of `paths`.
    Result Prefix(const std::vector<std::string>& paths, const std::string& prefix = "x_") const {
        std::vector<std::string> args = {"-a", "add-to-beginning", "-s", "add=" + prefix, "--no-folders"};
        for (const auto& p : paths) args.push_back(files / p);
        return Run(args);
    }
};

// A time as --history shows it.
const std::string kTime = "[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}";

bool Matches(const std::string& text, const std::string& pattern) {
    return std::regex_match(text, std::regex(pattern));
}

std::string Escaped(const std::string& s) {
    return std::regex_replace(s, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

TEST(QuorlinUndo, TakesTheLastRunBackAndTheHistoryTellsTheStory) {
    Fixture f;
    f.files.File("a.txt", "a");
    f.files.File("sub/b.txt", "b");
    ASSERT_EQ(f.Prefix({"a.txt", "sub"}).out, "renamed 2, skipped 0, failed 0\n");
    ASSERT_EQ(f.files.Snapshot(), (Snap{"x_a.txt=a", "sub/", "sub/x_b.txt=b"}));

    Result h = f.Run({"--history"});
    EXPECT_EQ(h.status, 0) << h.err;
    const std::string where = Escaped(f.files.str());
    EXPECT_TRUE(Matches(h.out, "#  Started              Items  Run\n"
                               "1  " + kTime + "      2  \"Add to beginning\" in " + where + "\n"))
        << h.out;

    Result u = f.Run({"--undo"});
    EXPECT_EQ(u.status, 0) << u.err;
    EXPECT_EQ(u.out, "renamed back 2, left alone 0, failed 0\n");
    EXPECT_TRUE(Matches(u.err, "quorlin: taking back the last run, \"Add to beginning\" in " + where + ", started " +
                                   kTime + "\n"))
        << u.err;
    EXPECT_EQ(f.files.Snapshot(), (Snap{"a.txt=a", "sub/", "sub/b.txt=b"}));

    h = f.Run({"--history"});
    EXPECT_TRUE(Matches(h.out, "#  Started              Items  Run\n"
                               "1  " + kTime + "      2  undo of \"Add to beginning\" in " + where + "\n"
                               "2  " + kTime + "      2  \"Add to beginning\" in " + where + " \\(taken back by #1\\)\n"))
        << h.out;

    // The undo taken back: renamed forward again.
    u = f.Run({"--undo"});
    EXPECT_EQ(u.out, "renamed back 2, left alone 0, failed 0\n");
    EXPECT_EQ(f.files.Snapshot(), (Snap{"x_a.txt=a", "sub/", "sub/x_b.txt=b"}));

    // The first run once more, by its number: taken back already, so each of
    // its items is not where it left them... but here it is again, and back
    // it goes.
    u = f.Run({"--undo", "3"});
    EXPECT_EQ(u.status, 0) << u.err;
    EXPECT_EQ(f.files.Snapshot(), (Snap{"a.txt=a", "sub/", "sub/b.txt=b"}));
    EXPECT_EQ(f.Run({"--history"}).out.substr(0, 4), "#  S");
}

TEST(QuorlinUndo, WhatChangedSinceIsLeftAloneAndSaidSo) {
    Fixture f;
    f.files.File("a.txt", "a");
    f.files.File("b.txt", "b");
    f.files.File("c.txt", "c");
    ASSERT_EQ(f.Prefix({"a.txt", "b.txt", "c.txt"}).status, 0);
    f.files.File("a.txt", "a new file under the old name");
    std::filesystem::remove(testing_support::U8(f.files / "x_b.txt"));
    const Result u = f.Run({"--undo"});
    EXPECT_EQ(u.status, 1);
    EXPECT_EQ(u.out, "renamed back 1, left alone 2, failed 0\n");
    EXPECT_NE(u.err.find("quorlin: left alone \"" + f.files / "x_b.txt" +
                         "\": not found under the name the run gave it: moved, renamed or deleted since\n"),
              std::string::npos)
        << u.err;
    EXPECT_NE(u.err.find("quorlin: left alone \"" + f.files / "x_a.txt" + "\": its old name \"a.txt\" is taken\n"),
              std::string::npos)
        << u.err;
    EXPECT_EQ(f.files.Snapshot(), (Snap{"a.txt=a new file under the old name", "x_a.txt=a", "c.txt=c"}));
}

TEST(QuorlinUndo, UsageMistakesChangeNothing) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
        std::string out;
    };
    Fixture f;
    f.files.File("a.txt", "a");
    const Case before[] = {
        {{"--undo"}, 2, "quorlin: no run to take back: no journal is kept yet\n", ""},
        {{"--history"}, 0, "", "no runs kept yet\n"},
    };
    for (const auto& c : before) {
        const Result r = f.Run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0];
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, c.out);
    }
    ASSERT_EQ(f.Prefix({"a.txt"}).status, 0);
    const Case cases[] = {
        {{"--undo", "2"}, 2, "quorlin: there is no run 2 to take back (see quorlin --history)\n", ""},
        {{"--undo", "0"}, 2, "quorlin: --undo takes the number of a run that --history lists, not \"0\"\n", ""},
        {{"--undo", "last"}, 2, "quorlin: --undo takes the number of a run that --history lists, not \"last\"\n", ""},
        {{"--undo", "1", f.files / "x_a.txt"}, 2,
         "quorlin: --undo takes no paths: it works on the runs kept in the journals\n", ""},
        {{"--history", f.files.str()}, 2, "quorlin: --history takes no paths: it works on the runs kept in the journals\n",
         ""},
        {{"--undo", "--history"}, 2, "quorlin: --undo and --history do not go together\n", ""},
        {{"--undo", "-a", "make-uppercase"}, 2, "quorlin: --undo goes alone: it takes back a run as it was\n", ""},
    };
    for (const auto& c : cases) {
        const Result r = f.Run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0] << " " << (c.args.size() > 1 ? c.args[1] : "");
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(f.files.Snapshot(), (Snap{"x_a.txt=a"}));
    }
}

// Where no journal can be kept, nothing is renamed, and the message says
// where and why.
TEST(QuorlinUndo, ARunWithoutAJournalRenamesNothing) {
    Fixture f;
    f.files.File("a.txt", "a");
    f.home.File("state/quorlin", "a file where the journal folder belongs");
    const Result r = f.Prefix({"a.txt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "quorlin: the run stopped: its journal cannot be written (" + f.state +
                         "/quorlin: File exists); nothing was renamed\n");
    EXPECT_EQ(r.out, "renamed 0, skipped 0, failed 0; stopped before the end\n");
    EXPECT_EQ(f.files.Snapshot(), (Snap{"a.txt=a"}));
}

TEST(QuorlinUndo, ADamagedJournalIsTakenBackAsFarAsItIsWhole) {
    Fixture f;
    for (int i = 0; i < 10; ++i) f.files.File("f" + std::to_string(i), std::to_string(i));
    std::vector<std::string> names;
    for (int i = 0; i < 10; ++i) names.push_back("f" + std::to_string(i));
    ASSERT_EQ(f.Prefix(names).status, 0);
    const std::string journal = f.state + "/quorlin/run-0000000001.qlj";
    std::string bytes = ReadAll(journal);
    ASSERT_GT(bytes.size(), 200u);
    bytes.resize(bytes.size() / 2);
    std::ofstream(journal, std::ios::binary | std::ios::trunc) << bytes;
    const Result u = f.Run({"--undo"});
    EXPECT_EQ(u.status, 0) << u.err;
    EXPECT_NE(u.err.find("quorlin: the journal of the last run is damaged or cut short; what it holds whole is taken "
                         "back\n"),
              std::string::npos)
        << u.err;
    // The first items are back; the ones the whole part does not hold are not.
    const Snap after = f.files.Snapshot();
    EXPECT_TRUE(after.count("f0=0"));
    EXPECT_TRUE(after.count("x_f9=9"));
    EXPECT_EQ(after.size(), 10u);
}

}  // namespace
