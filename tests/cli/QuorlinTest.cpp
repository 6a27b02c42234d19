// The built quorlin program, run as a user runs it: on temporary folders,
// with its settings in a temporary file and no terminal on standard input.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdlib>
#include <fstream>

#include "tests/support/TempDir.h"

using testing_support::TempDir;

namespace {

using Snap = std::set<std::string>;

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

// A folder to rename in, and a place for the settings and the captured output.
struct Fixture {
    TempDir files;
    TempDir home;

    std::string Settings() const { return home / "settings.json"; }

    Result Run(const std::vector<std::string>& args) const {
        std::string command = "QUORLIN_SETTINGS=" + Quote(Settings()) + " " + Quote(QUORLIN_BINARY);
        for (const auto& a : args) command += " " + Quote(a);
        command += " </dev/null >" + Quote(home / "out") + " 2>" + Quote(home / "err");
        const int raw = std::system(command.c_str());
        Result r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = ReadAll(home / "out");
        r.err = ReadAll(home / "err");
        return r;
    }
};

// The lines of a table after its headings.
Snap Rows(const std::string& table) {
    Snap rows;
    size_t start = table.find('\n') + 1;
    for (size_t end; (end = table.find('\n', start)) != std::string::npos; start = end + 1)
        rows.insert(table.substr(start, end - start));
    return rows;
}

int Lines(const std::string& s) {
    return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
}

TEST(Quorlin, APreviewShowsTheNamesAndRenamesNothing) {
    Fixture f;
    f.files.File("IMG_1.jpg", "1");
    f.files.File("IMG_22.jpg", "2");
    f.files.File("notes.txt", "n");
    const Result r = f.Run({"--preview", "-a", "Replace anywhere", "--set", "find=IMG_", "--set", "replace=Trip-",
                            "--no-folders", f.files.str()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // Rows in the order of the run, which the sorting order decides.
    EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1), "Old         New\n");
    EXPECT_EQ(Rows(r.out), (Snap{"IMG_1.jpg   Trip-1.jpg", "IMG_22.jpg  Trip-22.jpg", "notes.txt   notes.txt"}));
    EXPECT_EQ(f.files.Snapshot(), (Snap{"IMG_1.jpg=1", "IMG_22.jpg=2", "notes.txt=n"}));
    EXPECT_FALSE(f.home.Exists("settings.json")) << "a preview stores nothing";
}

TEST(Quorlin, ARunRenamesAndStoresWhatItUsed) {
    Fixture f;
    f.files.File("a.txt", "a");
    f.files.File("sub/b.txt", "b");
    const Result r = f.Run({"-a", "add-to-beginning", "-s", "add=x_", "--no-folders", f.files.str()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "renamed 2, skipped 0, failed 0\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(f.files.Snapshot(), (Snap{"x_a.txt=a", "sub/", "sub/x_b.txt=b"}));
    const std::string stored = ReadAll(f.Settings());
    EXPECT_NE(stored.find("\"lastSelection\": \"Add to beginning\""), std::string::npos) << stored;
    EXPECT_NE(stored.find("\"folders\": 0"), std::string::npos) << stored;
}

TEST(Quorlin, ASecondRunRepeatsTheLastActionWithItsValues) {
    Fixture f;
    f.files.File("a.txt", "a");
    ASSERT_EQ(f.Run({"-a", "Add to end", "-s", "add=_v", "-c", "name", "--no-folders", f.files.str()}).status, 0);
    const Result again = f.Run({f.files.str()});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, "renamed 1, skipped 0, failed 0\n");
    EXPECT_EQ(f.files.Snapshot(), (Snap{"a_v_v.txt=a"}));
    // A value given on its own changes only that value.
    ASSERT_EQ(f.Run({"-s", "add=_w", f.files.str()}).status, 0);
    EXPECT_EQ(f.files.Snapshot(), (Snap{"a_v_v_w.txt=a"}));
}

TEST(Quorlin, ConflictsWithoutATerminal) {
    struct Case {
        std::vector<std::string> policy;
        int status;
        const char* summary;
        Snap after;
        const char* message;
    };
    const Case cases[] = {
        {{}, 1, "renamed 1, skipped 1, failed 0\n", {"a1.txt=1", "b1.txt=x", "b2.txt=2"}, "skipped"},
        {{"--on-conflict", "skip"},
         1,
         "renamed 1, skipped 1, failed 0\n",
         {"a1.txt=1", "b1.txt=x", "b2.txt=2"},
         "skipped"},
        {{"--on-conflict", "number"},
         0,
         "renamed 2, skipped 0, failed 0\n",
         {"b11.txt=1", "b1.txt=x", "b2.txt=2"},
         "adding a number"},
        {{"--on-conflict", "stop"},
         1,
         "renamed 0, skipped 1, failed 0; stopped before the end\n",
         {"a1.txt=1", "a2.txt=2", "b1.txt=x"},
         "stopped at"},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.files.File("a1.txt", "1");
        f.files.File("a2.txt", "2");
        f.files.File("b1.txt", "x");
        std::vector<std::string> args = {
            "-a",   "Replace at beginning", "-s", "find=a", "-s", "replace=b", "-c", "name", "--sort",
            "name", "--no-folders"};
        args.insert(args.end(), c.policy.begin(), c.policy.end());
        // Given one by one, in the order of the sorting order.
        for (const char* name : {"a1.txt", "a2.txt", "b1.txt"}) args.push_back(f.files / name);
        const Result r = f.Run(args);
        const std::string label = c.policy.empty() ? "no policy" : c.policy[1];
        EXPECT_EQ(r.status, c.status) << label << ": " << r.err;
        EXPECT_EQ(r.out, c.summary) << label;
        EXPECT_EQ(f.files.Snapshot(), c.after) << label;
        EXPECT_EQ(Lines(r.err), 1) << label << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << label << ": " << r.err;
        EXPECT_NE(r.err.find("already exists"), std::string::npos) << label << ": " << r.err;
    }
}

TEST(Quorlin, BadUsageGivesStatusTwoAndOneLine) {
    struct Case {
        std::vector<std::string> args;  // the folder is added at the end unless "-"
        const char* message;
    };
    const Case cases[] = {
        {{"-a", "Make Sandwich"}, "quorlin: unknown action \"Make Sandwich\" (see quorlin --actions)\n"},
        {{"-a", "Replace anywhere", "-s", "fnd=x"},
         "quorlin: \"Replace anywhere\" has no value \"fnd\" (see quorlin --actions)\n"},
        {{"-a", "Add number to end", "-s", "step=two"}, "quorlin: \"step\" takes digits only\n"},
        {{"-a", "Replace anywhere", "-s", "type=12"}, "quorlin: \"type\" takes an index from 0 to 10\n"},
        {{"-a", "Replace anywhere", "-s", "find"}, "quorlin: --set takes NAME=VALUE, not \"find\"\n"},
        // A stray byte would match inside a character of a name.
        {{"-a", "Replace anywhere", "-s", "find=\xA9", "-s", "replace=E"},
         "quorlin: the value of \"find\" is not valid UTF-8\n"},
        {{"-a", "Add to beginning"}, "quorlin: \"Add to beginning\" needs a value for \"add\" (--set NAME=VALUE)\n"},
        {{"-a", "Remove at end", "-s", "remove="},
         "quorlin: \"Remove at end\" needs a value for \"remove\" (--set NAME=VALUE)\n"},
        {{"-a", "Make the first letter uppercase"},
         "quorlin: \"Make the first letter uppercase\" does not apply to \"Change entire file name\"\n"},
        {{"-a", "Make lowercase", "-c", "everything"},
         "quorlin: unknown scope \"everything\" (see quorlin --actions)\n"},
        {{"-a", "Make lowercase", "--sort", "by-size"},
         "quorlin: unknown sorting order \"by-size\" (see quorlin --actions)\n"},
        {{"-a", "Make lowercase", "--confirm"}, "quorlin: confirming each rename needs a terminal; add --no-confirm\n"},
        {{"-a", "Make lowercase", "--files", "--no-files"}, "quorlin: --files and --no-files contradict each other\n"},
        {{"-a", "Make lowercase", "--preview", "--save-list", "x"},
         "quorlin: --preview and --save-list do not go together\n"},
        {{"-a", "Make lowercase", "-"}, "quorlin: no files or folders given (see quorlin --help)\n"},
        {{"-a", "Make lowercase", "/nonexistent/quorlin-test", "-"},
         "quorlin: \"/nonexistent/quorlin-test\": The system cannot find the path specified.\n"},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.files.File("A.txt", "a");
        std::vector<std::string> args = c.args;
        if (!args.empty() && args.back() == "-")
            args.pop_back();
        else
            args.push_back(f.files.str());
        const Result r = f.Run(args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_EQ(r.err, c.message);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(f.files.Snapshot(), (Snap{"A.txt=a"})) << c.message;
        EXPECT_FALSE(f.home.Exists("settings.json")) << c.message;
    }
    // Errors of the parser itself are one line too.
    Fixture f;
    const Result r = f.Run({"--frobnicate"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(Lines(r.err), 1) << r.err;
    EXPECT_EQ(r.err.rfind("quorlin: ", 0), 0u) << r.err;
}

TEST(Quorlin, SaveListWritesThePathsAndKeepsTheScope) {
    Fixture f;
    f.files.File("a.txt", "a");
    f.files.File("b.txt", "b");
    const std::string list = f.home / "list.txt";
    ASSERT_EQ(f.Run({"-a", "Make lowercase", "-c", "name", "--no-folders", f.files.str()}).status, 0);
    const Result r = f.Run({"-a", "Make UPPERCASE", "-c", "ext", "--save-list", list, "--sort", "name-desc",
                            f.files / "a.txt", f.files / "b.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "listed 2 items in " + list + "\n");
    const std::string written = ReadAll(list);
    EXPECT_TRUE(written == f.files / "a.txt" + "\r\n" + f.files / "b.txt" + "\r\n" ||
                written == f.files / "b.txt" + "\r\n" + f.files / "a.txt" + "\r\n")
        << written;
    EXPECT_EQ(f.files.Snapshot(), (Snap{"a.txt=a", "b.txt=b"}));
    const std::string stored = ReadAll(f.Settings());
    EXPECT_NE(stored.find("\"renameKind\": 1"), std::string::npos) << "the scope of the last OK stays: " << stored;
    EXPECT_NE(stored.find("\"sort\": 1"), std::string::npos) << stored;
}

TEST(Quorlin, TheActionListNamesEveryValue) {
    Fixture f;
    const Result r = f.Run({"--actions"});
    EXPECT_EQ(r.status, 0) << r.err;
    for (const char* expected :
         {"\"Replace anywhere\"  replace-anywhere  (every scope)\n",
          "    find                      text, default \"\"\n", "        6 \"Replace last occurence\"\n",
          "    step                      digits, default \"1\"\n",
          "\"Make the first letter uppercase\"  make-the-first-letter-uppercase  (scope 1 only)\n",
          "    removeAnywhereSelection   button, default 1019\n", "        1019 uses position orderType\n",
          "    3  \"Change file extension only (excluding separator)\"\n", "    8  \"By Random Order\"\n"})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected;
}

TEST(Quorlin, NamesThatCannotBeShownAreEscaped) {
    Fixture f;
    f.files.File("new\nline", "n");
    const Result r = f.Run({"-p", "-a", "Make UPPERCASE", "--no-folders", f.files.str()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Old          New\nnew\\x0Aline  NEW\\x0ALINE\n");
}

}  // namespace
