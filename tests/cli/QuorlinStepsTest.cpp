// Several steps in one run, and presets, through the built program and the
// dialog's model over the same settings and files.
#include <gtest/gtest.h>

#include "dialog/MainDlgModel.h"
#include "dialog/Presets.h"
#include "dialog/SettingsStore.h"
#include "platform/FileSystem.h"
#include "tests/cli/RunQuorlin.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"

using namespace quorlin_test;
using testing_support::TempDir;

namespace {

using Snap = std::set<std::string>;
using Args = std::vector<std::string>;

const Args kReplace = {"-a", "replace-anywhere", "-s", "find=IMG_", "-s", "replace=Trip ", "-c", "name"};
const Args kNumber = {"-a", "add-number-to-end", "-s", "start=9", "-s", "step=-1", "-s", "digits=2", "-c", "name"};
const Args kLower = {"-a", "make-lowercase", "-c", "ext"};

Args Join(std::initializer_list<Args> parts) {
    Args out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// Names whose order no step changes: a chain numbers in the run's order,
// which is then also the order each step's own run would take.
void Fill(const TempDir& dir) {
    dir.File("IMG_1.JPG", "1");
    dir.File("IMG_2.JPG", "2");
    dir.File("IMG_3.TXT", "3");
}

TEST(QuorlinSteps, AChainRenamesOnceToWhatItsStepsGiveOneAfterAnother) {
    const Args chains[][3] = {{kReplace, kNumber, kLower}, {kLower, kNumber, kReplace}, {kNumber, kReplace, {}}};
    for (const auto& steps : chains) {
        // One run per step, one after another...
        TempDir stepwise, home1;
        Fill(stepwise);
        for (const auto& step : steps) {
            if (step.empty()) continue;
            ASSERT_EQ(RunQuorlin(home1, Join({step, {"--no-folders", "."}}), stepwise.str()).status, 0);
        }
        // ...against one run of the chain.
        TempDir chained, home2;
        Fill(chained);
        Args args = steps[0];
        for (size_t i = 1; i < 3; ++i)
            if (!steps[i].empty()) args = Join({args, {"--then"}, steps[i]});
        const Result preview = RunQuorlin(home2, Join({args, {"-p", "--no-folders", "."}}), chained.str());
        EXPECT_EQ(preview.status, 0) << preview.err;
        const Result run = RunQuorlin(home2, Join({args, {"--no-folders", "."}}), chained.str());
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(chained.Snapshot(), stepwise.Snapshot()) << args[1];
        for (const auto& row : stepwise.Snapshot())
            EXPECT_NE(preview.out.find(row.substr(0, row.find('='))), std::string::npos) << row;
        // One journal, one undo, and --last repeats the whole chain.
        ASSERT_EQ(RunQuorlin(home2, {"--undo"}).status, 0);
        Snap original;
        {
            TempDir fresh;
            Fill(fresh);
            original = fresh.Snapshot();
        }
        EXPECT_EQ(chained.Snapshot(), original);
        ASSERT_EQ(RunQuorlin(home2, {"--last", "."}, chained.str()).status, 0);
        EXPECT_EQ(chained.Snapshot(), stepwise.Snapshot());
        // A run of one step after it: --last repeats that one alone.
        ASSERT_EQ(RunQuorlin(home2, {"-a", "make-uppercase", "-c", "ext", "."}, chained.str()).status, 0);
        const Result last = RunQuorlin(home2, {"--last", "-p", "."}, chained.str());
        EXPECT_EQ(last.err.substr(0, last.err.find('\n')),
                  "quorlin: repeating the last run: -a make-uppercase -c ext");
    }
}

TEST(QuorlinSteps, APresetMadeOnEitherFaceRunsOnTheOther) {
    TempDir home, files, expected, elsewhere;
    Fill(files);
    Fill(expected);
    const Args chain = Join({kReplace, {"--then"}, kNumber, {"--no-folders"}});
    ASSERT_EQ(RunQuorlin(home, Join({chain, {"."}}), expected.str()).status, 0);

    // Kept and listed by the command line, written to a file.
    Result r = RunQuorlin(home, Join({{"--save-preset", "trip"}, chain}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "kept the preset \"trip\": Replace anywhere, then Add number to end\n");
    r = RunQuorlin(home, {"--presets"});
    EXPECT_EQ(r.out, "trip  Replace anywhere, then Add number to end\n");
    ASSERT_EQ(RunQuorlin(home, {"--export-preset", "trip", home / "trip.json"}).status, 0);
    EXPECT_EQ(RunQuorlin(home, {"--export-preset", "trip", home / "trip.json"}).status, 2) << "not over a file";

    // The dialog reads the file and shows the same steps and options.
    std::vector<CStep> fromFile;
    {
        CPreset preset;
        std::string error;
        ASSERT_TRUE(ReadPresetFile(platform::RealFileSystem(), home / "trip.json", preset, error)) << error;
        CSettingsStore store(CSettingsStore::kDialogSubKey, home / "dialog.json");
        testing_support::ScriptedPrompts prompts;
        CMainDlgModel model({}, store, 1, platform::RealFileSystem(), prompts);
        ASSERT_TRUE(model.ApplyPreset(preset, error)) << error;
        EXPECT_EQ(model.stepCount(), 2u);
        EXPECT_EQ(model.options().folders, 0);
        // ...and keeps it, as its Presets control does.
        CPresetBook book(store);
        ASSERT_TRUE(book.Save(model.MakePreset("from the dialog"), error)) << error;
        fromFile = model.Steps();
    }
    // The command line runs the dialog's preset, by name and from the file.
    r = RunQuorlin(home, {"--settings", home / "dialog.json", "--preset", "from the dialog", "."}, files.str());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(files.Snapshot(), expected.Snapshot());
    Fill(elsewhere);
    r = RunQuorlin(home, {"--preset", home / "trip.json", "."}, elsewhere.str());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(elsewhere.Snapshot(), expected.Snapshot());
}

TEST(QuorlinSteps, APresetThatCannotBeRunWholeRunsNothing) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {R"({"quorlinPreset": 2, "steps": [{"scope": 0, "action": "Make lowercase"},
             {"scope": 0, "action": "Transliterate names"}]})",
         "cannot be run here: step 2: this version has no action \"Transliterate names\"; nothing was renamed"},
        {"{\"quorlinPreset\": 1, \"steps\": [\n  {\"scope\": 0 \"action\": \"Make lowercase\"}]}",
         "is refused: line 2, column 22: syntax error"},
        {R"({"quorlinPreset": 1, "steps": [{"scope": 0, "action": "Replace by pattern",
             "values": {"pattern": "(a", "with": "b"}}]})",
         "\"Replace by pattern\": Error at character 3: missing closing parenthesis"},
    };
    for (const auto& c : cases) {
        TempDir home, files;
        Fill(files);
        const Snap before = files.Snapshot();
        home.File("preset.json", c.text);
        const Result r = RunQuorlin(home, {"--preset", home / "preset.json", "."}, files.str());
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
        EXPECT_EQ(files.Snapshot(), before);
    }
}

}  // namespace
