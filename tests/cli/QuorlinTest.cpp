// The built quorlin program, run as a user runs it: on temporary folders,
// with its settings in a temporary file and no terminal on standard input.
// Every test compares the folder's full contents afterwards.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>

#include "tests/cli/RunQuorlin.h"
#include "tests/support/TempDir.h"

using namespace quorlin_test;
using testing_support::TempDir;

namespace {

using Snap = std::set<std::string>;

// A folder to rename in, and a place for the settings and the captured output.
struct Fixture {
    TempDir files;
    TempDir home;

    std::string Settings() const { return home / "settings.json"; }

    // Runs quorlin with `args`, from `cwd` (relative to the folder) when given.
    Result Run(const std::vector<std::string>& args, const std::string& cwd = {}) const {
        return RunQuorlin(home, args, cwd.empty() ? std::string() : files / cwd);
    }
};

int Lines(const std::string& s) {
    return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(Quorlin, APreviewShowsTheNamesAndRenamesNothing) {
    Fixture f;
    f.files.File("IMG_1.jpg", "1");
    f.files.File("IMG_22.jpg", "2");
    f.files.File("notes.txt", "n");
    const Result r = f.Run(
        {"--preview", "-a", "Replace anywhere", "--set", "find=IMG_", "--set", "replace=Trip-", "--no-folders", "."},
        ".");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // Rows in the order of the run; the unchanged one left out.
    EXPECT_EQ(r.out,
              "Status        Old         New\n"
              "rename        IMG_1.jpg   Trip-1.jpg\n"
              "rename        IMG_22.jpg  Trip-22.jpg\n"
              "2 to rename, 1 unchanged, 0 conflicts\n");
    EXPECT_EQ(f.files.Snapshot(), (Snap{"IMG_1.jpg=1", "IMG_22.jpg=2", "notes.txt=n"}));
    EXPECT_FALSE(f.home.Exists("settings.json")) << "a preview stores nothing";
}

// What the user saw: a slash in a new name and two rows becoming one name,
// shown as if all were fine, and the run then skipping them. The preview
// marks each, says so in one line and exits with 1; the run meets exactly
// the marked conflicts.
TEST(Quorlin, APreviewMarksWhatTheRunWillMeet) {
    Fixture f;
    f.files.File("docs/q1 report.xlsx", "q");
    f.files.File("docs/Q1 Report.xlsx", "Q");
    f.files.File("docs/IMG/img_0001.jpg", "i");
    f.files.File("docs/notes.TXT", "n");
    f.files.File("NOTES.TXT", "outside");
    struct Case {
        std::vector<std::string> args;
        std::string out;
        int status;
    };
    const Case cases[] = {
        // Given one by one, in the order they are sorted in: the first of
        // the two reports keeps the name, the second meets it.
        {{"-p", "-a", "make-uppercase", "--no-folders", "docs/IMG", "docs/notes.TXT", "docs/q1 report.xlsx",
          "docs/Q1 Report.xlsx"},
         "Status        Old                    New\n"
         "rename        docs/IMG/img_0001.jpg  IMG_0001.JPG\n"
         "rename        docs/notes.TXT         NOTES.TXT\n"
         "rename        docs/q1 report.xlsx    Q1 REPORT.XLSX\n"
         "duplicate     docs/Q1 Report.xlsx    Q1 REPORT.XLSX\n"
         "3 to rename, 0 unchanged, 1 conflict\n",
         1},
        {{"-p", "-a", "replace-anywhere", "-s", "find=_", "-s", "replace=/", "--no-folders", "docs"},
         "Status        Old                    New\n"
         "invalid name  docs/IMG/img_0001.jpg  img/0001.jpg\n"
         "0 to rename, 3 unchanged, 1 conflict\n",
         1},
        {{"-p", "--all", "-a", "make-uppercase", "-c", "name", "--no-files", "docs", "docs/notes.TXT"},
         "Status        Old       New\n"
         "unchanged     docs/IMG  IMG\n"
         "rename        docs      DOCS\n"
         "1 to rename, 1 unchanged, 0 conflicts\n",
         0},
        {{"-p", "-a", "replace-anywhere", "-s", "find=docs", "-s", "replace=NOTES.TXT", "docs"},
         "Status        Old   New\n"
         "name taken    docs  NOTES.TXT\n"
         "0 to rename, 5 unchanged, 1 conflict\n",
         1},
    };
    for (const auto& c : cases) {
        const Result r = f.Run(c.args, ".");
        EXPECT_EQ(r.out, c.out) << c.args[2];
        EXPECT_EQ(r.status, c.status) << r.err;
    }
    const Snap before = f.files.Snapshot();
    EXPECT_EQ(before.size(), 7u);
    // The run over the first case meets the one conflict it showed.
    const Result run = f.Run({"-a", "make-uppercase", "--no-folders", "docs/IMG", "docs/notes.TXT",
                              "docs/q1 report.xlsx", "docs/Q1 Report.xlsx"},
                             ".");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "renamed 3, skipped 1, failed 0\n");
    EXPECT_EQ(run.err, "quorlin: skipped \"docs/Q1 Report.xlsx\": \"Q1 REPORT.XLSX\" already exists\n");
    EXPECT_EQ(f.files.Snapshot(), (Snap{"docs/", "docs/IMG/", "docs/IMG/IMG_0001.JPG=i", "docs/NOTES.TXT=n",
                                        "docs/Q1 REPORT.XLSX=q", "docs/Q1 Report.xlsx=Q", "NOTES.TXT=outside"}));
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
    EXPECT_TRUE(Has(stored, "\"lastSelection\": \"Add to beginning\"")) << stored;
    EXPECT_TRUE(Has(stored, "\"folders\": 0")) << stored;
}

// "quorlin music" once repeated the last run's "Make UPPERCASE" unasked.
TEST(Quorlin, NothingIsRenamedWithoutAnActionOrLast) {
    Fixture f;
    f.files.File("music/song.mp3", "s");
    ASSERT_EQ(f.Run({"-a", "make-uppercase", "--no-folders", "music/song.mp3"}, ".").status, 0);
    const Snap before = f.files.Snapshot();
    const Result r = f.Run({"music"}, ".");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "quorlin: no action given: name one with --action (see quorlin --actions), repeat the last run with "
              "--last, or run a preset with --preset\n");
    EXPECT_EQ(f.files.Snapshot(), before);
    EXPECT_EQ(before, (Snap{"music/", "music/SONG.MP3=s"}));
}

// Options remembered from an earlier run once turned later runs into
// partial runs or none: without --last every option takes its default.
TEST(Quorlin, OptionsNotGivenTakeTheirDefaults) {
    Fixture f;
    f.files.File("d/a.txt", "a");
    f.files.File("d/sub/b.txt", "b");
    ASSERT_EQ(f.Run({"-a", "make-uppercase", "--no-files", "--no-subfolders", "-c", "ext", "--sort", "name-desc",
                     "d/sub/b.txt"},
                    ".")
                  .status,
              0);
    const Result r = f.Run({"-a", "add-to-beginning", "-s", "add=x_", "d"}, ".");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "renamed 4, skipped 0, failed 0\n");
    EXPECT_EQ(f.files.Snapshot(), (Snap{"x_d/", "x_d/x_a.txt=a", "x_d/x_sub/", "x_d/x_sub/x_b.txt=b"}));
    // And it stored what it used: the defaults.
    const std::string stored = ReadAll(f.Settings());
    for (const char* value : {"\"files\": 1", "\"subfolders\": 1", "\"sort\": 0", "\"renameKind\": 0"})
        EXPECT_TRUE(Has(stored, value)) << value << "\n" << stored;
}

TEST(Quorlin, LastRepeatsTheStoredRunAndSaysWhatItTook) {
    Fixture f;
    f.files.File("a.txt", "a");
    f.files.File("sub/b.txt", "b");
    const Result none = f.Run({"--last", "."}, ".");
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, "quorlin: --last has nothing to repeat: no run was stored yet (give --action)\n");
    ASSERT_EQ(f.Run({"-a", "Add to end", "-s", "add=_v", "-c", "name", "--no-folders", "--no-subfolders", "a.txt"}, ".")
                  .status,
              0);
    const Result again = f.Run({"--last", "a_v.txt", "sub"}, ".");
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.err,
              "quorlin: repeating the last run: -a add-to-end -s add=_v -c name --no-folders --no-subfolders\n");
    EXPECT_EQ(again.out, "renamed 1, skipped 0, failed 0\n");
    EXPECT_EQ(f.files.Snapshot(), (Snap{"a_v_v.txt=a", "sub/", "sub/b.txt=b"}));
    // What is given on the command line changes that and nothing else.
    const Result over = f.Run({"--last", "-s", "add=_w", "--subfolders", "sub"}, ".");
    EXPECT_EQ(over.status, 0) << over.err;
    EXPECT_EQ(over.err, "quorlin: repeating the last run: -a add-to-end -s add=_w -c name --no-folders\n");
    EXPECT_EQ(f.files.Snapshot(), (Snap{"a_v_v.txt=a", "sub/", "sub/b_w.txt=b"}));
    // A preview with --last stores nothing.
    const std::string stored = ReadAll(f.Settings());
    EXPECT_EQ(f.Run({"--last", "-p", "-s", "add=_z", "sub"}, ".").status, 0);
    EXPECT_EQ(ReadAll(f.Settings()), stored);
}

// "quorlin -a make-uppercase ." renamed the folder the shell stood in.
TEST(Quorlin, TheFolderYouStandInIsNeverRenamed) {
    struct Case {
        std::string cwd;
        std::vector<std::string> args;
        int status;
        Snap after;
    };
    const Case cases[] = {
        {"music",
         {"-a", "make-uppercase", "."},
         0,
         {"music/", "music/A.MP3=a", "music/CD1/", "music/CD1/B.MP3=b", "x.txt=x"}},
        {"music",
         {"-a", "make-uppercase", "./"},
         0,
         {"music/", "music/A.MP3=a", "music/CD1/", "music/CD1/B.MP3=b", "x.txt=x"}},
        {"music/cd1",
         {"-a", "make-uppercase", ".."},
         0,
         {"music/", "music/A.MP3=a", "music/CD1/", "music/CD1/B.MP3=b", "x.txt=x"}},
        {".",
         {"-a", "make-uppercase", "music/."},
         0,
         {"music/", "music/A.MP3=a", "music/CD1/", "music/CD1/B.MP3=b", "x.txt=x"}},
        {".",
         {"-a", "make-uppercase", "music/cd1/.."},
         0,
         {"music/", "music/A.MP3=a", "music/CD1/", "music/CD1/B.MP3=b", "x.txt=x"}},
        // Its contents only as subfolders says.
        {"music",
         {"-a", "make-uppercase", "--no-subfolders", "."},
         2,
         {"music/", "music/a.mp3=a", "music/cd1/", "music/cd1/b.mp3=b", "x.txt=x"}},
        // Given twice, or inside a given folder: renamed once.
        {".",
         {"-a", "add-to-beginning", "-s", "add=_", "--no-folders", "music", "music", "music/a.mp3", "music/./a.mp3"},
         0,
         {"music/", "music/_a.mp3=a", "music/cd1/", "music/cd1/_b.mp3=b", "x.txt=x"}},
        // A folder given by name is renamed with its contents.
        {".",
         {"-a", "make-uppercase", "music"},
         0,
         {"MUSIC/", "MUSIC/A.MP3=a", "MUSIC/CD1/", "MUSIC/CD1/B.MP3=b", "x.txt=x"}},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.files.File("music/a.mp3", "a");
        f.files.File("music/cd1/b.mp3", "b");
        f.files.File("x.txt", "x");
        const Result r = f.Run(c.args, c.cwd);
        const std::string label = c.cwd + ": " + c.args.back();
        EXPECT_EQ(r.status, c.status) << label << "\n" << r.err;
        EXPECT_EQ(f.files.Snapshot(), c.after) << label;
        if (c.status == 2) {
            EXPECT_EQ(r.err,
                      "quorlin: nothing to rename: \".\" is never renamed itself, and --no-subfolders leaves "
                      "out what it holds\n");
        }
    }
}

// "--save-list a.txt ... a.txt b.txt" replaced a.txt, one of the files it
// listed, without a word.
TEST(Quorlin, TheFileListNeverDestroysData) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* err;
        Snap after;
    };
    // Besides the files: a link to a.txt, another name of b.txt, a link into
    // sub and one to old.txt.
    const Snap kept = {"a.txt=a",     "b.txt=b", "old.txt=old", "sub/", "sub/c.txt=c", "link=a", "hard=b",
                       "sublink=c",   "olink=old"};
    const Case cases[] = {
        {{"--save-list", "a.txt", "a.txt", "b.txt"}, 2, "quorlin: \"a.txt\" exists; add --force to replace it\n", kept},
        {{"--force", "--save-list", "a.txt", "a.txt", "b.txt"},
         2,
         "quorlin: \"a.txt\" is one of the items to list: the list would replace it\n",
         kept},
        {{"--force", "--save-list", "sub/c.txt", "sub"},
         2,
         "quorlin: \"sub/c.txt\" is one of the items to list: the list would replace it\n",
         kept},
        {{"--save-list", "old.txt", "a.txt"}, 2, "quorlin: \"old.txt\" exists; add --force to replace it\n", kept},
        {{"--save-list", "sub", "a.txt"}, 2, "quorlin: \"sub\" is a folder\n", kept},
        {{"--force", "--save-list", "old.txt", "a.txt"},
         0,
         "",
         {"a.txt=a", "b.txt=b", "old.txt=@a.txt\n", "olink=@a.txt\n", "sub/", "sub/c.txt=c"}},
        {{"--save-list", "new.txt", "b.txt", "a.txt"},
         0,
         "",
         {"a.txt=a", "b.txt=b", "new.txt=@a.txt\n@b.txt\n", "old.txt=old", "sub/", "sub/c.txt=c"}},
        // What the file is, not what its path says: a link to an item, or a
        // second name of one, is the item.
        {{"--force", "--save-list", "link", "a.txt"},
         2,
         "quorlin: \"link\" is one of the items to list: the list would replace it\n",
         kept},
        {{"--force", "--save-list", "hard", "b.txt"},
         2,
         "quorlin: \"hard\" is one of the items to list: the list would replace it\n",
         kept},
        {{"--force", "--save-list", "sublink", "sub"}, 1, "quorlin: Cannot save the file list: sublink: File exists\n",
         kept},
        // A link to a file that is no item is replaced as a name: the file it
        // led to stays as it was.
        {{"--force", "--save-list", "olink", "a.txt"},
         0,
         "",
         {"a.txt=a", "b.txt=b", "old.txt=old", "sub/", "sub/c.txt=c", "olink=@a.txt\n"}},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.files.File("a.txt", "a");
        f.files.File("b.txt", "b");
        f.files.File("old.txt", "old");
        f.files.File("sub/c.txt", "c");
        ASSERT_EQ(symlink("a.txt", (f.files / "link").c_str()), 0);
        ASSERT_EQ(link((f.files / "b.txt").c_str(), (f.files / "hard").c_str()), 0);
        ASSERT_EQ(symlink("sub/c.txt", (f.files / "sublink").c_str()), 0);
        ASSERT_EQ(symlink("old.txt", (f.files / "olink").c_str()), 0);
        std::vector<std::string> args = {"-a", "make-uppercase"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Result r = f.Run(args, ".");
        const std::string label = c.args[c.args.size() - 2] + " " + c.args.back();
        // The list names full paths, one per line, each ended by a plain
        // line feed: "@" stands for the folder.
        auto full = [&](std::string text) {
            for (size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, f.files.str() + "/");
            return text;
        };
        EXPECT_EQ(r.status, c.status) << label << ": " << r.err;
        EXPECT_EQ(r.err, full(c.err)) << label;
        Snap after;
        for (const std::string& entry : c.after) after.insert(full(entry));
        // The links a case does not name stay as they were.
        for (const std::string& entry : kept)
            if (entry.find('.') == std::string::npos && entry.back() != '/' &&
                std::none_of(c.after.begin(), c.after.end(),
                             [&](const std::string& e) { return e.substr(0, e.find('=')) == entry.substr(0, entry.find('=')); }))
                after.insert(entry);
        EXPECT_EQ(f.files.Snapshot(), after) << label;
    }
}

// A name with a line break in it split into two lines of the list, and the
// count said so. With --null each path ends with a NUL, as xargs -0 reads;
// "-" is standard output; the count is of items, in either form.
TEST(Quorlin, AListCanHoldEveryName) {
    struct Case {
        std::vector<std::string> args;
        std::string out;  ///< "@" stands for the folder
        std::string err;
        std::string file;  ///< where the list went, and what it holds
        std::string list;
    };
    const std::string n(1, '\0');
    // What the folders hold comes before what was given, as in every list.
    const Case cases[] = {
        {{"--save-list", "-", "--null"}, "@sub/d" + n + "@a\nb" + n + "@c" + n, "quorlin: listed 3 items\n", "", ""},
        {{"--save-list", "-"}, "@sub/d\n@a\nb\n@c\n", "quorlin: listed 3 items\n", "", ""},
        {{"--save-list", "list", "-0"}, "listed 3 items in @list\n", "", "list", "@sub/d" + n + "@a\nb" + n + "@c" + n},
        {{"--save-list", "./-"}, "listed 3 items in @-\n", "", "-", "@sub/d\n@a\nb\n@c\n"},
        {{"--save-list", "one", "c"}, "listed 1 item in @one\n", "", "one", "@c\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1]);
        Fixture f;
        f.files.File("a\nb", "1");
        f.files.File("c", "2");
        f.files.File("sub/d", "3");
        std::vector<std::string> args = {"-a", "make-uppercase", "--no-folders"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        if (c.args.back() != "c") args.push_back(".");
        const Result r = f.Run(args, ".");
        auto full = [&](std::string text) {
            for (size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, f.files.str() + "/");
            return text;
        };
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, full(c.out));
        EXPECT_EQ(r.err, c.err);
        if (!c.file.empty()) {
            EXPECT_EQ(f.files.Read(c.file), full(c.list));
        }
    }
    Fixture f;
    EXPECT_EQ(f.Run({"-a", "make-uppercase", "--null", "."}).err, "quorlin: --null goes with --save-list\n");
}

// Names ending in ':' or '\' were refused as roots of a file system: Windows
// rules on Linux. Only "/" is a root here.
TEST(Quorlin, OnlyTheRootIsARoot) {
    Fixture f;
    f.files.File("a:", "a");
    f.files.File("b\\", "b");
    const Result r = f.Run({"-a", "make-uppercase", "a:", "b\\"}, ".");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(f.files.Snapshot(), (Snap{"A:=a", "B\\=b"}));
    const Result root = f.Run({"-a", "make-uppercase", "/"}, ".");
    EXPECT_EQ(root.status, 2);
    EXPECT_EQ(root.err, "quorlin: \"/\" is the root of a file system, which cannot be renamed\n");
}

// The preview once ignored --on-conflict: three names cut to one previewed
// as conflicts while the run numbered them and exited with 0. With a policy
// the preview shows what the run will do, and exits as it will.
TEST(Quorlin, APreviewFollowsTheConflictPolicy) {
    struct Case {
        const char* policy;
        std::string preview;
        int status;
        Snap after;
    };
    const Case cases[] = {
        {"number",
         "Status        Old     New\n"
         "rename        ab.txt  a.txt\n"
         "rename        ac.txt  a1.txt\n"
         "rename        ad.txt  a2.txt\n"
         "3 to rename, 0 unchanged, 0 conflicts\n",
         0,
         {"a.txt=b", "a1.txt=c", "a2.txt=d"}},
        {"skip",
         "Status        Old     New\n"
         "rename        ab.txt  a.txt\n"
         "duplicate     ac.txt  a.txt\n"
         "duplicate     ad.txt  a.txt\n"
         "1 to rename, 0 unchanged, 2 conflicts\n",
         1,
         {"a.txt=b", "ac.txt=c", "ad.txt=d"}},
        {"stop",
         "Status        Old     New\n"
         "rename        ab.txt  a.txt\n"
         "duplicate     ac.txt  a.txt\n"
         "1 to rename, 0 unchanged, 1 conflict; the run stops there, 1 item not reached\n",
         1,
         {"a.txt=b", "ac.txt=c", "ad.txt=d"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.policy);
        Fixture f;
        for (const char* name : {"ab.txt", "ac.txt", "ad.txt"}) f.files.File(name, std::string(1, name[1]));
        const std::vector<std::string> args = {"-a", "truncate", "-s", "truncate=1", "-c", "name", "--on-conflict",
                                               c.policy, "."};
        std::vector<std::string> preview = {"-p"};
        preview.insert(preview.end(), args.begin(), args.end());
        const Result p = f.Run(preview, ".");
        EXPECT_EQ(p.out, c.preview);
        EXPECT_EQ(p.status, c.status) << p.err;
        const Result r = f.Run(args, ".");
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(f.files.Snapshot(), c.after);
    }
}

// Without sorting each folder apart, the folders go first: their contents
// were then skipped as "too long", and previewed so. Now they follow their
// folder under its new name, the preview says the same, and the undo is
// exact and quiet.
TEST(Quorlin, ContentsFollowAFolderRenamedBeforeThem) {
    Fixture f;
    f.files.File("t/album1/img1.jpg", "1");
    f.files.File("t/album1/img2.jpg", "2");
    f.files.File("t/album2/img3.jpg", "3");
    const Snap before = f.files.Snapshot();
    const std::vector<std::string> args = {"-a", "add-number-to-beginning", "-s", "start=1", "--no-sort-each-folder",
                                           "t/."};
    std::vector<std::string> preview = {"-p"};
    preview.insert(preview.end(), args.begin(), args.end());
    const Result p = f.Run(preview, ".");
    EXPECT_EQ(p.status, 0) << p.err;
    EXPECT_EQ(p.out,
              "Status        Old                New\n"
              "rename        t/album1           1album1\n"
              "rename        t/album2           2album2\n"
              "rename        t/album1/img1.jpg  3img1.jpg\n"
              "rename        t/album1/img2.jpg  4img2.jpg\n"
              "rename        t/album2/img3.jpg  5img3.jpg\n"
              "5 to rename, 0 unchanged, 0 conflicts\n");
    const Result r = f.Run(args, ".");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(f.files.Snapshot(),
              (Snap{"t/", "t/1album1/", "t/1album1/3img1.jpg=1", "t/1album1/4img2.jpg=2", "t/2album2/",
                    "t/2album2/5img3.jpg=3"}));
    const Result u = f.Run({"--undo"});
    EXPECT_EQ(u.status, 0) << u.err;
    EXPECT_EQ(u.out, "renamed back 5, left alone 0, failed 0\n");
    EXPECT_EQ(f.files.Snapshot(), before);
}

// Errors once read "The system cannot find the file specified." and
// "Access is denied. (error 5)" on Linux.
TEST(Quorlin, MessagesInTheSystemsOwnWords) {
    Fixture f;
    f.files.File("a.txt", "a");
    const Result missing = f.Run({"-a", "make-lowercase", "gone.txt"}, ".");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "quorlin: \"gone.txt\": No such file or directory\n");
    const Result list = f.Run({"-a", "make-lowercase", "--save-list", "no/such/folder/list.txt", "a.txt"}, ".");
    EXPECT_EQ(list.status, 1);
    EXPECT_EQ(list.err,
              "quorlin: Cannot access: " + f.files.str() + "/no/such/folder/list.txt: No such file or directory\n");
    EXPECT_FALSE(Has(list.err + missing.err, "(error")) << "no Windows error codes on POSIX";
    EXPECT_EQ(f.files.Snapshot(), (Snap{"a.txt=a"}));
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
        EXPECT_TRUE(Has(r.err, c.message)) << label << ": " << r.err;
        EXPECT_TRUE(Has(r.err, "already exists")) << label << ": " << r.err;
    }
}

TEST(Quorlin, BadUsageGivesStatusTwoAndOneLine) {
    struct Case {
        std::vector<std::string> args;  // the folder is added at the end unless "-"
        const char* message;
    };
    const Case cases[] = {
        {{"-a", "Make Sandwich"}, "quorlin: unknown action \"Make Sandwich\" (see quorlin --actions)\n"},
        {{"-a", "make-uppercse"},
         "quorlin: unknown action \"make-uppercse\"; did you mean \"make-uppercase\"? (see quorlin --actions)\n"},
        {{"-a", "Replace anywhere", "-s", "fnd=x"},
         "quorlin: \"Replace anywhere\" has no value \"fnd\"; did you mean \"find\"? (see quorlin --actions)\n"},
        {{"-a", "Add number to end", "-s", "step=two"}, "quorlin: \"step\" takes digits only\n"},
        {{"-a", "Replace anywhere", "-s", "type=12"}, "quorlin: \"type\" takes an index from 0 to 10\n"},
        {{"-a", "Insert anywhere", "-s", "toOrderType=middle"},
         "quorlin: \"toOrderType\" has no choice \"middle\" (it takes from-the-beginning, from-the-end)\n"},
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
        {{"-a", "Make lowercase", "--sort", "nmae-desc"},
         "quorlin: unknown sorting order \"nmae-desc\"; did you mean \"name-desc\"? (see quorlin --actions)\n"},
        {{"-a", "Make lowercase", "--confirm"}, "quorlin: confirming each rename needs a terminal; add --no-confirm\n"},
        {{"-a", "Make lowercase", "--files", "--no-files"}, "quorlin: --files and --no-files contradict each other\n"},
        {{"-a", "Make lowercase", "--preview", "--save-list", "x"},
         "quorlin: --preview and --save-list do not go together\n"},
        {{"-a", "Make lowercase", "-"}, "quorlin: no files or folders given (see quorlin --help)\n"},
        {{"-a", "Make lowercase", "/nonexistent/quorlin-test", "-"},
         "quorlin: \"/nonexistent/quorlin-test\": No such file or directory\n"},
        {{"-a", "Make lowercase", "/", "-"}, "quorlin: \"/\" is the root of a file system, which cannot be renamed\n"},
        {{"--edit", "-a", "Make lowercase"},
         "quorlin: --edit gives the names: --action, --last and --preset go without it\n"},
        {{"--from", "x", "--edit"}, "quorlin: --edit and --from each give the names: give one\n"},
        {{"--from", "/nonexistent/list", "--save-list", "y"},
         "quorlin: --from renames: --save-list, --save-preset, --undo and --history go without it\n"},
        {{"--edit", "--preview"}, "quorlin: --edit shows its preview itself before it asks: leave out --preview\n"},
        {{"--json", "-a", "Make lowercase"}, "quorlin: --json goes with --preview\n"},
        {{"--yes", "-a", "Make lowercase"}, "quorlin: --yes goes with --edit\n"},
        {{"--from", "/nonexistent/list"},
         "quorlin: cannot read the list \"/nonexistent/list\": No such file or directory\n"},
        {{"--previw", "-a", "Make lowercase"},
         "quorlin: The following argument was not expected: --previw; did you mean \"--preview\"?\n"},
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
    EXPECT_EQ(ReadAll(list), f.files / "b.txt" + "\n" + f.files / "a.txt" + "\n");
    EXPECT_EQ(f.files.Snapshot(), (Snap{"a.txt=a", "b.txt=b"}));
    const std::string stored = ReadAll(f.Settings());
    EXPECT_TRUE(Has(stored, "\"renameKind\": 1")) << "the scope of the last OK stays: " << stored;
    EXPECT_TRUE(Has(stored, "\"sort\": 1")) << stored;
}

// Choices by name, the sorting orders by name and a negative step, in runs.
TEST(Quorlin, ValuesByTheirNames) {
    struct Case {
        std::vector<std::string> args;
        Snap after;
    };
    const Case cases[] = {
        {{"-a", "add-number-to-end", "-s", "start=10", "-s", "step=-4", "-c", "name", "--sort", "name-desc"},
         {"a2.txt=a", "b6.txt=b", "c10.txt=c"}},
        {{"-a", "insert-anywhere", "-s", "add=-", "-s", "addAnywhereSelection=position", "-s", "toPosition=1", "-s",
          "toOrderType=end", "-c", "name"},
         {"-a.txt=a", "-b.txt=b", "-c.txt=c"}},
        {{"-a", "insert-anywhere", "-s", "add=_", "-s", "addAnywhereSelection=text", "-s", "toOccurence=.", "-s",
          "toOrderOccurenceType=after"},
         {"a._txt=a", "b._txt=b", "c._txt=c"}},
    };
    for (const auto& c : cases) {
        Fixture f;
        for (const char* name : {"a.txt", "b.txt", "c.txt"}) f.files.File(name, std::string(1, name[0]));
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--no-folders", "."});
        const Result r = f.Run(args, ".");
        EXPECT_EQ(r.status, 0) << c.args[1] << ": " << r.err;
        EXPECT_EQ(f.files.Snapshot(), c.after) << c.args[1];
    }
}

TEST(Quorlin, TheActionListNamesEveryValue) {
    Fixture f;
    const Result r = f.Run({"--actions"});
    EXPECT_EQ(r.status, 0) << r.err;
    for (const char* expected :
         {"\"Replace anywhere\"  replace-anywhere  (every scope)\n",
          "    find                      text, default \"\"\n",
          "        6  replace-last-occurence  \"Replace last occurence\"\n",
          "    step                      a whole number, negative too, default \"1\"\n",
          "\"Make the first letter uppercase\"  make-the-first-letter-uppercase  (scope name only)\n",
          "    removeAnywhereSelection   choice, default position\n",
          "        position (1019) uses position orderType\n", "        text (1020) uses occurenceType occurence\n",
          "    3  ext  \"Change file extension only (excluding separator)\"\n",
          "    3  modified-desc  \"By Modification Date (from newer to older)\"\n",
          "    8  random  \"By Random Order\"\n"})
        EXPECT_TRUE(Has(r.out, expected)) << expected;
}

TEST(Quorlin, NamesThatCannotBeShownAreEscaped) {
    Fixture f;
    f.files.File("new\nline", "n");
    const Result r = f.Run({"-p", "-a", "Make UPPERCASE", "--no-folders", "."}, ".");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Status        Old          New\n"
              "rename        new\\x0Aline  NEW\\x0ALINE\n"
              "1 to rename, 0 unchanged, 0 conflicts\n");
}

}  // namespace
