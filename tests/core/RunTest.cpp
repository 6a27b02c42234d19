// Compiled into both trees: the run renames in real temporary folders,
// natively and under Wine. Every test compares the folder's full contents
// afterwards, so a lost or overwritten file cannot pass unnoticed.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "core/Execute.h"
#include "core/RenameRun.h"
#include "core/Sort.h"
#include "operations/AddInsert.h"
#include "platform/FileSystem.h"
#include "platform/NameRules.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/Previews.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"

using testing_support::FaultyFileSystem;
using testing_support::ScriptedPrompts;
using testing_support::TempDir;

namespace {

using Snap = std::set<std::string>;
using P = ScriptedPrompts;
using FS = FaultyFileSystem;

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

}  // namespace

namespace {

constexpr CRunOptions kPlain{.subfolders = false, .scope = CFileDescriptor::kNameOnly, .sortEachFolder = false};

// The plain options with confirmation on or off, and in a given scope.
CRunOptions Plain(bool confirm, int scope = CFileDescriptor::kNameOnly) {
    CRunOptions options = kPlain;
    options.confirm = confirm;
    options.scope = scope;
    return options;
}

/// Gives each item named in `parts` that part; every other item keeps its name.
class FixedPartExecute : public CExecute {
public:
    explicit FixedPartExecute(std::initializer_list<std::pair<const std::string, std::string>> parts,
                              const CRunOptions& options = kPlain)
        : CExecute(options), parts_(parts) {}
    void OfferEveryItem() { CExecute::OfferEveryItem(); }
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext&) override {
        computed.push_back(fd.name());
        const auto it = parts_.find(fd.name());
        return WithPart(fd, it == parts_.end() ? fd.part() : it->second);
    }
    std::vector<std::string> computed;

private:
    std::map<std::string, std::string> parts_;
};

/// A fresh folder, the recording file system and the script of one run.
struct Bench {
    TempDir dir;
    FaultyFileSystem fs;
    ScriptedPrompts prompts;

    std::vector<std::string> Paths(const std::vector<std::string>& names) const {
        std::vector<std::string> paths;
        for (const auto& n : names) paths.push_back(dir / n);
        return paths;
    }
    /// A run of `op` over `names`; with `listFile`, the list it writes
    /// instead of renaming.
    CRunResult Run(CExecute& op, const std::vector<std::string>& names, const std::string* listFile = nullptr) {
        CRenameRun run(op.options(), fs, prompts);
        if (!listFile) return run.Run(Paths(names), op);
        CSelection selection = run.Collect(Paths(names));
        CRunResult result;
        result.stopped = !selection.complete() || !run.WriteList(selection, *listFile);
        return result;
    }
    // Old and new names of a preview over `names`.
    testing_support::NamePairs Preview(CExecute& op, const std::vector<std::string>& names) {
        return testing_support::PreviewNames(op, Paths(names), fs, prompts);
    }
    // No rename may leave the folder it started in.
    void ExpectMovesStayInTheirFolder() const {
        for (const auto& r : fs.calls) {
            if (r.call != FS::kMove) continue;
            const std::string folder = r.path.substr(0, r.path.find_last_of(platform::kPathSeparator));
            EXPECT_EQ(r.target.substr(0, r.target.find_last_of(platform::kPathSeparator)), folder) << r.target;
        }
    }
};

TEST(Run, ConfirmAnswers) {
    struct Case {
        const char* label;
        int answer;
        const char* edit;
        Snap after;
        int confirms;
    };
    const Case cases[] = {
        {"rename as typed", kAnswerRename, "typed.txt", {"typed.txt=a", "x_b.txt=b"}, 2},
        {"rename all", kAnswerRenameAll, nullptr, {"x_a.txt=a", "x_b.txt=b"}, 1},
        {"skip", kAnswerSkip, nullptr, {"a.txt=a", "x_b.txt=b"}, 2},
        {"closed", kAnswerClosed, nullptr, {"a.txt=a", "x_b.txt=b"}, 2},
        {"skip all", kAnswerSkipAll, nullptr, {"a.txt=a", "b.txt=b"}, 1},
        {"not a Confirm answer", kAnswerAddNumber, nullptr, {"a.txt=a", "x_b.txt=b"}, 2},
        {"unknown answer", 4711, nullptr, {"a.txt=a", "x_b.txt=b"}, 2},
    };
    for (const auto& c : cases) {
        Bench b;
        b.dir.File("a.txt", "a");
        b.dir.File("b.txt", "b");
        CAddAtBeginningExecute op(CRunOptions{.subfolders = false, .confirm = true, .sortEachFolder = false}, "x_");
        b.prompts.Then(P::kConfirm, c.answer, c.edit ? std::optional<std::string>(c.edit) : std::nullopt)
            .Otherwise(P::kConfirm, kAnswerRename);
        b.Run(op, {"a.txt", "b.txt"});
        EXPECT_EQ(b.dir.Snapshot(), c.after) << c.label;
        EXPECT_EQ(b.prompts.Count(P::kConfirm), c.confirms) << c.label;
        EXPECT_EQ(static_cast<int>(b.prompts.requests.size()), c.confirms) << c.label;
        const auto& first = b.prompts.requests.at(0).name;
        EXPECT_EQ(first.oldName, b.dir / "a.txt");
        EXPECT_EQ(first.computed, "x_a.txt");
        EXPECT_EQ(first.newName, "x_a.txt");
    }
}

TEST(Run, EachFailureCodeOpensItsPrompt) {
    struct Case {
        const char* label;
        const char* part;
        uint32_t injected;  // on the move to the new name; 0: the real outcome
        P::Kind prompt;
        int moves;
    };
    const Case cases[] = {
        {"already exists", "b", 0, P::kDuplicate, 1},
        {"bad name, refused before any call", "x/y", 0, P::kIllegal, 0},
        {"invalid name from the system", "n", platform::kErrorInvalidName, P::kIllegal, 1},
        {"path not found", "n", platform::kErrorPathNotFound, P::kTooLong, 1},
        {"name too long", "n", platform::kErrorFilenameExcedRange, P::kTooLong, 1},
        {"access denied", "n", platform::kErrorAccessDenied, P::kError, 1},
        {"sharing violation", "n", platform::kErrorSharingViolation, P::kError, 1},
    };
    for (const auto& c : cases) {
        Bench b;
        b.dir.File("a.txt", "a");
        b.dir.File("b.txt", "b");
        if (c.injected) b.fs.Fail(FS::kMoveTo, b.dir / "n.txt", c.injected);
        FixedPartExecute op({{"a.txt", c.part}});
        b.prompts.Then(c.prompt, kAnswerSkip);
        b.Run(op, {"a.txt"});
        EXPECT_EQ(b.dir.Snapshot(), (Snap{"a.txt=a", "b.txt=b"})) << c.label;
        EXPECT_TRUE(b.prompts.Done()) << c.label;
        EXPECT_EQ(b.prompts.requests.size(), 1u) << c.label;
        EXPECT_EQ(b.fs.Count(FS::kMove), c.moves) << c.label;
        const auto& r = b.prompts.requests.at(0);
        if (c.prompt == P::kError) {
            EXPECT_EQ(r.error.title, "Cannot rename");
            EXPECT_EQ(r.error.headline, "The file cannot be renamed.");
            EXPECT_EQ(r.error.fileName, b.dir / "a.txt");
            EXPECT_EQ(r.error.errorCode, c.injected);
            EXPECT_EQ(r.error.explanation, platform::ErrorMessage(c.injected));
        } else {
            EXPECT_EQ(r.name.oldName, b.dir / "a.txt") << c.label;
            EXPECT_EQ(r.name.computed, std::string(c.part) + ".txt") << c.label;
            EXPECT_EQ(r.name.newName, r.name.computed) << c.label;
        }
    }
}

TEST(Run, AnswersOfTheNameConflictPrompts) {
    // a.txt meets the conflict of each prompt; c.txt then goes to d.txt.
    const P::Kind kinds[] = {P::kDuplicate, P::kIllegal, P::kTooLong};
    const char* const parts[] = {"b", "x/y", "t"};
    struct Case {
        const char* label;
        int answer;
        const char* edit;
        const char* aAfter[3];  // a's name afterwards, by prompt
        const char* cAfter;
        int confirms;
        int prompts[3];
    };
    const Case cases[] = {
        {"rename as typed", kAnswerRename, "z.txt", {"z.txt", "z.txt", "z.txt"}, "d.txt", 2, {1, 1, 1}},
        {"rename all", kAnswerRenameAll, "z.txt", {"z.txt", "z.txt", "z.txt"}, "d.txt", 1, {1, 1, 1}},
        // A number does not cure a bad name: asked again, then skipped.
        {"add number", kAnswerAddNumber, "ignored.txt", {"b1.txt", "a.txt", "t1.txt"}, "d.txt", 2, {1, 2, 1}},
        {"skip", kAnswerSkip, "ignored.txt", {"a.txt", "a.txt", "a.txt"}, "d.txt", 2, {1, 1, 1}},
        {"closed", kAnswerClosed, nullptr, {"a.txt", "a.txt", "a.txt"}, "d.txt", 2, {1, 1, 1}},
        {"unknown answer", 4711, nullptr, {"a.txt", "a.txt", "a.txt"}, "d.txt", 2, {1, 1, 1}},
        {"skip all", kAnswerSkipAll, nullptr, {"a.txt", "a.txt", "a.txt"}, "c.txt", 1, {1, 1, 1}},
    };
    for (int k = 0; k < 3; ++k) {
        for (const auto& c : cases) {
            Bench b;
            b.dir.File("a.txt", "a");
            b.dir.File("b.txt", "b");
            b.dir.File("c.txt", "c");
            b.fs.Fail(FS::kMoveTo, b.dir / "t.txt", platform::kErrorPathNotFound);
            FixedPartExecute op({{"a.txt", parts[k]}, {"c.txt", "d"}}, Plain(true));
            b.prompts.Then(P::kConfirm, kAnswerRename)
                .Then(kinds[k], c.answer, c.edit ? std::optional<std::string>(c.edit) : std::nullopt)
                .Otherwise(P::kConfirm, kAnswerRename)
                .Otherwise(kinds[k], kAnswerSkip);
            const CRunResult result = b.Run(op, {"a.txt", "c.txt"});
            const std::string label = std::string(c.label) + " in prompt " + std::to_string(kinds[k]);
            EXPECT_EQ(b.dir.Snapshot(),
                      (Snap{std::string(c.aAfter[k]) + "=a", "b.txt=b", std::string(c.cAfter) + "=c"}))
                << label;
            EXPECT_EQ(b.prompts.Count(P::kConfirm), c.confirms) << label;
            EXPECT_EQ(b.prompts.Count(kinds[k]), c.prompts[k]) << label;
            EXPECT_EQ(result.stopped, c.answer == kAnswerSkipAll) << label;
            b.ExpectMovesStayInTheirFolder();
        }
    }
}

TEST(Run, AddNumberTriesTheNextNumberWithoutAsking) {
    Bench b;
    b.dir.File("a.txt", "a");
    b.dir.File("b.txt", "b");
    b.dir.File("b1.txt", "b1");
    b.dir.File("c.txt", "c");
    FixedPartExecute op({{"a.txt", "b"}, {"c.txt", "b"}});
    // The second item starts afresh: asked again, and numbered past both.
    b.prompts.Then(P::kDuplicate, kAnswerAddNumber).Then(P::kDuplicate, kAnswerAddNumber);
    b.Run(op, {"a.txt", "c.txt"});
    EXPECT_EQ(b.dir.Snapshot(), (Snap{"b.txt=b", "b1.txt=b1", "b2.txt=a", "b3.txt=c"}));
    EXPECT_TRUE(b.prompts.Done());
    EXPECT_EQ(b.prompts.requests.size(), 2u);
    EXPECT_EQ(b.prompts.requests.at(1).name.computed, "b.txt");
    EXPECT_EQ(b.prompts.requests.at(1).name.oldName, b.dir / "c.txt");
}

TEST(Run, NumberingFollowsWhatTheUserTyped) {
    struct Case {
        const char* label;
        std::function<void(Bench&)> setup;
        std::vector<std::string> items;
        std::vector<P::Step> script;
        Snap after;
    };
    const auto step = [](P::Kind kind, int answer, const char* edit = nullptr) {
        return P::Step{kind, answer, edit ? std::optional<std::string>(edit) : std::nullopt, {}};
    };
    const Case cases[] = {
        // The number goes into the typed name, not into the computed one.
        {"typed name taken, then a number",
         [](Bench&) {},
         {"a.txt"},
         {step(P::kDuplicate, kAnswerRename, "e.txt"), step(P::kDuplicate, kAnswerAddNumber)},
         {"b.txt=b", "e.txt=e", "e1.txt=a"}},
        // A typed name that is taken asks again instead of numbering on.
        {"typed after numbering",
         [](Bench& b) { b.fs.Fail(FS::kMoveTo, b.dir / "b1.txt", platform::kErrorPathNotFound); },
         {"a.txt"},
         {step(P::kDuplicate, kAnswerAddNumber), step(P::kTooLong, kAnswerRename, "e.txt"),
          step(P::kDuplicate, kAnswerSkip)},
         {"a.txt=a", "b.txt=b", "e.txt=e"}},
        // A number left over from a skipped item must not rename the next one.
        {"left over from a skipped item",
         [](Bench& b) {
             b.fs.Fail(FS::kMoveTo, b.dir / "b1.txt", platform::kErrorAccessDenied);
             b.dir.File("c.txt", "c");
         },
         {"a.txt", "c.txt"},
         {step(P::kDuplicate, kAnswerAddNumber), step(P::kError, kAnswerSkip), step(P::kDuplicate, kAnswerSkip)},
         {"a.txt=a", "b.txt=b", "c.txt=c", "e.txt=e"}},
    };
    for (const auto& c : cases) {
        Bench b;
        b.dir.File("a.txt", "a");
        b.dir.File("b.txt", "b");
        b.dir.File("e.txt", "e");
        c.setup(b);
        for (const auto& s : c.script) b.prompts.Then(s.kind, s.answer, s.edit);
        FixedPartExecute op({{"a.txt", "b"}, {"c.txt", "e"}});
        b.Run(op, c.items);
        EXPECT_EQ(b.dir.Snapshot(), c.after) << c.label;
        EXPECT_TRUE(b.prompts.Done()) << c.label;
        EXPECT_EQ(b.prompts.requests.size(), c.script.size()) << c.label;
    }
}

TEST(Run, AddNumberEndsWhenEveryNumberIsTaken) {
    Bench b;
    b.dir.File("a.txt", "a");
    b.fs.Fail(FS::kMove, "", platform::kErrorAlreadyExists);
    FixedPartExecute op({{"a.txt", "b"}});
    b.prompts.Then(P::kDuplicate, kAnswerAddNumber).Then(P::kDuplicate, kAnswerSkip);
    b.Run(op, {"a.txt"});
    EXPECT_EQ(b.dir.Snapshot(), Snap{"a.txt=a"});
    EXPECT_TRUE(b.prompts.Done());
    EXPECT_LT(b.fs.Count(FS::kMove), 100000);
    const std::string again = b.prompts.requests.at(1).name.computed;
    EXPECT_EQ(again.substr(0, 1), "b");
    EXPECT_GT(std::stoi(again.substr(1)), 1) << again;
}

// A number past the largest is never added: the item keeps its name instead.
TEST(Run, AddNumberStopsBeforeTheNumberOverflows) {
    CFileDescriptor fd("dir", "b.txt", CFileDescriptor::kNameOnly);
    CDuplicateNumber number(INT_MAX - 1);
    number.Start(fd);
    ASSERT_TRUE(number.AddTo(fd));
    EXPECT_EQ(fd.name(), "b" + std::to_string(INT_MAX - 1) + ".txt");
    EXPECT_FALSE(number.AddTo(fd));
    EXPECT_EQ(fd.name(), "b" + std::to_string(INT_MAX - 1) + ".txt") << "left as it was";
}

TEST(Run, BadNamesAreRefusedBeforeAnyCall) {
    struct Case {
        const char* name;
        bool windowsOnly;
    };
    const Case cases[] = {
        {"", false},          {".", false},  {"..", false}, {"sub/x.txt", false}, {"../x.txt", false},
        {"sub\\x.txt", true}, {"a:b", true}, {"con", true}, {"x.", true},         {"q?.txt", true},
    };
    for (const auto& c : cases) {
        Bench b;
        b.dir.File("a.txt", "a");
        b.dir.Folder("sub");
        FixedPartExecute op({{"a.txt", c.name}}, Plain(false, CFileDescriptor::kEntireName));
        const bool bad = !c.windowsOnly || kWindows;
        if (bad) b.prompts.Then(P::kIllegal, kAnswerSkip);
        b.Run(op, {"a.txt"});
        EXPECT_EQ(b.dir.Snapshot(), bad ? (Snap{"a.txt=a", "sub/"}) : (Snap{std::string(c.name) + "=a", "sub/"}))
            << c.name;
        EXPECT_TRUE(b.prompts.Done()) << c.name;
        EXPECT_EQ(b.prompts.requests.size(), bad ? 1u : 0u) << c.name;
        EXPECT_EQ(b.fs.Count(FS::kMove), bad ? 0 : 1) << c.name;
        if (bad) {
            EXPECT_EQ(b.prompts.requests.at(0).name.computed, c.name);
        }
    }
}

TEST(Run, EditedNamesAreCheckedToo) {
    struct Case {
        const char* label;
        const char* part;  // what a.txt is computed to
        bool confirm;
        std::vector<P::Kind> kinds;  // the prompts; the first gets the bad edit
    };
    const Case cases[] = {
        {"typed in Confirm", "n", true, {P::kConfirm, P::kIllegal}},
        {"typed in Duplicate", "b", false, {P::kDuplicate, P::kIllegal}},
        {"typed in Too long", "t", false, {P::kTooLong, P::kIllegal}},
        {"typed again in Bad file name", "x/y", false, {P::kIllegal, P::kIllegal}},
    };
    for (const char* edit : {"sub/x.txt", "../x.txt", ".."}) {
        for (const auto& c : cases) {
            Bench b;
            b.dir.File("a.txt", "a");
            b.dir.File("b.txt", "b");
            b.dir.Folder("sub");
            b.fs.Fail(FS::kMoveTo, b.dir / "t.txt", platform::kErrorPathNotFound);
            FixedPartExecute op({{"a.txt", c.part}}, Plain(c.confirm != 0));
            b.prompts.Then(c.kinds[0], kAnswerRename, edit)
                .Then(c.kinds[1], kAnswerRename, edit)
                .Then(P::kIllegal, kAnswerSkip);
            b.Run(op, {"a.txt"});
            EXPECT_EQ(b.dir.Snapshot(), (Snap{"a.txt=a", "b.txt=b", "sub/"})) << c.label << " " << edit;
            EXPECT_TRUE(b.prompts.Done()) << c.label << " " << edit;
            EXPECT_EQ(b.prompts.requests.back().name.computed, edit) << c.label;
            b.ExpectMovesStayInTheirFolder();
        }
    }
}

TEST(Run, FolderRenamedBeforeItsContents) {
    struct Case {
        int sortEachFolder;
        Snap after;
        int tooLong;
    };
    const Case cases[] = {
        // The folder goes first; its contents follow it under its new name.
        {0, {"x_dir/", "x_dir/x_f1=1", "x_dir/x_f2=2"}, 0},
        {1, {"x_dir/", "x_dir/x_f1=1", "x_dir/x_f2=2"}, 0},
    };
    for (const auto& c : cases) {
        Bench b;
        b.dir.File("dir/f1", "1");
        b.dir.File("dir/f2", "2");
        CAddAtBeginningExecute op(CRunOptions{.sortEachFolder = c.sortEachFolder != 0}, "x_");
        b.prompts.Otherwise(P::kTooLong, kAnswerSkip);
        b.Run(op, {"dir"});
        EXPECT_EQ(b.dir.Snapshot(), c.after) << c.sortEachFolder;
        EXPECT_EQ(b.prompts.Count(P::kTooLong), c.tooLong) << c.sortEachFolder;
        EXPECT_EQ(b.prompts.requests.size(), static_cast<size_t>(c.tooLong));
        std::set<std::string> asked;
        for (const auto& r : b.prompts.requests) asked.insert(r.name.oldName);
        if (c.tooLong) {
            EXPECT_EQ(asked, (std::set<std::string>{b.dir / "dir/f1", b.dir / "dir/f2"}));
        }
    }
}

TEST(Run, CannotRenameAnswers) {
    struct Case {
        int answer;
        Snap after;
    };
    const Case cases[] = {
        {kAnswerSkip, {"a.txt=a", "x_c.txt=c"}},
        {kAnswerClosed, {"a.txt=a", "x_c.txt=c"}},
        {kAnswerSkipAll, {"a.txt=a", "c.txt=c"}},
    };
    for (const auto& c : cases) {
        Bench b;
        b.dir.File("a.txt", "a");
        b.dir.File("c.txt", "c");
        b.fs.Fail(FS::kMove, b.dir / "a.txt", platform::kErrorAccessDenied);
        CAddAtBeginningExecute op(CRunOptions{.subfolders = false, .sortEachFolder = false}, "x_");
        b.prompts.Then(P::kError, c.answer);
        const CRunResult result = b.Run(op, {"a.txt", "c.txt"});
        EXPECT_EQ(b.dir.Snapshot(), c.after) << c.answer;
        EXPECT_TRUE(b.prompts.Done());
        EXPECT_EQ(b.prompts.requests.size(), 1u);
        EXPECT_EQ(b.fs.Count(FS::kMove, b.dir / "a.txt"), 1);  // reported once, not retried
        // What the run did, as one value.
        const bool stopped = c.answer == kAnswerSkipAll;
        EXPECT_EQ(result.renamed, stopped ? 0u : 1u) << c.answer;
        EXPECT_EQ(result.failed, 1u) << c.answer;
        EXPECT_EQ(result.stopped, stopped) << c.answer;
    }
}

// An item another program holds open: the error names the holders and
// offers "Try again", which tries the same rename once more; an access that
// is denied for another reason is not in use.
TEST(Run, AnItemInUseIsTriedAgain) {
    struct Case {
        const char* what;
        uint32_t code;
        std::vector<std::string> holders;
        bool offered;
    };
    const Case cases[] = {
        {"sharing violation, holder named", platform::kErrorSharingViolation, {"Notepad (pid 42)"}, true},
        {"sharing violation, nobody named", platform::kErrorSharingViolation, {}, true},
        {"access denied by an open handle", platform::kErrorAccessDenied, {"Viewer (pid 7)"}, true},
        {"access denied, no holder", platform::kErrorAccessDenied, {}, false},
    };
    for (const auto& c : cases) {
        Bench b;
        b.dir.File("a.txt", "a");
        b.fs.Fail(FS::kMove, b.dir / "a.txt", c.code, 1);  // free at the second try
        b.fs.Hold(b.dir / "a.txt", c.holders);
        CAddAtBeginningExecute op(CRunOptions{.subfolders = false, .sortEachFolder = false}, "x_");
        b.prompts.Then(P::kError, c.offered ? kAnswerTryAgain : kAnswerSkip);
        const CRunResult result = b.Run(op, {"a.txt"});
        ASSERT_EQ(b.prompts.requests.size(), 1u) << c.what;
        const CErrorReport& shown = b.prompts.requests[0].error;
        EXPECT_EQ(shown.canRetry, c.offered) << c.what;
        EXPECT_EQ(shown.holders, c.holders) << c.what;
        EXPECT_EQ(b.dir.Snapshot(), c.offered ? Snap{"x_a.txt=a"} : Snap{"a.txt=a"}) << c.what;
        EXPECT_EQ(result.renamed, c.offered ? 1u : 0u) << c.what;
        EXPECT_EQ(result.failed, c.offered ? 0u : 1u) << c.what;
    }
}

TEST(Run, CannotAccess) {
    struct Case {
        const char* label;
        FS::Call call;
        const char* path;  // where the fault is; "missing" is not there at all
        uint32_t code;
        int answer;
        Snap after;
        std::vector<std::string> neverListed;
    };
    const Snap none = {"dir1/", "dir1/f=f", "dir2/", "dir2/g=g", "h=h"};
    const Snap all = {"dir1/", "dir1/x_f=f", "dir2/", "dir2/x_g=g", "x_h=h"};
    const Case cases[] = {
        {"vanished item, skip", FS::kGetAttributes, "missing", platform::kErrorFileNotFound, kAnswerSkip, all, {}},
        {"vanished item, skip all",
         FS::kGetAttributes,
         "missing",
         platform::kErrorFileNotFound,
         kAnswerSkipAll,
         none,
         {"dir1", "dir2"}},
        {"vanished content, skip",
         FS::kGetAttributes,
         "dir1/f",
         platform::kErrorFileNotFound,
         kAnswerSkip,
         {"dir1/", "dir1/f=f", "dir2/", "dir2/x_g=g", "x_h=h"},
         {}},
        {"vanished content, skip all",
         FS::kGetAttributes,
         "dir1/f",
         platform::kErrorFileNotFound,
         kAnswerSkipAll,
         none,
         {"dir2"}},
        {"listing fails, what was listed goes on",
         FS::kListFolder,
         "dir1",
         platform::kErrorAccessDenied,
         kAnswerSkip,
         all,
         {}},
        {"listing fails, skip all",
         FS::kListFolder,
         "dir1",
         platform::kErrorAccessDenied,
         kAnswerSkipAll,
         none,
         {"dir2"}},
        {"folder cannot be entered",
         FS::kSetCurrentDirectory,
         "dir1",
         platform::kErrorAccessDenied,
         kAnswerSkip,
         {"dir1/", "dir1/f=f", "dir2/", "dir2/x_g=g", "x_h=h"},
         {"dir1"}},
    };
    for (const auto& c : cases) {
        Bench b;
        b.dir.File("dir1/f", "f");
        b.dir.File("dir2/g", "g");
        b.dir.File("h", "h");
        std::vector<std::string> items = {"dir1", "dir2", "h"};
        if (std::string(c.path) == "missing") {
            items.insert(items.begin(), "missing");
        } else {
            b.fs.Fail(c.call, b.dir / c.path, c.code);
            // An entry of a listing is asked for only where the listing does
            // not tell its kind, as on some file systems.
            if (c.call == FS::kGetAttributes) b.fs.HideKind(b.dir / c.path);
        }
        CAddAtBeginningExecute op(CRunOptions{.folders = false, .sortOrder = -1}, "x_");  // files only, in the order given
        b.prompts.Then(P::kError, c.answer);
        b.Run(op, items);
        EXPECT_EQ(b.dir.Snapshot(), c.after) << c.label;
        EXPECT_TRUE(b.prompts.Done()) << c.label;
        ASSERT_EQ(b.prompts.requests.size(), 1u) << c.label;
        const auto& r = b.prompts.requests.at(0).error;
        EXPECT_EQ(r.title, "Cannot access");
        EXPECT_EQ(r.headline, "The file cannot be accessed.");
        EXPECT_EQ(r.fileName, b.dir / c.path) << c.label;
        EXPECT_EQ(r.errorCode, c.code) << c.label;
        for (const auto& folder : c.neverListed) EXPECT_EQ(b.fs.Count(FS::kListFolder, b.dir / folder), 0) << c.label;
        // What could not be read is not renamed either.
        EXPECT_EQ(b.fs.Count(FS::kMove, b.dir / c.path), 0) << c.label;
    }
}

// The lines of a list file, each ended as the platform ends lines.
std::vector<std::string> Lines(const std::string& data) {
    const std::string end = platform::kLineEnd;
    std::vector<std::string> out;
    size_t from = 0;
    for (size_t at; (at = data.find(end, from)) != std::string::npos; from = at + end.size())
        out.push_back(data.substr(from, at - from));
    EXPECT_EQ(from, data.size()) << "a line without the platform's line end";
    return out;
}

TEST(Run, ListFile) {
    struct Case {
        int files;
        int folders;
        std::set<std::string> contents;  // expansion, listed first, in the OS's listing order
        std::vector<std::string> given;  // then the given items, in their order
    };
    const Case cases[] = {
        {1, 1, {"dir/f", "dir/sub/g", "dir/sub"}, {"dir", "a.txt"}},
        {1, 0, {"dir/f", "dir/sub/g"}, {"a.txt"}},
        {0, 1, {"dir/sub"}, {"dir"}},
        {0, 0, {}, {}},
    };
    for (const auto& c : cases) {
        Bench b;
        TempDir out;
        b.dir.File("dir/f", "f");
        b.dir.File("dir/sub/g", "g");
        b.dir.File("a.txt", "a");
        out.File("list.txt", "an older and much longer list that must not survive at the end");
        const Snap before = b.dir.Snapshot();
        CAddAtBeginningExecute op(CRunOptions{.files = c.files != 0, .folders = c.folders != 0, .confirm = true, .sortOrder = -1, .sortEachFolder = false}, "x_");  // in the order given
        const std::string list = out / "list.txt";
        b.Run(op, {"dir", "a.txt"}, &list);
        EXPECT_EQ(b.dir.Snapshot(), before);
        EXPECT_TRUE(b.prompts.requests.empty());
        const auto lines = Lines(out.Read("list.txt"));
        ASSERT_EQ(lines.size(), c.contents.size() + c.given.size()) << c.files << c.folders;
        std::set<std::string> contents(lines.begin(), lines.begin() + c.contents.size());
        std::set<std::string> expected;
        for (const auto& rel : c.contents) expected.insert(b.dir / rel);
        EXPECT_EQ(contents, expected);
        for (size_t i = 0; i < c.given.size(); ++i) EXPECT_EQ(lines[c.contents.size() + i], b.dir / c.given[i]);
        // A folder's contents come before the folder.
        const auto at = [&](const std::string& rel) { return std::find(lines.begin(), lines.end(), b.dir / rel); };
        if (c.files && c.folders) {
            EXPECT_LT(at("dir/sub/g"), at("dir/sub"));
        }
    }
}

// An item whose kind cannot be read is reported, and left unrenamed, but a
// list file still names it: the list is of the selection, not of what was
// read.
TEST(Run, ListFileKeepsItemsThatCouldNotBeRead) {
    Bench b;
    TempDir out;
    b.dir.File("dir/f", "f");
    b.dir.File("dir/g", "g");
    b.fs.HideKind(b.dir / "dir/f");
    b.fs.Fail(FS::kGetAttributes, b.dir / "dir/f", platform::kErrorAccessDenied);
    b.fs.Fail(FS::kGetAttributes, b.dir / "gone", platform::kErrorFileNotFound);
    b.prompts.Otherwise(P::kError, kAnswerSkip);
    CAddAtBeginningExecute op(CRunOptions{.sortOrder = -1}, "x_");
    const std::string list = out / "list.txt";
    b.Run(op, {"gone", "dir"}, &list);
    EXPECT_EQ(Lines(out.Read("list.txt")),
              (std::vector<std::string>{b.dir / "dir/f", b.dir / "dir/g", b.dir / "gone", b.dir / "dir"}));
    EXPECT_EQ(b.prompts.Count(P::kError), 2);

    // Renamed, it is left alone.
    Bench again;
    again.dir.File("dir/f", "f");
    again.dir.File("dir/g", "g");
    again.fs.HideKind(again.dir / "dir/f");
    again.fs.Fail(FS::kGetAttributes, again.dir / "dir/f", platform::kErrorAccessDenied);
    again.prompts.Otherwise(P::kError, kAnswerSkip);
    again.Run(op, {"dir"});
    EXPECT_EQ(again.dir.Snapshot(), (Snap{"x_dir/", "x_dir/f=f", "x_dir/x_g=g"}));
}

TEST(Run, ListFileErrors) {
    struct Case {
        const char* label;
        bool failWrite;
        bool missingItem;
        int errors;
        bool written;
    };
    const Case cases[] = {
        {"cannot be written", true, false, 1, false},
        // "Skip all" ends the run: no list that misses what was never read.
        {"run ended by skip all", false, true, 1, false},
    };
    for (const auto& c : cases) {
        Bench b;
        TempDir out;
        b.dir.File("a.txt", "a");
        out.File("list.txt", "old");
        const std::string list = out / "list.txt";
        if (c.failWrite) b.fs.Fail(FS::kWriteFile, list, platform::kErrorAccessDenied);
        b.prompts.Then(P::kError, kAnswerSkipAll);
        CAddAtBeginningExecute op(CRunOptions{.sortEachFolder = false}, "x_");
        std::vector<std::string> items = {"a.txt"};
        if (c.missingItem) items.insert(items.begin(), "missing");
        b.Run(op, items, &list);
        EXPECT_EQ(b.dir.Snapshot(), Snap{"a.txt=a"}) << c.label;
        EXPECT_EQ(out.Snapshot(), Snap{"list.txt=old"}) << c.label;
        EXPECT_TRUE(b.prompts.Done()) << c.label;
        EXPECT_EQ(b.fs.Count(FS::kWriteFile), c.failWrite ? 1 : 0) << c.label;
        const auto& r = b.prompts.requests.at(0).error;
        EXPECT_EQ(r.title, "Cannot access");
        EXPECT_EQ(r.headline, "The file cannot be accessed.");
        EXPECT_EQ(r.fileName, c.failWrite ? list : b.dir / "missing") << c.label;
    }
}

TEST(Run, UnchangedNames) {
    struct Case {
        int alwaysOffer;
        bool preview;
        int confirms;
        size_t listed;
    };
    const Case cases[] = {{0, false, 1, 0}, {1, false, 2, 0}, {0, true, 0, 2}, {1, true, 0, 2}};
    for (const auto& c : cases) {
        Bench b;
        b.dir.File("same.txt", "s");
        b.dir.File("other.txt", "o");
        CRunOptions options = kPlain;
        options.confirm = true;
        options.sortOrder = -1;  // in the order given
        FixedPartExecute op({{"other.txt", "new"}}, options);
        if (c.alwaysOffer) op.OfferEveryItem();
        b.prompts.Otherwise(P::kConfirm, kAnswerRename);
        std::vector<std::pair<std::string, std::string>> previewed;
        if (c.preview)
            previewed = b.Preview(op, {"same.txt", "other.txt"});
        else
            b.Run(op, {"same.txt", "other.txt"});
        EXPECT_EQ(b.dir.Snapshot(),
                  c.preview ? (Snap{"same.txt=s", "other.txt=o"}) : (Snap{"same.txt=s", "new.txt=o"}));
        EXPECT_EQ(b.prompts.Count(P::kConfirm), c.confirms);
        // A name confirmed unchanged is not handed to the file system.
        EXPECT_EQ(b.fs.Count(FS::kMove), c.preview ? 0 : 1);
        if (c.preview) {
            EXPECT_EQ(previewed, (std::vector<std::pair<std::string, std::string>>{{"same.txt", "same.txt"},
                                                                                   {"other.txt", "new.txt"}}));
        }
    }
}

TEST(Run, ManualRenameOffersEveryItem) {
    Bench b;
    b.dir.File("a.txt", "a");
    b.dir.File("b.txt", "b");
    CManuallyExecute op(kPlain, "");
    b.prompts.Then(P::kConfirm, kAnswerRename).Then(P::kConfirm, kAnswerRename, "typed.md");
    b.Run(op, {"a.txt", "b.txt"});
    EXPECT_EQ(b.dir.Snapshot(), (Snap{"a.txt=a", "typed.md=b"}));
    EXPECT_TRUE(b.prompts.Done());
}

TEST(Run, CaseOnlyRenames) {
    struct Case {
        const char* from;
        const char* to;
        Snap before;
        Snap after;
    };
    const Case cases[] = {
        {"a.txt", "A.txt", {"a.txt=a"}, {"A.txt=a"}},
        {"readme", "README", {"readme=a"}, {"README=a"}},
        {"dir", "DIR", {"dir/", "dir/f=f"}, {"DIR/", "DIR/f=f"}},
    };
    for (const auto& c : cases) {
        Bench b;
        for (const auto& e : c.before) {
            const auto eq = e.find('=');
            if (eq == std::string::npos)
                b.dir.Folder(e.substr(0, e.size() - 1));
            else
                b.dir.File(e.substr(0, eq), e.substr(eq + 1));
        }
        FixedPartExecute op({{c.from, c.to}}, Plain(false, CFileDescriptor::kEntireName));
        b.Run(op, {c.from});
        EXPECT_EQ(b.dir.Snapshot(), c.after) << c.from;
        EXPECT_TRUE(b.prompts.requests.empty()) << c.from;
    }
}

// Puts the process back where it was, whatever a test did to it.
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard() { platform::RealFileSystem().GetWorkingFolder(saved_); }
    ~CurrentDirectoryGuard() { platform::RealFileSystem().SetWorkingFolder(saved_); }

private:
    std::string saved_;
};

#ifndef _WIN32
// Another name of the same file is taken: renaming onto it would change
// nothing while reporting success. It is a duplicate like any other.
TEST(Run, AHardLinkOfTheSameFileIsADuplicate) {
    Bench b;
    b.dir.File("a.txt", "a");
    std::filesystem::create_hard_link(testing_support::U8(b.dir / "a.txt"), testing_support::U8(b.dir / "b.txt"));
    FixedPartExecute op({{"a.txt", "b"}});
    b.prompts.Then(P::kDuplicate, kAnswerAddNumber);
    b.Run(op, {"a.txt"});
    EXPECT_TRUE(b.prompts.Done());
    EXPECT_EQ(b.prompts.First(P::kDuplicate)->name.computed, "b.txt");
    EXPECT_EQ(b.dir.Snapshot(), (Snap{"b.txt=a", "b1.txt=a"}));
}
#endif

// The user confirmed a rename of ".../b/3". While the question was open the
// folder b was moved away and a new b made with its own 3: the rename acts
// on the item at the path the user was shown, not on the one that moved.
TEST(Run, AConfirmedRenameActsOnThePathShown) {
    Bench b;
    for (const char* name : {"b/1", "b/2", "b/3", "b/4"}) b.dir.File(name, name);
    CAddAtBeginningExecute op(CRunOptions{.subfolders = false, .confirm = true, .sortOrder = kSortNameAscending}, "x_");
    b.prompts.Then(P::kConfirm, kAnswerRename)
        .Then(P::kConfirm, kAnswerRename)
        .Then(P::kConfirm, kAnswerRename, {}, [&] {
            std::filesystem::rename(testing_support::U8(b.dir / "b"), testing_support::U8(b.dir / "moved"));
            b.dir.File("b/3", "new 3");
        })
        .Then(P::kConfirm, kAnswerRename)
        .Then(P::kError, kAnswerSkip);  // b/4 is gone from b
    b.Run(op, {"b/1", "b/2", "b/3", "b/4"});
    EXPECT_TRUE(b.prompts.Done());
    EXPECT_EQ(b.dir.Snapshot(), (Snap{"b/", "b/x_3=new 3", "moved/", "moved/x_1=b/1", "moved/x_2=b/2",
                                      "moved/3=b/3", "moved/4=b/4"}));
    EXPECT_GE(b.fs.Count(FS::kPaused), 4) << "the file system hears of every wait for the user";
}

TEST(Run, CurrentDirectoryRestored) {
    for (const bool failInside : {false, true}) {
        TempDir start;
        Bench b;
        CurrentDirectoryGuard guard;  // restores before the folders are removed
        b.dir.File("dir/sub/deep/f", "f");
        ASSERT_EQ(platform::RealFileSystem().SetWorkingFolder(start.str()), 0u);
        if (failInside) b.fs.Fail(FS::kSetCurrentDirectory, b.dir / "dir/sub/deep", platform::kErrorAccessDenied);
        b.prompts.Otherwise(P::kError, kAnswerSkip);
        CAddAtBeginningExecute op(CRunOptions{}, "x_");
        b.Run(op, {"dir"});
        std::string now;
        ASSERT_EQ(platform::RealFileSystem().GetWorkingFolder(now), 0u);
        EXPECT_TRUE(std::filesystem::equivalent(testing_support::U8(now), testing_support::U8(start.str())));
        // Expansion did walk into the folders.
        EXPECT_EQ(b.fs.Count(FS::kSetCurrentDirectory, b.dir / "dir/sub"), 1);
        // A folder that cannot be entered keeps its contents but is renamed itself.
        EXPECT_EQ(b.dir.Snapshot(), (Snap{"x_dir/", "x_dir/x_sub/", "x_dir/x_sub/x_deep/",
                                          failInside ? "x_dir/x_sub/x_deep/f=f" : "x_dir/x_sub/x_deep/x_f=f"}));
        EXPECT_EQ(b.prompts.requests.size(), failInside ? 1u : 0u);
    }
}

TEST(Run, PreviewAsksNothingAndRenamesNothing) {
    Bench b;
    b.dir.File("a.txt", "a");
    b.dir.File("b.txt", "b");
    b.dir.File("c.txt", "c");
    b.dir.Folder("d");
    CRunOptions options = kPlain;
    options.confirm = true;
    options.folders = false;
    FixedPartExecute op({{"a.txt", "b"}, {"b.txt", "x/y"}, {"d", "e"}}, options);
    b.prompts.Then(P::kError, kAnswerSkip);  // an item that is not there is still reported
    const std::vector<std::string> names = {"a.txt", "b.txt", "missing", "c.txt", "d"};
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"a.txt", "b.txt"}, {"b.txt", "x/y.txt"}, {"c.txt", "c.txt"}};
    EXPECT_EQ(b.Preview(op, names), expected);
    EXPECT_EQ(b.dir.Snapshot(), (Snap{"a.txt=a", "b.txt=b", "c.txt=c", "d/"}));
    EXPECT_TRUE(b.prompts.Done());
    EXPECT_EQ(b.prompts.requests.size(), 1u);
    EXPECT_EQ(b.fs.Count(FS::kMove), 0);

    // Each preview starts afresh.
    b.prompts.Then(P::kError, kAnswerSkip);
    EXPECT_EQ(b.Preview(op, names), expected);
    EXPECT_TRUE(b.Preview(op, {}).empty());
}

TEST(Run, ItemsLeftOutAreNotComputed) {
    // A numbering operation must not spend a number on an item it does not rename.
    struct Case {
        int files;
        int folders;
        std::set<std::string> computed;
    };
    const Case cases[] = {
        {1, 0, {"f", "g"}},
        {0, 1, {"dir", "sub"}},
        {1, 1, {"dir", "sub", "f", "g"}},
    };
    for (const auto& c : cases) {
        Bench b;
        b.dir.File("dir/f", "f");
        b.dir.File("dir/sub/g", "g");
        CRunOptions options = kPlain;
        options.files = c.files != 0;
        options.folders = c.folders != 0;
        options.subfolders = true;
        FixedPartExecute op({}, options);
        b.Run(op, {"dir"});
        EXPECT_EQ(std::set<std::string>(op.computed.begin(), op.computed.end()), c.computed);
        EXPECT_EQ(op.computed.size(), c.computed.size());
        EXPECT_EQ(b.dir.Snapshot(), (Snap{"dir/", "dir/f=f", "dir/sub/", "dir/sub/g=g"}));
    }
}

}  // namespace
