// quorlin --undo and --history as a user types them: over temporary folders,
// with the settings and the journals in a temporary home.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <regex>

#include "core/Journal.h"
#include "core/JournalRecords.h"
#include "platform/FileSystem.h"
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

// A journal in the state folder that renamed x to y in `folder`, claiming to
// have run in `where`: whole and sound, checksums and all.
std::string WriteJournal(const std::string& state, const std::string& folder, const std::string& where) {
    CJournalHeader header;
    header.what = "Add to beginning";
    header.where = where;
    header.time = 1700000000;
    std::filesystem::create_directories(state + "/quorlin");
    CRunJournal journal(platform::RealFileSystem(), state + "/quorlin", header);
    const uint32_t item = journal.Reserve();
    journal.Intend(item, folder, "x", "y", false);
    EXPECT_TRUE(journal.Secure());
    journal.Settled(item);
    EXPECT_TRUE(journal.End(false));
    return journal.path();
}

// The journal an earlier version left of a run whose one rename was
// skipped: ended, with nothing to take back.
void WriteEmptyJournal(const std::string& state, const std::string& folder) {
    std::string bytes(journal::kMagic);
    journal::RecordWriter w(bytes);
    w.Start(journal::kBegin);
    w.U8(0);
    w.I64(1700000001);
    w.Text("Make UPPERCASE");
    w.Text(folder);
    w.Text("");
    w.Finish();
    w.Start(journal::kFolder);
    w.U32(0);
    w.Text(folder);
    w.Finish();
    w.Start(journal::kIntent);
    w.U32(0);
    w.U32(0);
    w.U8(0);
    w.Text("a");
    w.Text("A");
    w.Finish();
    w.Start(journal::kNotDone);
    w.U32(0);
    w.U32(183);
    w.Finish();
    w.Start(journal::kSettled);
    w.U32(0);
    w.Finish();
    w.Start(journal::kEnd);
    w.U8(0);
    w.Finish();
    std::ofstream(state + "/quorlin/run-0000000009.qlj", std::ios::binary) << bytes;
}

// An undo renames wherever its journal says: a journal that another user
// could have written, or that names places it cannot name, is refused, and
// so is a state folder that others may write to. Nothing is renamed, and
// the message says what to do. A journal that is no file at all (a pipe, a
// device) neither hangs the program nor fills its memory.
TEST(QuorlinUndo, JournalsThatCannotBeTrustedAreRefused) {
    struct Case {
        const char* label;
        std::function<void(const Fixture&)> plant;
        const char* says;
        bool rootOnly = false;
    };
    const Case cases[] = {
        {"a folder that is no full path",
         [](const Fixture& f) { WriteJournal(f.state, "rel", f.files.str()); },
         "is refused: it names a folder that is not a full path, \"rel\": remove it; nothing was renamed\n"},
        {"a folder outside the place it names",
         [](const Fixture& f) { WriteJournal(f.state, f.files / "elsewhere", "/somewhere/else"); },
         "is refused: it names a folder outside \"/somewhere/else\""},
        {"another user's journal",
         [](const Fixture& f) {
             ASSERT_EQ(chown(WriteJournal(f.state, f.files / "rel", f.files.str()).c_str(), 65534, 65534), 0);
         },
         "is refused: it belongs to another user: remove it, or make it yours (chown); nothing was renamed\n", true},
        {"a journal others may write to",
         [](const Fixture& f) { chmod(WriteJournal(f.state, f.files / "rel", f.files.str()).c_str(), 0620); },
         "is refused: other users may write to it: make it yours alone (chmod go-w); nothing was renamed\n"},
        {"a state folder others may write to",
         [](const Fixture& f) {
             WriteJournal(f.state, f.files / "rel", f.files.str());
             chmod((f.state + "/quorlin").c_str(), 0777);
         },
         "/quorlin\" is refused: other users may write to it: make it yours alone (chmod go-w)\n"},
        {"a state folder that is a link to another user's",
         [](const Fixture& f) {
             f.home.Folder("theirs");
             ASSERT_EQ(chown((f.home / "theirs").c_str(), 65534, 65534), 0);
             f.home.Folder("state");
             ASSERT_EQ(symlink((f.home / "theirs").c_str(), (f.state + "/quorlin").c_str()), 0);
         },
         "/quorlin\" is refused: it belongs to another user: remove it, or make it yours (chown)\n", true},
        {"a pipe named as a journal",
         [](const Fixture& f) {
             f.home.Folder("state/quorlin");
             ASSERT_EQ(mkfifo((f.state + "/quorlin/run-0000000005.qlj").c_str(), 0600), 0);
         },
         "is refused: it is not a regular file but a link, a folder, a device or a pipe: remove it"},
        {"a link to an endless device",
         [](const Fixture& f) {
             f.home.Folder("state/quorlin");
             ASSERT_EQ(symlink("/dev/zero", (f.state + "/quorlin/run-0000000006.qlj").c_str()), 0);
         },
         "is refused: it is not a regular file but a link, a folder, a device or a pipe: remove it"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.rootOnly && geteuid() != 0) continue;  // only root gives files away
        Fixture f;
        f.files.File("rel/y", "y");
        f.files.File("elsewhere/y", "y");
        c.plant(f);
        const Snap before = f.files.Snapshot();
        const Result u = RunQuorlin(f.home, {"--undo"}, f.files.str(), 20);
        EXPECT_EQ(u.status, 1) << u.err;
        EXPECT_NE(u.err.find(c.says), std::string::npos) << u.err;
        EXPECT_EQ(u.out, "");
        EXPECT_EQ(f.files.Snapshot(), before);
        const Result h = RunQuorlin(f.home, {"--history"}, f.files.str(), 20);
        EXPECT_NE(h.status, 137) << "--history hung";
        EXPECT_NE((h.out + h.err).find("refused"), std::string::npos) << h.out << h.err;
    }
}

// An entry named past the numbers a new journal would take, and runs that
// renamed nothing, hide no run: --undo takes back the newest run that
// renamed something and says which.
TEST(QuorlinUndo, NoEntryHidesARunThatCanBeTakenBack) {
    struct Case {
        const char* label;
        std::function<void(const Fixture&)> plant;
        const char* which;
        bool beforeTheRun = false;
    };
    const Case cases[] = {
        {"an entry with the highest number",
         [](const Fixture& f) { f.home.File("state/quorlin/run-999999999999999999.qlj", "odd"); }, "the last run",
         true},
        {"a run whose every rename was skipped",
         [](const Fixture& f) {
             f.files.File("b.txt", "b");
             f.files.File("x_b.txt", "taken");
             EXPECT_EQ(f.Prefix({"b.txt"}).status, 1);
         },
         "the last run"},
        {"an earlier version's journal of a run that renamed nothing",
         [](const Fixture& f) { WriteEmptyJournal(f.state, f.files.str()); }, "run 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Fixture f;
        f.files.File("a.txt", "a");
        if (c.beforeTheRun) c.plant(f);
        ASSERT_EQ(f.Prefix({"a.txt"}).status, 0);
        if (!c.beforeTheRun) c.plant(f);
        const Result u = f.Run({"--undo"});
        EXPECT_EQ(u.status, 0) << u.err;
        EXPECT_EQ(u.out, "renamed back 1, left alone 0, failed 0\n");
        EXPECT_NE(u.err.find(std::string("taking back ") + c.which + ", \"Add to beginning\""), std::string::npos)
            << u.err;
        EXPECT_EQ(f.files.Read("a.txt"), "a");
    }
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
