// The built quorlin killed with SIGKILL from outside in the middle of runs
// over thousands of files: between two renames, in the middle of a write of
// its journal, just before or after a flush. After every kill each file is
// under its old name or its new one, whole, and the journal tells which; and
// quorlin --undo brings back every old name with every content.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "core/Journal.h"
#include "platform/FileSystem.h"
#include "tests/cli/RunQuorlin.h"
#include "tests/support/TempDir.h"

using testing_support::TempDir;

namespace {

using Snap = std::set<std::string>;
namespace stdfs = std::filesystem;

constexpr int kFiles = 3000;

enum class Ended { kFinished, kKilled };

struct Scenario {
    const char* label;
    std::vector<std::string> args;  ///< after the program name; the folder is added
    std::vector<std::string> taken;  ///< names made besides the files, which the run meets
    int folders = 0;                 ///< the files spread over this many folders; 0: all in one
};

// A folder of files named f0000 ... each holding its own name, and what else
// the scenario puts there; the settings and the journals apart.
struct World {
    TempDir files, home;
    Snap before;

    explicit World(const Scenario& s) {
        for (int i = 0; i < kFiles; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "f%04d", i);
            files.File(s.folders ? "d" + std::to_string(i % s.folders) + "/" + name : std::string(name), name);
        }
        for (const auto& t : s.taken) files.File(t, t);
        before = files.Snapshot();
    }

    std::string State() const { return home / "state"; }
    // No journal of an earlier round: the undo must take back this round's run.
    void Forget() const { stdfs::remove_all(testing_support::U8(State())); }

    // Starts quorlin; with a kill point, preloaded with the shim that stops
    // it there.
    pid_t Start(const std::vector<std::string>& args, const std::string& killPoint) const {
        std::vector<std::string> argv = {QUORLIN_BINARY};
        argv.insert(argv.end(), args.begin(), args.end());
        const std::string settings = home / "settings.json", state = State();
        const pid_t pid = fork();
        if (pid != 0) return pid;
        setenv("QUORLIN_SETTINGS", settings.c_str(), 1);
        setenv("XDG_STATE_HOME", state.c_str(), 1);
        if (!killPoint.empty()) {
            setenv("LD_PRELOAD", QLN_KILL_POINTS, 1);
            setenv("QLN_KILL_POINT", killPoint.c_str(), 1);
        }
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        std::vector<char*> cargs;
        for (auto& a : argv) cargs.push_back(a.data());
        cargs.push_back(nullptr);
        execv(cargs[0], cargs.data());
        _exit(127);
    }

    // Runs the scenario until the kill point stops it, then kills it.
    Ended RunUntil(const Scenario& s, const std::string& killPoint) const {
        const pid_t pid = Start(Args(s), killPoint);
        int status = 0;
        waitpid(pid, &status, WUNTRACED);
        if (!WIFSTOPPED(status)) return Ended::kFinished;
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return Ended::kKilled;
    }

    // Runs the scenario and kills it after `delay`, wherever it is.
    Ended RunFor(const Scenario& s, std::chrono::microseconds delay) const {
        const pid_t pid = Start(Args(s), {});
        std::this_thread::sleep_for(delay);
        const bool running = kill(pid, SIGKILL) == 0;
        int status = 0;
        waitpid(pid, &status, 0);
        return running && WIFSIGNALED(status) ? Ended::kKilled : Ended::kFinished;
    }

    std::vector<std::string> Args(const Scenario& s) const {
        std::vector<std::string> args = s.args;
        args.push_back(files.str() + "/.");
        return args;
    }

    // quorlin --undo, run to its end; its exit status.
    int Undo() const {
        const pid_t pid = Start({"--undo"}, {});
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The newest journal as quorlin's own reader reads it; false when there
    // is none with a whole beginning. A kill that comes before quorlin made
    // its journal folder (a slow start on a busy machine) leaves none.
    bool Journal(CJournalRun& run) const {
        std::vector<std::string> journals;
        const uint32_t listed = ListJournals(platform::RealFileSystem(), State() + "/quorlin", journals);
        EXPECT_TRUE(listed == 0 || listed == platform::kErrorPathNotFound || listed == platform::kErrorFileNotFound)
            << listed;
        return !journals.empty() && ReadJournal(platform::RealFileSystem(), journals.front(), run) == 0 &&
               run.readable;
    }

    // After a kill: every file whole, under its old name or its new one, and
    // the journal says which: a file under a new name is one the journal
    // announced, and none it says was renamed is under its old name. True
    // when some file is under a new name.
    bool ExpectEveryItemAccountedFor(const std::string& label) const {
        CJournalRun run;
        const bool journal = Journal(run);
        std::map<std::pair<std::string, std::string>, CItemState> announced;  // (old, new) -> state
        std::map<std::string, CItemState> byOld;
        for (const auto& item : run.items) {
            announced[{item.oldName, item.newName}] = item.state;
            byOld[item.oldName] = item.state;
        }
        size_t count = 0, renamed = 0;
        for (const auto& entry : stdfs::directory_iterator(testing_support::U8(files.str()))) {
            ++count;
            const std::string name = testing_support::FromPath(entry.path().filename());
            const std::string original = files.Read(name);  // each file holds its first name
            EXPECT_TRUE(before.count(original + "=" + original)) << label << ": " << name << " holds " << original;
            if (name == original) {
                const auto it = byOld.find(original);
                EXPECT_TRUE(it == byOld.end() || it->second != CItemState::kRenamed)
                    << label << ": the journal says " << original << " was renamed";
                continue;
            }
            ++renamed;
            EXPECT_TRUE(journal) << label << ": " << original << " renamed to " << name << " without a journal";
            const auto it = announced.find({original, name});
            EXPECT_TRUE(it != announced.end() && it->second != CItemState::kNotRenamed)
                << label << ": " << original << " -> " << name << " not in the journal as renamed";
        }
        EXPECT_EQ(count, before.size()) << label;
        return renamed > 0;
    }
};

using Whens = std::vector<const char*>;

// The kill points of a run: each write of the journal and each flush, at the
// moments given, and renames spread over the run, the first and last of
// each batch among them, before and after each.
std::vector<std::string> KillPoints(int writes, const Whens& writeWhens, int syncs, const Whens& syncWhens,
                                    const std::vector<int>& renames) {
    std::vector<std::string> points;
    for (int n = 1; n <= writes; ++n)
        for (const char* when : writeWhens) points.push_back("write:" + std::to_string(n) + ":" + when);
    for (int n = 1; n <= syncs; ++n)
        for (const char* when : syncWhens) points.push_back("fdatasync:" + std::to_string(n) + ":" + when);
    for (int n : renames)
        for (const char* when : {"before", "after"}) points.push_back("renameat2:" + std::to_string(n) + ":" + when);
    return points;
}

void KillAtEveryPoint(const Scenario& s, const std::vector<std::string>& points, size_t mustReach) {
    size_t reached = 0;
    // One folder for every kill point: after each, the undo must have put
    // it back as it was, which the next round starts from.
    World w(s);
    for (const auto& point : points) {
        const std::string label = std::string(s.label) + " killed at " + point;
        w.Forget();
        if (w.RunUntil(s, point) == Ended::kKilled) ++reached;
        const bool renamedAny = w.ExpectEveryItemAccountedFor(label);
        const int status = w.Undo();
        if (renamedAny) {
            EXPECT_EQ(status, 0) << label;
        }
        EXPECT_EQ(w.files.Snapshot(), w.before) << label;
        // One broken kill point says enough: the rest would repeat it.
        if (testing::Test::HasFailure()) return;
    }
    EXPECT_GE(reached, mustReach) << "kill points that the run never reached";
}

// Kills at moments spread over the run's own length, wherever it is then.
void KillAtMoments(const Scenario& s, int moments) {
    World timing(s);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(timing.RunUntil(s, {}), Ended::kFinished);
    const auto length = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    World w(s);
    for (int i = 1; i <= moments; ++i) {
        const auto delay = length * i / (moments + 1);
        const std::string label = std::string(s.label) + " killed after " + std::to_string(delay.count()) + " us";
        w.Forget();
        w.RunFor(s, delay);
        w.ExpectEveryItemAccountedFor(label);
        w.Undo();
        EXPECT_EQ(w.files.Snapshot(), w.before) << label;
        if (testing::Test::HasFailure()) return;
    }
}

const Scenario kPlain{"a plain run", {"-a", "add-to-beginning", "-s", "add=x_", "--on-conflict", "skip"}, {}};

// Names the run meets taken, each numbered by the policy: every number is
// announced on its own before it is tried.
const Scenario kConflicts{"a run with conflicts numbered",
                          {"-a", "add-to-beginning", "-s", "add=x_", "--on-conflict", "number"},
                          {"x_f0000", "x_f0001", "x_f00011", "x_f0063", "x_f0064", "x_f0500", "x_f05001", "x_f05002",
                           "x_f1500", "x_f2999"}};

// Batches of 64, 128, 256, 512, 1024 and the rest: six flushes and the end.
TEST(QuorlinKill, EveryOldNameAndContentComesBackAfterAKillAnywhere) {
    KillAtEveryPoint(kPlain,
                     KillPoints(7, {"before", "half", "after"}, 7, {"before", "after"},
                                {1, 2, 63, 64, 65, 192, 193, 500, 1000, 1984, 1985, 2500, 2999, 3000}),
                     63);
}

TEST(QuorlinKill, EveryOldNameAndContentComesBackAfterAKillInARunWithConflicts) {
    // The six batches, a flush for each of the ten numbered names tried, and
    // the end; the taken names are renamed too. A kill just before a flush
    // finds what a kill just after the write finds.
    KillAtEveryPoint(kConflicts,
                     KillPoints(17, {"half", "after"}, 17, {"after"}, {1, 2, 3, 64, 65, 501, 502, 1000, 2999, 3001, 3009, 3010}),
                     17 * 3 + 12 * 2);
}

TEST(QuorlinKill, EveryOldNameAndContentComesBackAfterAKillAtAnyMoment) {
    KillAtMoments(kPlain, 8);
    KillAtMoments(kConflicts, 8);
}

// Without sorting each folder apart the folders are renamed first, and what
// they hold then in them under their new names. Killed anywhere, the undo
// brings every name back, and says nothing of items left alone: each is
// found under its old name or its new one, in its folder as it is called.
TEST(QuorlinKill, ATreeWhoseFoldersGoFirstComesBackWholeAfterAKill) {
    const Scenario tree{"a tree, folders first",
                        {"-a", "add-number-to-beginning", "-s", "start=1", "--no-sort-each-folder"},
                        {},
                        6};
    World w(tree);
    size_t reached = 0;
    for (const auto& point : KillPoints(3, {"half", "after"}, 3, {"after"}, {1, 5, 6, 7, 8, 64, 65, 100, 2000})) {
        const std::string label = std::string(tree.label) + " killed at " + point;
        w.Forget();
        if (w.RunUntil(tree, point) == Ended::kKilled) ++reached;
        const quorlin_test::Result undo = quorlin_test::RunQuorlin(w.home, {"--undo"});
        EXPECT_EQ(undo.status, 0) << label << "\n" << undo.err;
        EXPECT_EQ(undo.err.find("left alone \""), std::string::npos) << label << "\n" << undo.err;
        EXPECT_EQ(w.files.Snapshot(), w.before) << label;
        if (testing::Test::HasFailure()) return;
    }
    EXPECT_EQ(reached, 3u * 2 + 3 + 9 * 2);
    // And run to its end: every file renamed, none left behind.
    w.Forget();
    ASSERT_EQ(w.RunUntil(tree, {}), Ended::kFinished);
    for (const auto& entry : w.files.Snapshot()) {
        const auto slash = entry.find('/');
        const std::string name = entry.substr(slash + 1);
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(entry[0])) &&
                    (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))))
            << entry;
    }
}

// A run that waits (here stopped at its hundredth rename) while twenty
// quicker runs end keeps its journal: killed then, it is still in the
// history and is taken back whole.
TEST(QuorlinKill, AJournalOfARunStillGoingIsNeverPushedOut) {
    World w(kPlain);
    const pid_t pid = w.Start(w.Args(kPlain), "renameat2:100:before");
    int status = 0;
    waitpid(pid, &status, WUNTRACED);
    ASSERT_TRUE(WIFSTOPPED(status));
    TempDir other;
    for (size_t i = 0; i < kJournalsKept + 1; ++i) {
        other.File("o" + std::to_string(i), "o");
        const quorlin_test::Result r = quorlin_test::RunQuorlin(
            w.home, {"-a", "add-to-end", "-s", "add=_", other / ("o" + std::to_string(i))});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    // Twenty runs kept, the oldest quick one gone, and this one last.
    const std::string oldest = std::to_string(kJournalsKept + 1);
    const quorlin_test::Result history = quorlin_test::RunQuorlin(w.home, {"--history"});
    EXPECT_NE(history.out.find("\n" + oldest + "  "), std::string::npos) << history.out;
    const quorlin_test::Result undo = quorlin_test::RunQuorlin(w.home, {"--undo", oldest});
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_EQ(undo.out, "renamed back 99, left alone 0, failed 0\n");
    EXPECT_EQ(w.files.Snapshot(), w.before);
}

}  // namespace
