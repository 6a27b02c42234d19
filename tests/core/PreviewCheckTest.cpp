// The checked preview: the marks it gives each row, under both platforms'
// rules, and a comparison with what a real run over the same folder meets.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "core/Execute.h"
#include "core/PreviewCheck.h"
#include "core/RenameRun.h"
#include "platform/FileSystem.h"
#include "platform/NameRules.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"

using testing_support::FaultyFileSystem;
using testing_support::ScriptedPrompts;
using testing_support::TempDir;

namespace {

using FS = FaultyFileSystem;
using S = CRowStatus;

// Gives each item named in `names` that name; every other item keeps its own.
class MapExecute final : public CExecute {
public:
    MapExecute(std::map<std::string, std::string> names, const CRunOptions& options)
        : CExecute(options), names_(std::move(names)) {}
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext&) override {
        const auto it = names_.find(fd.name());
        return WithPart(fd, it == names_.end() ? fd.name() : it->second);
    }

private:
    std::map<std::string, std::string> names_;
};

const char* StatusName(S status) {
    switch (status) {
        case S::kRenamed:
            return "renamed";
        case S::kUnchanged:
            return "unchanged";
        case S::kDuplicate:
            return "duplicate";
        case S::kExists:
            return "exists";
        case S::kInvalidName:
            return "invalid";
        case S::kTooLong:
            return "too long";
        case S::kLeftOut:
            return "left out";
    }
    return "?";
}

// Each row as "relative/path:mark", in the run's order.
using Marks = std::vector<std::string>;

struct Scene {
    Scene(const char* label, std::vector<std::string> files, std::vector<std::string> given,
          std::map<std::string, std::string> names, Marks posix, Marks windows = {},
          CRunOptions options = {.subfolders = true, .scope = CFileDescriptor::kEntireName})
        : label(label),
          files(std::move(files)),
          given(std::move(given)),
          names(std::move(names)),
          posix(std::move(posix)),
          windows(std::move(windows)),
          options(options) {}
    const char* label;
    std::vector<std::string> files;  ///< made in the folder ("sub/x" makes sub too)
    std::vector<std::string> given;  ///< the selection, relative to the folder
    std::map<std::string, std::string> names;
    Marks posix;    ///< the marks under POSIX rules
    Marks windows;  ///< under Windows rules; empty: as under POSIX
    CRunOptions options;
};

Marks MarkScene(const Scene& scene, const TempDir& dir, const platform::NameRules& rules, FS& fs,
                CPreviewCheck* reuse = nullptr) {
    MapExecute op(scene.names, scene.options);
    CRenameRun run(scene.options, fs, SkippingPrompts());
    std::vector<std::string> paths;
    for (const auto& g : scene.given) paths.push_back(dir / g);
    CSelection selection = run.Collect(paths);
    run.Arrange(selection);
    CPreview rows;
    run.Preview(selection, op, rows);
    CPreviewCheck own(rules);
    CPreviewCheck& check = reuse ? *reuse : own;
    check.Prepare(selection, scene.options.subfolders);
    check.Mark(rows, fs);
    Marks out;
    const std::string top = dir.str() + platform::kPathSeparator;
    for (const auto& row : rows) {
        std::string path = row.item->path().substr(top.size());
        for (char& c : path)
            if (c == platform::kPathSeparator) c = '/';
        out.push_back(path + ":" + StatusName(row.status));
    }
    return out;
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST(PreviewCheck, TheMarksOfEachScene) {
    const std::string e = "\xC3\xA9";  // é: two bytes, one UTF-16 unit
    CRunOptions flat{.subfolders = true, .scope = CFileDescriptor::kEntireName, .sortEachFolder = false};
    CRunOptions filesOnly{.folders = false, .subfolders = true, .scope = CFileDescriptor::kEntireName};
    CRunOptions nameDescending{.subfolders = true, .scope = CFileDescriptor::kEntireName, .sortOrder = 1};
    const Scene scenes[] = {
        {"a chain: a->b while b->c; a comes first and meets b",
         {"a", "b"},
         {"a", "b"},
         {{"a", "b"}, {"b", "c"}},
         {"a:duplicate", "b:renamed"}},
        {"a chain the other way round: b->c frees b for a",
         {"a", "b"},
         {"a", "b"},
         {{"a", "b"}, {"b", "c"}},
         {"b:renamed", "a:renamed"},
         {},
         nameDescending},
        {"a name freed by an earlier rename is free: a->z, then b->a",
         {"a", "b"},
         {"a", "b"},
         {{"a", "z"}, {"b", "a"}},
         {"a:renamed", "b:renamed"}},
        {"a swap: a<->b", {"a", "b"}, {"a", "b"}, {{"a", "b"}, {"b", "a"}}, {"a:duplicate", "b:duplicate"}},
        {"two items, one name", {"x", "y"}, {"x", "y"}, {{"x", "q"}, {"y", "q"}}, {"x:renamed", "y:duplicate"}},
        {"an item that keeps its name holds it",
         {"A.txt", "a.txt"},
         {"A.txt", "a.txt"},
         {{"A.txt", "a.txt"}},
         {"A.txt:duplicate", "a.txt:unchanged"}},
        {"an item outside the selection", {"a", "b"}, {"a"}, {{"a", "b"}}, {"a:exists"}},
        {"a folder the Folders choice leaves out keeps its name",
         {"d/a", "d/b/x"},
         {"d"},
         {{"a", "b"}},
         {"d/b/x:unchanged", "d/a:exists"},
         {},
         filesOnly},
        {"a folder renamed after its neighbour meets it",
         {"d/a", "d/b/x"},
         {"d"},
         {{"a", "b"}, {"b", "c"}},
         {"d/b/x:unchanged", "d/a:duplicate", "d/b:renamed", "d:unchanged"}},
        {"case only: one entry on Windows, two on POSIX",
         {"a.txt", "b.txt"},
         {"a.txt", "b.txt"},
         {{"a.txt", "A.TXT"}, {"b.txt", "a.TXT"}},
         {"a.txt:renamed", "b.txt:renamed"},
         {"a.txt:renamed", "b.txt:duplicate"}},
        {"case only against an item outside the selection",
         {"a", "B"},
         {"a"},
         {{"a", "b"}},
         {"a:renamed"},
         {"a:exists"}},
        {"names that cannot be used",
         {"a", "b", "c"},
         {"a", "b", "c"},
         {{"a", "x/y"}, {"b", "x:y"}, {"c", ".."}},
         {"a:invalid", "b:renamed", "c:invalid"},
         {"a:invalid", "b:invalid", "c:invalid"}},
        {"a reserved device name", {"a"}, {"a"}, {{"a", "con.txt"}}, {"a:renamed"}, {"a:invalid"}},
        {"a name too long in bytes but not in UTF-16 units",
         {"a", "b"},
         {"a", "b"},
         {{"a", Repeat("x", 255)}, {"b", Repeat(e, 128)}},
         {"a:renamed", "b:too long"},
         {"a:renamed", "b:renamed"}},
        {"a name too long everywhere", {"a"}, {"a"}, {{"a", Repeat("y", 256)}}, {"a:too long"}},
        {"a folder renamed before its contents: they are reached under its new name",
         {"d/x", "d/y"},
         {"d"},
         {{"d", "e"}, {"x", "z"}},
         {"d:renamed", "d/x:renamed", "d/y:unchanged"},
         {},
         flat},
        {"each folder after its contents: nothing is lost",
         {"d/x", "d/y"},
         {"d"},
         {{"d", "e"}, {"x", "z"}},
         {"d/x:renamed", "d/y:unchanged", "d:renamed"}},
        {"folders apart: one name in two folders",
         {"p/a", "q/b"},
         {"p", "q"},
         {{"a", "n"}, {"b", "n"}},
         {"p/a:renamed", "q/b:renamed", "p:unchanged", "q:unchanged"}},
        {"a given folder against its neighbours", {"p/a", "r"}, {"p"}, {{"p", "r"}}, {"p/a:unchanged", "p:exists"}},
    };
    for (const auto& scene : scenes) {
        for (const bool windows : {false, true}) {
            TempDir dir;
            for (const auto& f : scene.files) dir.File(f, f);
            FS fs;
            // Long paths on: the temporary folder's own path would leave too
            // little room under 259 units for the long names here.
            const auto rules = windows ? platform::WindowsNameRules(true) : platform::PosixNameRules();
            const Marks& want = windows && !scene.windows.empty() ? scene.windows : scene.posix;
            EXPECT_EQ(MarkScene(scene, dir, rules, fs), want) << scene.label << (windows ? " (Windows)" : " (POSIX)");
        }
    }
}

TEST(PreviewCheck, APathTooLongForWindowsWithoutLongPaths) {
    TempDir dir;
    // Long enough that a short name still ends beyond 259 units.
    const std::string deep = Repeat("f", 120) + "/" + Repeat("g", 120);
    dir.File(deep + "/a");
    Scene scene{"deep", {}, {deep + "/a"}, {{"a", "bb"}}, {}};
    const size_t folder = (dir / deep).size();
    FS fs;
    const Marks windows = MarkScene(scene, dir, platform::WindowsNameRules(false), fs);
    const Marks longPaths = MarkScene(scene, dir, platform::WindowsNameRules(true), fs);
    const Marks posix = MarkScene(scene, dir, platform::PosixNameRules(), fs);
    EXPECT_EQ(windows, (Marks{deep + "/a:" + (folder + 3 > 259 ? "too long" : "renamed")}));
    EXPECT_EQ(longPaths, (Marks{deep + "/a:renamed"}));
    EXPECT_EQ(posix, (Marks{deep + "/a:renamed"}));
}

// The folders that the selection listed are never listed again; the folder
// of given items is listed once, however often the preview is marked.
TEST(PreviewCheck, EachFolderIsReadOnce) {
    TempDir dir;
    for (const char* f : {"d/a", "d/b", "d/sub/c", "e1", "e2", "other"}) dir.File(f);
    const Scene scene{"reads", {}, {"d", "e1", "e2"}, {{"a", "b"}, {"c", "z"}, {"e1", "other"}, {"e2", "x"}}, {}};
    FS fs;
    MapExecute op(scene.names, scene.options);
    CRenameRun run(scene.options, fs, SkippingPrompts());
    CSelection selection = run.Collect(std::vector<std::string>{dir / "d", dir / "e1", dir / "e2"});
    run.Arrange(selection);
    const int collected = fs.Count(FS::kListFolder);
    CPreviewCheck check(platform::PosixNameRules());
    check.Prepare(selection, true);
    for (int round = 0; round < 3; ++round) {
        CPreview rows;
        run.Preview(selection, op, rows);
        check.Mark(rows, fs);
        Marks marks;
        for (const auto& r : rows) marks.push_back(r.item->name() + ":" + StatusName(r.status));
        EXPECT_EQ(marks, (Marks{"c:renamed", "a:duplicate", "b:unchanged", "sub:unchanged", "d:unchanged", "e1:exists",
                                "e2:renamed"}))
            << "round " << round;
    }
    EXPECT_EQ(check.listings(), 1);
    EXPECT_EQ(fs.Count(FS::kListFolder) - collected, 1);
    EXPECT_EQ(fs.Count(FS::kListFolder, dir.str()), 1);
}

// The marks against what a real run then meets, over many random names
// chosen so that chains, swaps, duplicates, case-only differences, bad and
// long names are common. The run skips every conflict, as the preview
// assumes; or it numbers every taken name, and the preview, told so, shows
// the numbered names the run gives. Without sorting each folder apart, the
// folder goes before what it holds, which then follows it.
TEST(PreviewCheck, TheMarksAreWhatTheRunMeets) {
#ifdef _WIN32
    constexpr int kNames = 600;  // renames under Wine are slow
#else
    constexpr int kNames = 4000;
#endif
    std::mt19937 random(20261208);
#ifdef _WIN32
    // Wine folds case as Windows does when it looks a name up, but not
    // always when it checks the target of a rename: two spellings of one
    // name are left to the scenes above, under Windows rules.
    const std::string letters = "abcde";
#else
    const std::string letters = "abcAB";
#endif
    auto name = [&](size_t length) {
        std::string n;
        for (size_t i = 0; i < length; ++i) n += letters[random() % letters.size()];
        return n;
    };
    for (const bool eachFolder : {true, false})
    for (const bool numbered : {false, true}) {
        SCOPED_TRACE(std::string(eachFolder ? "each folder" : "folders first") + (numbered ? ", numbered" : ""));
        TempDir dir;
        std::set<std::string> made;
        std::map<std::string, std::string> names;
        std::vector<std::string> given;
        for (int i = 0; i < kNames; ++i) {
            // A third in a folder that the selection lists, the rest beside
            // it, given one by one or not at all.
            const bool inside = random() % 3 == 0;
            std::string n = name(1 + random() % 6);
            if (!made.insert((inside ? "0in/" : "") + n).second) continue;
            dir.File((inside ? "0in/" : "") + n, n);
            if (!inside && random() % 4 != 0) given.push_back(n);
            switch (random() % 10) {
                case 0:
                    break;  // unchanged
                case 1:
                    names[n] = n + "/x";  // invalid everywhere
                    break;
                case 2:
                    names[n] = Repeat("z", 250 + static_cast<int>(random() % 10));  // too long from 256 on
                    break;
                case 3:
                    names[n] = n + (platform::SystemNameRules().ignoreCase ? ":" : "");  // invalid on Windows only
                    break;
                default:
                    names[n] = name(1 + random() % 5);
                    break;
            }
        }
        given.push_back("0in");
        names["0in"] = "0ni";
        dir.File("0ni");  // the folder meets an item outside the selection; it sorts first
        std::vector<std::string> paths;
        for (const auto& g : given) paths.push_back(dir / g);
        const CRunOptions options{
            .subfolders = true, .scope = CFileDescriptor::kEntireName, .sortEachFolder = eachFolder};

        FS previewFs;
        MapExecute preview(names, options);
        CRenameRun previewRun(options, previewFs, SkippingPrompts());
        CSelection selection = previewRun.Collect(paths);
        previewRun.Arrange(selection);
        CPreview rows;
        previewRun.Preview(selection, preview, rows);
        CPreviewCheck check;
        check.Prepare(selection, true);
        check.Mark(rows, previewFs, numbered);
        std::map<std::string, S> marks;
        std::map<std::string, std::string> newNames;
        for (const auto& row : rows) {
            marks[row.item->path()] = row.status;
            newNames[row.item->path()] = row.newName;
        }

        FS fs;
        ScriptedPrompts prompts;
        for (auto kind : {ScriptedPrompts::kDuplicate, ScriptedPrompts::kIllegal, ScriptedPrompts::kTooLong,
                          ScriptedPrompts::kError})
            prompts.Otherwise(kind, kAnswerSkip);
        if (numbered) prompts.Otherwise(ScriptedPrompts::kDuplicate, kAnswerAddNumber);
        MapExecute run(names, options);
        ASSERT_FALSE(CRenameRun(options, fs, prompts).Run(paths, run).stopped);
        // Where the folder went, when it went before what it holds: the run
        // reaches its items there, the preview names them as they were read.
        const std::string in = dir / "0in";
        std::string movedIn;
        for (const auto& call : fs.calls)
            if (call.call == FS::kMove && call.path == in) movedIn = call.target;
        auto asRead = [&](const std::string& path) {
            if (movedIn.empty() || path.compare(0, movedIn.size() + 1, movedIn + platform::kPathSeparator) != 0)
                return path;
            return in + path.substr(movedIn.size());
        };
        std::map<std::string, S> met;
        std::map<std::string, std::string> tried;  // the name each rename tried last
        for (const auto& path : marks) met[path.first] = S::kUnchanged;
        for (const auto& call : fs.calls)
            if (call.call == FS::kMove) {
                met[asRead(call.path)] = S::kRenamed;
                tried[asRead(call.path)] = call.target.substr(call.target.find_last_of(platform::kPathSeparator) + 1);
            }
        for (const auto& request : prompts.requests) {
            switch (request.kind) {
                case ScriptedPrompts::kDuplicate:
                    if (!numbered) met[asRead(request.name.oldName)] = S::kDuplicate;
                    break;
                case ScriptedPrompts::kIllegal:
                    met[asRead(request.name.oldName)] = S::kInvalidName;
                    break;
                case ScriptedPrompts::kTooLong:
                    met[asRead(request.name.oldName)] = S::kTooLong;
                    break;
                default:
                    ADD_FAILURE() << request.error.fileName << ": " << request.error.explanation;
            }
        }
        int conflicts = 0, mismatches = 0;
        for (const auto& [path, mark] : marks) {
            // The run cannot tell an item outside the selection from one in
            // it: both are a name taken.
            const S expected = mark == S::kExists ? S::kDuplicate : mark;
            conflicts += IsConflict(mark);
            const bool sameName = mark != S::kRenamed || tried[path] == newNames[path];
            if ((met[path] != expected || !sameName) && ++mismatches < 10)
                ADD_FAILURE() << path << " -> " << newNames[path] << ": marked " << StatusName(mark) << ", the run met "
                              << StatusName(met[path]) << " and gave " << tried[path];
        }
        EXPECT_EQ(mismatches, 0) << "of " << marks.size();
        EXPECT_EQ(met.size(), marks.size()) << "the run met items the preview did not show";
        if (!numbered) {
            EXPECT_GT(conflicts, static_cast<int>(marks.size()) / 10) << "too few conflicts to prove anything";
        } else if (!eachFolder) {
            const auto followed = std::count_if(fs.calls.begin(), fs.calls.end(), [&](const FS::Record& r) {
                return r.call == FS::kMove && !movedIn.empty() && asRead(r.path) != r.path;
            });
            EXPECT_GT(followed, 100) << "the folder was not renamed before its contents";
        }
    }
}

// A name longer than the platform takes is asked about as too long before
// any call, whatever the file system would answer, as the preview marks it.
TEST(PreviewCheck, TheRunAsksAboutANameTooLongBeforeTryingIt) {
    TempDir dir;
    dir.File("a", "a");
    dir.File("b", "b");
    const std::string longest = Repeat("x", static_cast<int>(platform::SystemNameRules().maxName));
    MapExecute op({{"a", longest + "y"}, {"b", longest}}, {.subfolders = false, .scope = CFileDescriptor::kEntireName});
    FS fs;
    ScriptedPrompts prompts;
    prompts.Then(ScriptedPrompts::kTooLong, kAnswerSkip);
    ASSERT_FALSE(CRenameRun(op.options(), fs, prompts).Run({dir / "a", dir / "b"}, op).stopped);
    EXPECT_TRUE(prompts.Done());
    EXPECT_EQ(prompts.First(ScriptedPrompts::kTooLong)->name.oldName, dir / "a");
    EXPECT_EQ(fs.Count(FS::kMove, dir / "a"), 0) << "asked before any call";
    EXPECT_EQ(dir.Snapshot(), (std::set<std::string>{"a=a", longest + "=b"}));
}

}  // namespace
