#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/ChosenNames.h"
#include "core/Execute.h"
#include "core/Journal.h"
#include "core/JournalUndo.h"
#include "core/PreviewCheck.h"
#include "core/RenameRun.h"
#include "dialog/DialogOptions.h"
#include "dialog/Presets.h"
#include "dialog/RecordedFileSystem.h"

class CRenameDlg;
class CSettingsStore;

/// How OK or "Save file list..." ended.
enum class CFinish {
    kNoOperation,  ///< the panel built no operation: the dialog stays open
    kCancelled,    ///< no list file was chosen
    kDone,         ///< the run went through every item
    kStopped,      ///< the user ended the run ("Skip all")
    kRefused,      ///< the list file is an item of the selection: nothing was written
    /// The run's journal could not be written: the run stopped before its
    /// next rename (before any, when the journal could not be made), or
    /// could not record its end. See journalError().
    kJournalFailed,
};

/// A preview in the making. CMainDlgModel::BeginPreview makes it from what
/// the controls say; ComputePreview fills it, touching only the task and what
/// the preview learnt of the disk, never the controls, so that a front end
/// may compute it away from the controls while they change;
/// AdoptPreview shows it. A newer task makes an older one worthless: it may
/// be abandoned at any point, and is then never adopted.
struct CPreviewTask {
    std::unique_ptr<CExecute> op;  ///< null: the steps build nothing
    std::vector<CGivenPath> given;
    /// The person's choices that `op` names the items with.
    std::shared_ptr<const CItemChoices> choices;
    /// The rows a screen shows, computed before all the others: from the
    /// places their items have in the preview shown, when a change keeps its
    /// items and order (a keystroke in a panel); otherwise the first rows of
    /// the new preview, which then stand for the whole list until it is
    /// known.
    size_t first = 0;
    CPreview visible;
    bool visibleFromShown = false;
    /// The result: every row, marked, with its counts.
    std::shared_ptr<const CSelection> selection;
    CPreview rows;
    CPreviewCounts counts;
    size_t offered = 0;
    std::string problem;
    bool complete = false;  ///< computed to the end, not abandoned
};

/// A run that OK started: BeginRun makes it from the controls, Run renames
/// (anywhere: it touches only the task, the file system and the prompts),
/// EndRun tells the model how it went.
struct CRunTask {
    std::unique_ptr<CExecute> op;
    std::vector<CGivenPath> given;
    bool journaling = true;
    CJournalHeader header;
    /// Shown the rows the run will offer before its first rename (may be
    /// empty).
    std::function<void(const CPreview& rows)> arranged;
    CRunResult result;
    CFinish finish = CFinish::kDone;
    /// Ended by the one who started it (Stop), not by an answer.
    bool stoppedByUser = false;
};

/// The main rename dialog without its window: the action catalogue and the
/// list that the "Change:" scope offers, the section options, the live preview
/// and the two ways to finish, OK and "Save file list...". The Win32 dialog
/// and the command line are views over it.
///
/// The preview reads the selection from the disk once: later refreshes
/// compute only the names, over the items already read, and a new order,
/// scope or action arranges them again from what was recorded. OK and
/// "Save file list..." read the disk afresh.
class CMainDlgModel {
public:
    /// One line of the "Action:" combo.
    struct CActionLine {
        int slot = 0;                 ///< position in the catalogue
        CRenameDlg* panel = nullptr;  ///< null for a blank line
    };

    /// Opening: creates the panels over `store` and restores the scope, the
    /// last action and the section options. `randomSeed` is drawn once per
    /// call of the dialog, so that every preview and the run share one random
    /// order. The runs read and rename through `fs` and ask `prompts`.
    CMainDlgModel(std::vector<std::string> paths, CSettingsStore& store, uint64_t randomSeed,
                  platform::IFileSystem& fs, IPrompts& prompts);
    ~CMainDlgModel();
    CMainDlgModel(const CMainDlgModel&) = delete;
    CMainDlgModel& operator=(const CMainDlgModel&) = delete;

    /// The 39 catalogue slots in combo order: the panel of each action, null
    /// for a blank line and for an action whose panel this build lacks.
    const std::vector<std::unique_ptr<CRenameDlg>>& panels() const { return panels_; }
    /// The panel of the action named `text`, whatever the scope; null if none.
    CRenameDlg* FindPanel(const std::string& text) const;

    /// The "Change:" scope, 0 to 3.
    int scope() const { return scope_; }
    /// Chooses a scope and refills the action list with the actions that
    /// accept it, keeping the current action when it is still offered and
    /// otherwise taking the first. False for a scope that is not in the combo.
    bool SetScope(int scope);

    /// The "Action:" combo for the current scope, blank lines included.
    const std::vector<CActionLine>& actionLines() const { return lines_; }
    /// The chosen line; -1 when the list is empty.
    int currentLine() const { return current_; }
    /// The panel of the chosen action; null when the list is empty.
    CRenameDlg* activePanel() const;
    /// Chooses a line of the list. A blank line, or one that is not there,
    /// keeps the current action and returns false.
    bool SelectLine(int line);
    /// Chooses the action named `text`; false when the list does not offer it.
    bool SelectAction(const std::string& text);

    /// How many steps the rename has (one at least), and which of them the
    /// "Change:" and "Action:" combos and the panel show. A step's name passes
    /// through the steps in their order; the run renames each item once.
    size_t stepCount() const { return steps_.size(); }
    size_t currentStep() const { return step_; }
    /// Every step as it stands, the one shown included.
    std::vector<CStep> Steps() const;
    /// Shows step `index` in the combos and the panel; false when there is
    /// none.
    bool SelectStep(size_t index);
    /// Adds a step after the one shown and shows it: the same scope, and the
    /// same action with its built-in values.
    void AddStep();
    /// Removes the step shown and shows the one before it (the next, when it
    /// was the first). False when it is the only one.
    bool RemoveStep();
    /// Moves the step shown one place earlier (`later` false) or later; it
    /// stays shown. False when it is at that end already.
    bool MoveStep(bool later);
    /// Replaces the steps with `steps` and shows the first. False, with
    /// `error` naming the step and what is wrong (an action this version does
    /// not know, a value it does not take), when one cannot be shown:
    /// nothing changes then.
    bool SetSteps(const std::vector<CStep>& steps, std::string& error);
    /// What SetSteps would say of `steps`, changing nothing.
    bool CheckSteps(const std::vector<CStep>& steps, std::string& error);
    /// Why the steps build no operation, when a panel can tell (a pattern
    /// that does not compile), with the step's number when there are
    /// several; empty otherwise.
    std::string Problem();

    /// For a store that hides what it holds (a run that starts from the
    /// defaults): steps an earlier run kept may be there unseen, and a run of
    /// one step clears them, so that they never come back with it.
    void AssumeStoredSteps() { storedSteps_ = true; }

    /// The steps and the run's options, as a preset named `name` keeps them.
    CPreset MakePreset(const std::string& name) const;
    /// Takes the steps and the options of `preset`; nothing runs. False, with
    /// `error`, as SetSteps.
    bool ApplyPreset(const CPreset& preset, std::string& error);

    /// The section controls (Interaction, Processing, Instant Preview,
    /// Sorting Order). `renameKind` follows the scope when stored.
    CDialogOptions& options() { return options_; }
    const CDialogOptions& options() const { return options_; }

    /// Rebuilds the preview: the active panel builds an operation, which
    /// computes the old and new names, and each row is marked with what the
    /// run will meet there. False, with the lists emptied, when it builds none.
    /// The three calls below, in one.
    bool RefreshPreview();
    /// A preview of what the controls say now, to be computed. `first` and
    /// `count`: the rows on screen, computed before the others.
    std::unique_ptr<CPreviewTask> BeginPreview(size_t first = 0, size_t count = 0);
    /// Computes `task`: the rows on screen first (then `visibleReady` hears
    /// of them), then all. Reads the selection when the arrangement changed,
    /// with `progress` hearing how far. False when `cancelled` ended it
    /// first. Only one task is computed at a time.
    bool ComputePreview(CPreviewTask& task, const std::function<bool()>& cancelled = {},
                        const std::function<void()>& visibleReady = {});
    /// Shows a computed task's rows; the task takes the rows shown before,
    /// for its owner to free where it suits.
    void AdoptPreview(CPreviewTask& task);
    /// Lets the shown rows go, into what is returned, for the caller to free
    /// where it suits.
    std::shared_ptr<const void> TakePreview();
    /// Before rows of a selection not adopted yet show: what ShownOld keeps
    /// of each folder is forgotten.
    void ForgetShownFolders() { shownFolders_.clear(); }
    /// What the dialog does after any change of a control: refreshes the
    /// preview while "Show preview" is on.
    void Changed();
    /// The rows of the current preview, in processing order: each item the
    /// Files/Folders choice takes, with its new name and its mark. Empty when
    /// there is no operation.
    const CPreview& rows() const { return rows_; }
    /// How the "Old" column shows the item of a row: its path below the
    /// folder it was selected in ("Trip\\IMG_0001.JPG"), so that two items
    /// of one name in different folders can be told apart.
    std::string ShownOld(const CFileDescriptor& item);
    /// How many rows the preview has, and of each kind: what the status line
    /// counts.
    const CPreviewCounts& counts() const { return counts_; }
    /// What the last refresh could not do, for the person to see beside the
    /// preview: why the steps build nothing (a pattern that does not
    /// compile), or what an action had to pass over (a pattern that took too
    /// much work). Empty when all went well.
    const std::string& previewProblem() const { return previewProblem_; }
    /// How many rows the run will offer to rename: those whose name changes,
    /// or every row where the action offers every item (manual rename).
    size_t offered() const { return offered_; }
    /// Whether the preview marks its rows (the default). Unmarked, a row is
    /// renamed or unchanged as its names say: what a benchmark compares with.
    void SetCheckPreview(bool check) { checkPreview_ = check; }
    /// Whether the preview shows a taken name as the numbered one that "Add
    /// number and rename" gives it: what a run that numbers every taken name
    /// without asking will do. Off by default, when the user is asked.
    void SetPreviewNumbering(bool number) { previewNumbering_ = number; }
    /// The run options the sections and the scope give now.
    CRunOptions RunOptions() const;

    /// What the person chose item by item, over the names the steps give:
    /// items left out of the run (they keep their names and use up no
    /// number) and names typed whole. They last as long as the model, and
    /// the next preview shows them.
    const CItemChoices& choices() const { return *choices_; }
    void SetChoices(CItemChoices choices);
    /// Leaves the items at `paths` out of the run, or takes them in again.
    void LeaveOut(const std::vector<std::string>& paths, bool out);
    /// The whole new name of the item at `path`, as typed.
    void SetName(const std::string& path, const std::string& name);
    /// The items at `paths` take the names the steps give again.
    void ResetNames(const std::vector<std::string>& paths);
    /// The full path of a row's item, as the choices know it.
    static std::string RowPath(const CPreviewRow& row);
    /// Names from the choices alone, with no action: an item without a
    /// chosen name keeps its own. `runName` is what the journal calls the
    /// run.
    void SetNamesOnly(std::string runName) { namesOnly_ = std::move(runName); }
    bool namesOnly() const { return !namesOnly_.empty(); }

    /// The operation the active panel builds now (saving its values); null
    /// when it builds none.
    std::unique_ptr<CExecute> BuildOperation();

    /// OK: builds the operation (none: nothing happens), stores the scope and
    /// the section options, flushes the settings and renames the selection,
    /// read afresh. `arranged` (may be empty) is shown, before the first
    /// rename, the rows the run will offer: the items in the run's order with
    /// their new names, for a front end that counts the renames to come.
    CFinish Ok(const std::function<void(const CPreview& rows)>& arranged = {});
    /// OK in three calls. BeginRun builds the operation (null: none, and
    /// nothing happens), stores the settings and lets the preview go.
    std::unique_ptr<CRunTask> BeginRun(std::function<void(const CPreview& rows)> arranged = {});
    /// Reads the selection afresh and renames it; `stop` is asked before each
    /// rename (and while reading), and once it says yes the run ends after
    /// the rename under way, journaled like any other. Not while a preview
    /// is computed.
    CFinish Run(CRunTask& task, const std::function<bool()>& stop = {});
    /// What the model keeps of a run that is over.
    void EndRun(const CRunTask& task);
    /// What the last OK did.
    const CRunResult& lastRun() const { return lastRun_; }
    /// Hears how far each run and each reading of the selection gets, on
    /// whatever thread computes them.
    void SetProgress(std::function<void(const CRunProgress&)> progress) { progress_ = std::move(progress); }
    /// "Save file list...": builds the operation (none: nothing happens), then
    /// asks `chooseFile` for the list file, starting from the last name chosen;
    /// on a choice stores the section options (not the scope), flushes and
    /// writes the list as `format` says. A list file that is an item of the
    /// selection (by its name, or as the file it is: a link to an item, a
    /// second name of one) is never written: the prompts hear why, and
    /// nothing is lost.
    CFinish SaveFileList(const std::function<bool(std::string& fileName)>& chooseFile,
                         const CListFormat& format = {});
    /// How many paths the last "Save file list..." wrote.
    size_t listed() const { return listed_; }
    /// The list file chosen last; empty at first.
    const std::string& lastListFile() const { return lastListFile_; }

    /// Where the journals of the runs live: empty (the default) for the
    /// file system's state folder.
    void SetJournalFolder(std::string folder) { journalFolder_ = std::move(folder); }
    /// Whether OK keeps a journal (the default). Only a measurement of what
    /// the journal costs turns it off.
    void SetJournaling(bool on) { journaling_ = on; }
    /// After kJournalFailed, or an undo whose journal failed: the journal's
    /// path (its folder when it could not be made) and the system error code.
    const std::string& journalPath() const { return journalPath_; }
    uint32_t journalError() const { return journalError_; }

    /// The runs kept in the journal folder, newest first, without their
    /// items; a journal that holds nothing readable is no run, one that is
    /// not trusted is listed with its refusal. 0, or the code of a folder
    /// that cannot be listed or is not this user's alone.
    [[nodiscard]] uint32_t History(std::vector<CJournalRun>& runs);
    /// Reads run `n` of History (1: the last) with its items. 0;
    /// kErrorFileNotFound when there is no such run; or the code of a
    /// folder that cannot be listed. A run that is not trusted comes with
    /// its refusal, and must not be taken back.
    [[nodiscard]] uint32_t ReadRun(size_t n, CJournalRun& run, bool withItems = true);
    /// What "Undo last run..." offers: the newest run that has items to take
    /// back, passing over runs that renamed nothing, with its items too when
    /// `withItems` and its number in History in `number` (may be null).
    /// False when there is none. The newest journal that is not trusted
    /// comes back instead, with its refusal: nothing older may be taken
    /// back past it.
    bool LastRun(CJournalRun& run, bool withItems = true, size_t* number = nullptr);
    /// Takes back `run` (read with its items), journaled as a run is, asking
    /// the prompts about failures. The files and folders the dialog works on
    /// follow the names the undo gives back, and the preview reads them
    /// afresh.
    CUndoResult Undo(const CJournalRun& run);

    /// The files and folders the dialog works on, in place of those it was
    /// opened with; the preview reads them afresh.
    void SetPaths(std::vector<std::string> paths);
    void SetGiven(std::vector<CGivenPath> given);
    /// Whether the preview keeps what the disk answered, so that a new order,
    /// scope or action does not read it again (the default). A front end that
    /// previews once saves the memory.
    void SetRememberListings(bool remember);
    /// How often the preview has read the selection (for tests).
    int collections() const { return collections_; }

private:
    /// What the arranged items depend on besides the names.
    struct CArrangement {
        int scope = -1;
        bool subfolders = false;
        int sort = -1;
        bool sortFolders = false;
        bool operator==(const CArrangement&) const = default;
    };
    class CReplayPrompts;

    void Refill();
    /// The step shown, from the combos and its panel.
    CStep Shown() const;
    /// Shows `step`, which Check accepted.
    void Show(const CStep& step);
    /// Why `step` cannot be shown; empty when it can.
    std::string Check(const CStep& step);
    /// Runs `use` over the panel of the hidden step `step`, holding its
    /// values for the while; the panel's own come back after.
    template <class Use>
    auto WithStep(const CStep& step, Use use);
    /// What a journal calls the rename: its action, or its actions in order.
    std::string RunName() const;
    /// Keeps the steps for the next run, when there are several, or forgets
    /// those an earlier run kept.
    void SaveSteps();
    CRenameRun PreviewRun(const CRunOptions& options);
    /// The steps' operation, without the person's choices.
    std::unique_ptr<CExecute> BuildSteps();
    platform::IFileSystem& PreviewFileSystem();
    /// Lists the journal files, newest first, reading each as History does;
    /// `each` takes every run that History lists, with its number, and
    /// returns true to stop.
    uint32_t WalkRuns(bool withItems, const std::function<bool(size_t number, CJournalRun& run)>& each);
    /// Reads and arranges the selection for `op`, unless it is at hand;
    /// false when the reading was cancelled or ended by the user.
    bool Prepare(const CExecute& op, const std::vector<CGivenPath>& given, const std::function<bool()>& cancelled);
    void ClearPreview();
    /// Forgets what the preview read: the selection and the marks' table.
    void ReleaseRead();
    void ReleaseItems();

    std::vector<CGivenPath> given_;
    CSettingsStore& store_;
    uint64_t randomSeed_;
    std::vector<std::unique_ptr<CRenameDlg>> panels_;
    std::vector<CActionLine> lines_;
    int current_ = -1;
    int scope_ = 0;
    // The steps; the one shown lives in scope_, the chosen line and its
    // panel, and its entry here is brought up to date when it is hidden.
    std::vector<CStep> steps_;
    size_t step_ = 0;
    bool storedSteps_ = false;  // an earlier run kept several steps
    CDialogOptions options_;
    std::string lastListFile_;
    size_t listed_ = 0;
    std::string journalFolder_;
    bool journaling_ = true;
    std::string journalPath_;
    uint32_t journalError_ = 0;

    platform::IFileSystem& fs_;
    IPrompts& prompts_;
    std::function<void(const CRunProgress&)> progress_;
    CRunResult lastRun_;
    std::unique_ptr<CReplayPrompts> replayPrompts_;
    CRecordedFileSystem recorded_;
    bool remember_ = true;

    // What the preview read, arranged for `arranged_`: the selection that
    // the tasks compute over. Only ComputePreview and Run touch it.
    std::shared_ptr<CSelection> selection_;
    CArrangement arranged_;
    // The rows shown, which point into the selection they came from.
    std::shared_ptr<const CSelection> shownSelection_;
    CPreview rows_;
    CRunOptions shownOptions_;
    std::shared_ptr<const CItemChoices> shownChoices_;
    // Replaced whole on every change, so that a task keeps the choices it
    // was built with.
    std::shared_ptr<const CItemChoices> choices_ = std::make_shared<const CItemChoices>();
    std::string namesOnly_;
    bool haveItems_ = false;
    int collections_ = 0;
    // The marks: what the check learnt of the selection's folders stays
    // with the selection, so that a keystroke only marks the new names.
    CPreviewCheck check_;
    bool checkPreview_ = true;
    bool previewNumbering_ = false;
    CPreviewCounts counts_;
    size_t offered_ = 0;
    std::string previewProblem_;
    // What ShownOld puts before the names of each folder's items, by the
    // folder's text, which the selection's items share.
    std::unordered_map<const std::string*, std::string> shownFolders_;
};
