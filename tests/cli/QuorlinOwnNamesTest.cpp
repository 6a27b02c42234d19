// Names the person brings: edited in an editor (a shell script stands in for
// it), read from a list in each of its forms, or from a plan that a preview
// wrote. Whatever goes wrong, nothing is renamed and nothing typed is lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>

#include "tests/cli/RunQuorlin.h"
#include "tests/support/TempDir.h"

using quorlin_test::Quote;
using quorlin_test::RunQuorlin;
using testing_support::TempDir;

namespace {

using Snap = std::set<std::string>;

// Three files in "d", each holding its first name.
void MakeFiles(const TempDir& home) {
    for (const char* n : {"a.txt", "b.txt", "c.txt"}) home.File(std::string("d/") + n, n);
}

Snap Files(const TempDir& home) {
    Snap out;
    for (const auto& entry : home.Snapshot())
        if (entry.rfind("d/", 0) == 0 && entry != "d/") out.insert(entry.substr(2));
    return out;
}

const Snap kUntouched = {"a.txt=a.txt", "b.txt=b.txt", "c.txt=c.txt"};

// The file of names that quorlin kept, when it says it kept one.
std::string KeptFile(const std::string& err) {
    const std::string marker = "the names are kept in ";
    const auto at = err.find(marker);
    if (at == std::string::npos) return {};
    const auto end = err.find('\n', at);
    return err.substr(at + marker.size(), end - at - marker.size());
}

TEST(QuorlinEdit, RenamesWhatChangedAndLosesNoTyping) {
    struct Case {
        const char* label;
        const char* editor;  // a shell command run on the file as "$1"
        int status;
        Snap after;
        const char* says;  // in standard error or output
        bool kept;         // the edited file is kept and named
    };
    const std::vector<Case> cases = {
        {"one changed", "sed -i 's/^c.txt$/see.txt/'", 0, {"a.txt=a.txt", "b.txt=b.txt", "see.txt=c.txt"}, "renamed 1",
         false},
        {"none changed", "true", 0, kUntouched, "no name was changed", false},
        // Two names swapped meet each other in the run's order: the preview
        // says so and the run leaves both, without a question nobody answers.
        {"swapped", "printf 'b.txt\\na.txt\\nc.txt\\n' >", 1, kUntouched, "duplicate", true},
        {"a line taken away", "sed -i '$d'", 2, kUntouched, "2 lines for 3 items", true},
        {"an empty line", "sed -i 's/^b.txt$//'", 2, kUntouched, "line 2: the line is empty", true},
        {"a separator", "sed -i 's|^a.txt$|x/a.txt|'", 2, kUntouched, "line 1: \"x/a.txt\" holds a path separator",
         true},
        {"the editor fails", "false", 1, kUntouched, "ended with status 1", true},
    };
    for (const auto& c : cases) {
        TempDir home;
        MakeFiles(home);
        home.File("editor.sh", std::string(c.editor) + " \"$1\"\n");
        const std::string env = "TMPDIR=" + Quote(home.str()) + " VISUAL= EDITOR=" + Quote("sh " + home / "editor.sh");
        const auto r = RunQuorlin(home, {"--edit", "d/."}, home.str(), 0, env);
        EXPECT_EQ(r.status, c.status) << c.label << "\n" << r.err;
        EXPECT_EQ(Files(home), c.after) << c.label;
        EXPECT_NE((r.out + r.err).find(c.says), std::string::npos) << c.label << "\n" << r.out << r.err;
        const std::string kept = KeptFile(r.err);
        EXPECT_EQ(!kept.empty(), c.kept) << c.label << "\n" << r.err;
        if (!kept.empty()) {
            EXPECT_TRUE(std::filesystem::exists(kept)) << c.label;
        }
        // Nothing else is left behind in the temporary folder.
        size_t temporary = 0;
        for (const auto& e : std::filesystem::directory_iterator(home.str()))
            temporary += e.path().filename().string().rfind("quorlin-names-", 0) == 0;
        EXPECT_EQ(temporary, c.kept ? 1u : 0u) << c.label;
    }
}

TEST(QuorlinFrom, EveryFormOfList) {
    struct Case {
        const char* label;
        const char* file;  // "-": standard input
        std::string text;
        int status;
        Snap after;
        const char* says = "";
    };
    const std::vector<Case> cases = {
        {"one name a line", "names.txt", "one\ntwo\nthree\n", 0, {"one=a.txt", "two=b.txt", "three=c.txt"}},
        {"one name a line, from Windows", "names.txt", "one\r\nb.txt\r\nthree", 0,
         {"one=a.txt", "b.txt=b.txt", "three=c.txt"}},
        {"too few names", "names.txt", "one\ntwo\n", 2, kUntouched, "2 names for 3 items"},
        {"tab columns", "map.tsv", "c.txt\tsee.txt\na.txt\tay.txt\n", 0,
         {"ay.txt=a.txt", "b.txt=b.txt", "see.txt=c.txt"}},
        {"tab columns by path, with a header", "map.tsv", "old\tnew\nd/b.txt\tbee.txt\n", 0,
         {"a.txt=a.txt", "bee.txt=b.txt", "c.txt=c.txt"}},
        {"CSV with quotes and a header", "list", "Old name,New name\n\"a.txt\",\"Smith, Anna.txt\"\nb.txt,\"say \"\"hi\"\"\"\n",
         0, {"Smith, Anna.txt=a.txt", "say \"hi\"=b.txt", "c.txt=c.txt"}},
        {"CSV by its file name", "names.csv", "a.txt,x.txt\n", 0, {"x.txt=a.txt", "b.txt=b.txt", "c.txt=c.txt"}},
        {"standard input", "-", "b.txt\tstdin.txt\n", 0, {"a.txt=a.txt", "stdin.txt=b.txt", "c.txt=c.txt"}},
        {"a name of no item", "map.tsv", "a.txt\tx.txt\nzzz.txt\ty.txt\n", 1,
         {"x.txt=a.txt", "b.txt=b.txt", "c.txt=c.txt"}, "\"zzz.txt\" is none of the items"},
        {"into another folder", "map.tsv", "a.txt\t../a.txt\n", 2, kUntouched, "to another folder"},
        {"a path into its own folder", "map.tsv", "a.txt\td/own.txt\n", 0, {"own.txt=a.txt", "b.txt=b.txt", "c.txt=c.txt"}},
        {"one item twice", "map.tsv", "a.txt\tx\na.txt\ty\n", 2, kUntouched, "named on line 1 already"},
        {"a broken quote", "names.csv", "a.txt,\"x\n", 2, kUntouched, "no closing quote"},
    };
    for (const auto& c : cases) {
        TempDir home;
        MakeFiles(home);
        const std::string list = home / "list-input";
        {
            std::ofstream(list, std::ios::binary) << c.text;
        }
        std::string file = c.file;
        if (file != "-") {
            file = home / c.file;
            std::filesystem::rename(list, file);
        }
        const auto r = RunQuorlin(home, {"--from", file, "d/."}, home.str(), 0, {}, file == "-" ? list : "/dev/null");
        EXPECT_EQ(r.status, c.status) << c.label << "\n" << r.err;
        EXPECT_EQ(Files(home), c.after) << c.label;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.label << "\n" << r.err;
    }
}

// A plan written by a preview runs as it was written, and never over items
// that changed since.
TEST(QuorlinFrom, APlanRunsAsWrittenOrNotAtAll) {
    struct Case {
        const char* label;
        std::function<void(const TempDir&)> meanwhile;
        int status;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"as it was", [](const TempDir&) {}, 0, "renamed 3"},
        {"a file written to", [](const TempDir& h) { std::ofstream(h / "d/b.txt", std::ios::app) << "more"; }, 1,
         "changed since the plan was made (its size)"},
        {"a file gone", [](const TempDir& h) { std::filesystem::remove(h / "d/c.txt"); }, 1, "is no longer there"},
        {"a file made a folder",
         [](const TempDir& h) {
             std::filesystem::remove(h / "d/a.txt");
             std::filesystem::create_directory(h / "d/a.txt");
         },
         1, "is no longer a file"},
    };
    for (const auto& c : cases) {
        TempDir home;
        MakeFiles(home);
        const auto plan = RunQuorlin(home, {"-p", "--json", "-a", "make-uppercase", "-c", "name", "d/."}, home.str());
        ASSERT_EQ(plan.status, 0) << plan.err;
        EXPECT_EQ(std::count(plan.out.begin(), plan.out.end(), '\n'), 3) << plan.out;
        EXPECT_NE(plan.out.find("\"new\":\"A.txt\",\"status\":\"rename\",\"kind\":\"file\",\"size\":5"), std::string::npos)
            << plan.out;
        home.File("plan.json", plan.out);
        c.meanwhile(home);
        const Snap before = Files(home);
        const auto r = RunQuorlin(home, {"--from", "plan.json"}, home.str());
        EXPECT_EQ(r.status, c.status) << c.label << "\n" << r.err;
        EXPECT_NE((r.out + r.err).find(c.says), std::string::npos) << c.label << "\n" << r.out << r.err;
        const Snap renamed = {"A.txt=a.txt", "B.txt=b.txt", "C.txt=c.txt"};
        EXPECT_EQ(Files(home), c.status == 0 ? renamed : before) << c.label;
    }
}

}  // namespace
