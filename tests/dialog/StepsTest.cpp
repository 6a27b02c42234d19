// Renames of several steps in the dialog's model, and the presets that keep
// them, over real folders and a store in memory.
#include <gtest/gtest.h>

#include "dialog/Presets.h"
#include "tests/dialog/DialogFixture.h"
#include "tests/support/Previews.h"

using testing_support::Dialog;
using testing_support::NewNames;
using testing_support::TempDir;

namespace {

using Names = std::vector<std::string>;

// Two steps whose order matters: the prefix is added, then removed with
// every other "IMG_" (or removed first, then added back).
void TwoSteps(Dialog& d) {
    ASSERT_TRUE(d.model.SetScope(1));
    d.Choose("Replace anywhere", {{"find", "IMG_"}});
    d.model.AddStep();
    d.Choose("Add to beginning", {{"add", "IMG_"}});
}

TEST(Steps, TheDialogRenamesThroughEveryStepAndKeepsThemForTheNextRun) {
    TempDir dir;
    dir.File("IMG_a.jpg", "a");
    dir.File("b.jpg", "b");
    CMemorySettings memory;
    {
        Dialog d(memory, {dir / "IMG_a.jpg", dir / "b.jpg"});
        TwoSteps(d);
        ASSERT_EQ(d.model.stepCount(), 2u);
        ASSERT_TRUE(d.model.RefreshPreview());
        EXPECT_EQ(NewNames(d.model.rows()), (Names{"IMG_b.jpg", "IMG_a.jpg"}));
        // The added step moves first: now the prefix goes with the rest.
        ASSERT_TRUE(d.model.MoveStep(false));
        EXPECT_FALSE(d.model.MoveStep(false));
        EXPECT_EQ(d.model.currentStep(), 0u);
        EXPECT_EQ(d.Current(), "Add to beginning");
        ASSERT_TRUE(d.model.RefreshPreview());
        EXPECT_EQ(NewNames(d.model.rows()), (Names{"b.jpg", "a.jpg"}));
        // Showing the other step brings its values back into its panel.
        ASSERT_TRUE(d.model.SelectStep(1));
        EXPECT_EQ(d.model.activePanel()->GetValue("find"), "IMG_");
        EXPECT_EQ(d.model.Ok(), CFinish::kDone);
        EXPECT_EQ(dir.Snapshot(), (std::set<std::string>{"a.jpg=a", "b.jpg=b"}));
        std::vector<CJournalRun> runs;
        ASSERT_EQ(d.model.History(runs), 0u);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].header.what, "Add to beginning, then Replace anywhere");
    }
    std::vector<CStep> kept;
    {
        Dialog again(memory, {dir / "a.jpg"});
        EXPECT_EQ(again.model.stepCount(), 2u);
        EXPECT_EQ(again.model.currentStep(), 1u);
        EXPECT_EQ(again.Current(), "Replace anywhere");
        kept = again.model.Steps();
        EXPECT_EQ(kept[0].action, "Add to beginning");
        // Back to one step: the next run forgets the others.
        ASSERT_TRUE(again.model.RemoveStep());
        EXPECT_FALSE(again.model.RemoveStep());
        EXPECT_EQ(again.Current(), "Add to beginning");
        EXPECT_EQ(again.model.Ok(), CFinish::kDone);
    }
    EXPECT_EQ(std::get<std::string>(memory.values.at("steps")), "");
    Dialog last(memory, {});
    EXPECT_EQ(last.model.stepCount(), 1u);
    EXPECT_EQ(last.model.Steps().front(), kept.front());
}

TEST(Steps, AStepThatCannotBeShownIsRefusedAndNothingChanges) {
    struct Case {
        CStep step;
        const char* error;
    };
    const Case cases[] = {
        {{1, "Frobnicate names", {}}, "step 2: this version has no action \"Frobnicate names\""},
        {{2, "Add folder to beginning", {}}, "step 2: \"Add folder to beginning\" does not apply to"},
        {{0, "Add to end", {{"colour", "red"}}}, "step 2: \"Add to end\" has no value \"colour\""},
        {{0, "Truncate", {{"truncate", "ten"}}}, "step 2: \"truncate\" takes digits only"},
        {{7, "Add to end", {}}, "step 2: it has no scope 7"},
    };
    CMemorySettings memory;
    Dialog d(memory, {});
    d.Choose("Add to end", {{"add", "!"}});
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(d.model.SetSteps({{0, "Make lowercase", {}}, c.step}, error));
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        EXPECT_EQ(d.model.stepCount(), 1u);
        EXPECT_EQ(d.Current(), "Add to end");
        EXPECT_EQ(d.model.activePanel()->GetValue("add"), "!");
    }
}

TEST(Steps, APatternThatDoesNotCompileIsShownAndBuildsNothing) {
    CMemorySettings memory;
    Dialog d(memory, {});
    d.Choose("Add to end", {{"add", "!"}});
    d.model.AddStep();
    d.Choose("Replace by pattern", {{"pattern", "(IMG"}, {"with", "x"}});
    ASSERT_TRUE(d.model.SelectStep(0));
    EXPECT_EQ(d.model.Problem().rfind("Step 2: Error at character 5: ", 0), 0u) << d.model.Problem();
    EXPECT_EQ(d.model.BuildOperation(), nullptr);
    EXPECT_EQ(d.model.activePanel()->GetValue("add"), "!") << "the hidden step leaves the shown one alone";
}

TEST(Presets, KeptInTheStoreWrittenToAFileAndReadBack) {
    TempDir dir;
    dir.File("IMG_a.jpg", "a");
    CMemorySettings memory;
    CPreset made;
    {
        Dialog d(memory, {dir / "IMG_a.jpg"});
        TwoSteps(d);
        d.model.options().folders = 0;
        d.model.options().sort = 2;
        made = d.model.MakePreset("Holiday");
        CPresetBook book(d.store);
        std::string error;
        ASSERT_TRUE(book.Save(made, error));
        ASSERT_TRUE(book.Save(d.model.MakePreset("Second"), error));
        EXPECT_FALSE(book.Save(d.model.MakePreset("two\nlines"), error));
        EXPECT_FALSE(book.Rename("Second", "Holiday", error));
        EXPECT_EQ(error, "A preset named \"Holiday\" exists already.");
        ASSERT_TRUE(book.Rename("Second", "Third", error));
        EXPECT_EQ(std::get<std::string>(memory.values.at("presetNames")), "Holiday\nThird\n");
        ASSERT_TRUE(book.Remove("Third"));
        EXPECT_FALSE(book.Remove("Third"));
    }
    // Another opening finds it, and applying it renames nothing until OK.
    Dialog d(memory, {dir / "IMG_a.jpg"});
    const CPresetBook book(d.store);
    ASSERT_EQ(book.presets().size(), 1u);
    CPreset read;
    std::string error;
    ASSERT_TRUE(ReadPreset(PresetText(*book.Find("Holiday")), read, error)) << error;
    EXPECT_EQ(read.name, "Holiday");
    EXPECT_EQ(read.steps, made.steps);
    ASSERT_TRUE(d.model.ApplyPreset(read, error)) << error;
    EXPECT_EQ(d.model.Steps(), made.steps);
    EXPECT_EQ(d.model.options().folders, 0);
    EXPECT_EQ(d.model.options().sort, 2);
    EXPECT_EQ(dir.Snapshot(), (std::set<std::string>{"IMG_a.jpg=a"}));
    ASSERT_TRUE(d.model.RefreshPreview());
    EXPECT_EQ(NewNames(d.model.rows()), (Names{"IMG_a.jpg"}));
}

TEST(Presets, AFileThatIsNotAPresetWholeIsRefusedWithWhereAndWhy) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"{\n  \"quorlinPreset\": 1,\n  \"steps\": [\n    {\"scope\": 1,, }\n", "line 4, column 17: syntax error"},
        {"{\"quorlinPreset\": 1, \"name\": \"ünï\", \"steps\": [] ", "line 1, column 49: syntax error"},
        {"[1, 2]", "the file: a preset object is expected"},
        {"{\"steps\": []}", "quorlinPreset: is missing: this is not a preset file"},
        {"{\"quorlinPreset\": 1, \"steps\": []}", "steps: a list of one step or more is expected"},
        {"{\"quorlinPreset\": 1, \"steps\": [{\"scope\": 9, \"action\": \"Truncate\"}]}",
         "steps[0].scope: a number from 0 to 3 is expected"},
        {"{\"quorlinPreset\": 1, \"steps\": [{\"scope\": 0, \"action\": 5}]}", "steps[0].action: a text is expected"},
        {"{\"quorlinPreset\": 1, \"steps\": [{\"scope\": 0, \"action\": \"Truncate\", \"values\": {\"truncate\": [8]}}]}",
         "steps[0].values.truncate: a text or a number is expected"},
        {"{\"quorlinPreset\": 1, \"steps\": [{\"scope\": 0, \"action\": \"Truncate\"}], \"options\": {\"sort\": 12}}",
         "options.sort: a number from 0 to 11 is expected"},
    };
    for (const auto& c : cases) {
        CPreset preset;
        preset.name = "untouched";
        std::string error;
        EXPECT_FALSE(ReadPreset(c.text, preset, error)) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        EXPECT_EQ(preset.name, "untouched");
    }
    // A later version's file: what this one knows is read, an action it
    // does not know is named when the preset is applied.
    CPreset later;
    std::string error;
    ASSERT_TRUE(ReadPreset(R"({"quorlinPreset": 2, "extra": true, "steps": [
        {"scope": 0, "action": "Make lowercase"}, {"scope": 0, "action": "Transliterate", "values": {"to": "ascii"}}]})",
                           later, error))
        << error;
    CMemorySettings memory;
    Dialog d(memory, {});
    EXPECT_FALSE(d.model.ApplyPreset(later, error));
    EXPECT_EQ(error, "step 2: this version has no action \"Transliterate\"");
}

}  // namespace
