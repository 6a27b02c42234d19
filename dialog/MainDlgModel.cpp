#include "dialog/MainDlgModel.h"

#include <ctime>
#include <map>

#include "dialog/ActionCatalogue.h"
#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"
#include "dialog/panels/RenameDlg.h"
#include "platform/FileSystem.h"
#include "platform/NameRules.h"

namespace {

constexpr int kScopeCount = 4;

// True when `file` names an item of `selection`, as the platform compares
// names, or is one as a file (a link to an item, another name of one):
// writing the list there would destroy what it lists.
bool ListsItself(const CSelection& selection, const std::string& file, platform::IFileSystem& fs) {
    const auto sep = file.find_last_of(platform::kPathSeparator);
    if (sep == std::string::npos) return false;
    const platform::NameRules& rules = platform::SystemNameRules();
    std::string folder, name, key;
    rules.AppendKey(std::string_view(file).substr(0, sep), folder);
    rules.AppendKey(std::string_view(file).substr(sep + 1), name);
    // What the file is, when it is there at all: what its name leads to, and
    // the name itself.
    platform::FileIdentity target, entry;
    const bool haveTarget = fs.GetIdentity(file, true, target) == platform::kErrorSuccess;
    const bool haveEntry = fs.GetIdentity(file, false, entry) == platform::kErrorSuccess;
    std::string path;
    // Items of one folder share its string: each is compared once.
    const std::string* last = nullptr;
    bool sameFolder = false;
    for (const auto& list : selection.lists())
        for (const auto& fd : list) {
            if (haveTarget || haveEntry) {
                platform::FileIdentity item;
                fd->CopyPathTo(path);
                if (fs.GetIdentity(path, false, item) == platform::kErrorSuccess &&
                    ((haveTarget && item == target) || (haveEntry && item == entry)))
                    return true;
            }
            if (&fd->folder() != last) {
                last = &fd->folder();
                key.clear();
                rules.AppendKey(*last, key);
                sameFolder = key == folder;
            }
            if (!sameFolder) continue;
            key.clear();
            rules.AppendKey(fd->name(), key);
            if (key == name) return true;
        }
    return false;
}

// Where a run works, for its journal: the one item or folder it was given,
// or the folder that holds all it was given.
std::string CommonPlace(const std::vector<CGivenPath>& given) {
    std::vector<std::string> paths;
    for (const auto& g : given) paths.push_back(g.path);
    if (paths.empty()) return {};
    if (paths.size() == 1) return paths.front();
    std::string common = paths.front();
    for (const auto& p : paths) {
        size_t n = 0;
        while (n < common.size() && n < p.size() && common[n] == p[n]) ++n;
        common.resize(n);
    }
    // Whole folder names only: "/a/bc" and "/a/bd" share "/a".
    const bool atBoundary = [&] {
        for (const auto& p : paths)
            if (p.size() > common.size() && p[common.size()] != platform::kPathSeparator) return false;
        return true;
    }();
    if (!atBoundary) {
        const auto sep = common.find_last_of(platform::kPathSeparator);
        common.resize(sep == std::string::npos ? 0 : sep);
    }
    if (common.empty() && !paths.front().empty() && paths.front()[0] == platform::kPathSeparator)
        common.assign(1, platform::kPathSeparator);
    return common;
}

// The paths a dialog works on, following the renames of an undo: a path
// that was renamed, or that lies in a folder that was, takes the new name.
class CPathsFollower {
public:
    explicit CPathsFollower(const std::vector<CGivenPath>& given) {
        for (size_t i = 0; i < given.size(); ++i) byPath_.emplace(given[i].path, i);
    }
    void Moved(const std::string& from, const std::string& to) {
        std::vector<std::pair<std::string, size_t>> changed;
        for (auto it = byPath_.lower_bound(from); it != byPath_.end() && it->first.compare(0, from.size(), from) == 0;) {
            const std::string& p = it->first;
            if (p.size() == from.size() || p[from.size()] == platform::kPathSeparator) {
                changed.emplace_back(to + p.substr(from.size()), it->second);
                it = byPath_.erase(it);
            } else {
                ++it;
            }
        }
        for (auto& c : changed) byPath_.insert(std::move(c));
    }
    std::vector<CGivenPath> Given(std::vector<CGivenPath> given) const {
        for (const auto& [path, index] : byPath_) given[index].path = path;
        return given;
    }

private:
    std::multimap<std::string, size_t> byPath_;
};

}  // namespace

// The preview shows a "Cannot access" report once per dialog: when the items
// are arranged again from what was recorded, the same failure is passed over.
class CMainDlgModel::CReplayPrompts final : public IPrompts {
public:
    explicit CReplayPrompts(CMainDlgModel& model) : model_(model) {}
    int Confirm(CNameRequest& r) override { return model_.prompts_.Confirm(r); }
    int Duplicate(CNameRequest& r) override { return model_.prompts_.Duplicate(r); }
    int Illegal(CNameRequest& r) override { return model_.prompts_.Illegal(r); }
    int TooLong(CNameRequest& r) override { return model_.prompts_.TooLong(r); }
    int DefaultError(CErrorReport& r) override {
        if (model_.remember_ && model_.recorded_.replayed()) return kAnswerSkip;
        return model_.prompts_.DefaultError(r);
    }

private:
    CMainDlgModel& model_;
};

CMainDlgModel::CMainDlgModel(std::vector<std::string> paths, CSettingsStore& store, uint64_t randomSeed,
                             platform::IFileSystem& fs, IPrompts& prompts)
    : store_(store),
      randomSeed_(randomSeed),
      fs_(fs),
      prompts_(prompts),
      replayPrompts_(std::make_unique<CReplayPrompts>(*this)),
      recorded_(fs) {
    for (auto& p : paths) given_.push_back({std::move(p), false});
    panels_ = CreatePanels(&store_);
    options_ = ReadDialogOptions(store_);
    scope_ = options_.renameKind;
    // The stored action is chosen first, so that the refill keeps it when the
    // stored scope offers it.
    for (size_t i = 0; i < panels_.size(); ++i)
        if (panels_[i]) lines_.push_back({static_cast<int>(i), panels_[i].get()});
    current_ = -1;
    for (size_t i = 0; i < lines_.size(); ++i)
        if (!options_.lastSelection.empty() && lines_[i].panel->actionName() == options_.lastSelection)
            current_ = static_cast<int>(i);
    Refill();
    steps_ = {Shown()};
    // Several steps, when the last run had them; a stored step that this
    // version cannot show leaves the one action above.
    std::vector<CStep> stored;
    size_t shown = 0;
    storedSteps_ = !store_.ReadLongText(kStrSteps).empty();
    std::string error;
    if (ReadSteps(store_.ReadLongText(kStrSteps), stored, shown) && stored.size() > 1 && SetSteps(stored, error))
        SelectStep(shown);
}

CMainDlgModel::~CMainDlgModel() {
    ReleaseItems();
}

void CMainDlgModel::ReleaseItems() {
    ClearPreview();
    ReleaseRead();
}

void CMainDlgModel::ReleaseRead() {
    check_.Clear();
    selection_.reset();
    haveItems_ = false;
}

std::string CMainDlgModel::ShownOld(const CFileDescriptor& item) {
    const std::string& folder = item.folder();
    auto [it, added] = shownFolders_.try_emplace(&folder);
    if (added) {
        // Below the folder of the given item that holds it most closely.
        size_t best = std::string::npos;
        for (const auto& g : given_) {
            const auto sep = g.path.find_last_of(platform::kPathSeparator);
            const size_t parent = sep == std::string::npos ? 0 : sep;
            const bool below = folder.size() > parent && folder.compare(0, parent, g.path, 0, parent) == 0 &&
                               folder[parent] == platform::kPathSeparator;
            if ((folder.size() == parent && folder.compare(0, parent, g.path, 0, parent) == 0) || below)
                if (best == std::string::npos || parent > best) best = parent;
        }
        if (best == std::string::npos)
            it->second = folder + platform::kPathSeparator;
        else if (best + 1 < folder.size())
            it->second = folder.substr(best + 1) + platform::kPathSeparator;
    }
    return it->second + item.name();
}

CRenameDlg* CMainDlgModel::FindPanel(const std::string& text) const {
    for (const auto& panel : panels_)
        if (panel && panel->actionName() == text) return panel.get();
    return nullptr;
}

bool CMainDlgModel::SetScope(int scope) {
    if (scope < 0 || scope >= kScopeCount) return false;
    scope_ = scope;
    Refill();
    return true;
}

void CMainDlgModel::Refill() {
    const CRenameDlg* previous = activePanel();
    std::vector<CActionLine> lines;
    int current = -1;
    for (size_t i = 0; i < panels_.size(); ++i) {
        CRenameDlg* panel = panels_[i].get();
        if (!panel) {
            // An action this build lacks leaves no line, not even a blank.
            if (ActionCatalogue()[i].blank()) lines.push_back({static_cast<int>(i), nullptr});
            continue;
        }
        if (!panel->AppliesToScope(scope_)) continue;
        if (previous && panel->actionName() == previous->actionName()) current = static_cast<int>(lines.size());
        lines.push_back({static_cast<int>(i), panel});
    }
    // A group whose actions this scope leaves out leaves no blank line at
    // the end of the list.
    while (!lines.empty() && !lines.back().panel) lines.pop_back();
    lines_ = std::move(lines);
    if (current < 0)
        for (size_t i = 0; i < lines_.size() && current < 0; ++i)
            if (lines_[i].panel) current = static_cast<int>(i);
    current_ = current;
    if (CRenameDlg* panel = activePanel()) panel->SetScope(scope_);
}

CRenameDlg* CMainDlgModel::activePanel() const {
    return current_ >= 0 && current_ < static_cast<int>(lines_.size()) ? lines_[current_].panel : nullptr;
}

bool CMainDlgModel::SelectLine(int line) {
    if (line < 0 || line >= static_cast<int>(lines_.size()) || !lines_[line].panel) return false;
    current_ = line;
    lines_[line].panel->SetScope(scope_);
    return true;
}

bool CMainDlgModel::SelectAction(const std::string& text) {
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].panel && lines_[i].panel->actionName() == text) return SelectLine(static_cast<int>(i));
    return false;
}

void CMainDlgModel::SetPaths(std::vector<std::string> paths) {
    std::vector<CGivenPath> given;
    for (auto& p : paths) given.push_back({std::move(p), false});
    SetGiven(std::move(given));
}

void CMainDlgModel::SetGiven(std::vector<CGivenPath> given) {
    ReleaseItems();
    recorded_.Reset(fs_);
    given_ = std::move(given);
}

void CMainDlgModel::SetRememberListings(bool remember) {
    remember_ = remember;
    recorded_.Reset(fs_);
}

// The preview reads through what it recorded, and a failure it reported once
// is not reported again.
CRenameRun CMainDlgModel::PreviewRun(const CRunOptions& options) {
    return CRenameRun(options, PreviewFileSystem(), *replayPrompts_);
}

platform::IFileSystem& CMainDlgModel::PreviewFileSystem() {
    return remember_ ? static_cast<platform::IFileSystem&>(recorded_) : fs_;
}

void CMainDlgModel::ClearPreview() {
    rows_.clear();
    counts_ = {};
    offered_ = 0;
    shownFolders_.clear();
    shownSelection_.reset();
}

std::shared_ptr<const void> CMainDlgModel::TakePreview() {
    auto taken = std::make_shared<CPreviewTask>();
    taken->rows.swap(rows_);
    taken->selection.swap(shownSelection_);
    ClearPreview();
    return taken;
}

// Reads the selection as the run would, once for each arrangement, and puts
// it in the run's order. A new selection leaves the old one to the rows still
// shown from it.
bool CMainDlgModel::Prepare(const CExecute& op, const std::vector<CGivenPath>& given,
                            const std::function<bool()>& cancelled) {
    const CRunOptions& o = op.options();
    const CArrangement wanted{o.scope, o.subfolders, o.sortOrder, o.sortEachFolder};
    if (haveItems_ && wanted == arranged_) return true;
    ReleaseRead();
    ++collections_;
    CRenameRun run = PreviewRun(o);
    run.SetProgress(progress_);
    run.SetCancel(cancelled);
    auto selection = std::make_shared<CSelection>(run.Collect(given));
    if (!selection->complete()) return false;  // ended: nothing to show, and read again next time
    run.Arrange(*selection);
    selection_ = std::move(selection);
    arranged_ = wanted;
    haveItems_ = true;
    return true;
}

bool CMainDlgModel::RefreshPreview() {
    std::unique_ptr<CPreviewTask> task = BeginPreview();
    ComputePreview(*task);
    AdoptPreview(*task);
    return task->op != nullptr;
}

std::unique_ptr<CPreviewTask> CMainDlgModel::BeginPreview(size_t first, size_t count) {
    auto task = std::make_unique<CPreviewTask>();
    task->op = BuildOperation();
    if (!task->op) {
        task->problem = Problem();
        return task;
    }
    task->given = given_;
    task->choices = choices_;
    task->first = first;
    // The rows on screen keep their items and places while the order and
    // the choice of items stay: their names can be computed from those,
    // unless a name depends on the items before it.
    if (count > 0 && shownSelection_ && shownOptions_ == task->op->options() && shownChoices_ == choices_ &&
        first < rows_.size() && !task->op->NamesInOrder()) {
        const size_t end = std::min(rows_.size(), first + count);
        task->visible.assign(rows_.begin() + static_cast<ptrdiff_t>(first), rows_.begin() + static_cast<ptrdiff_t>(end));
        task->visibleFromShown = true;
        task->selection = shownSelection_;  // keeps those items alive
    } else if (count > 0) {
        task->first = 0;
        task->visible.resize(first + count);  // a limit, until the rows are known
    }
    return task;
}

bool CMainDlgModel::ComputePreview(CPreviewTask& task, const std::function<bool()>& cancelled,
                                   const std::function<void()>& visibleReady) {
    if (!task.op) {
        task.complete = true;
        return true;
    }
    CExecute& op = *task.op;
    if (task.visibleFromShown) {
        for (CPreviewRow& row : task.visible) {
            if (!op.Takes(*row.item)) {
                row.newName = row.item->name();
                row.status = CRowStatus::kLeftOut;
                continue;
            }
            const std::unique_ptr<CFileDescriptor> next = op.Compute(*row.item, {row.position, PreviewFileSystem()});
            row.newName = next ? next->name() : row.item->name();
            row.status = row.newName == row.item->name() ? CRowStatus::kUnchanged : CRowStatus::kRenamed;
        }
        if (visibleReady) visibleReady();
    }
    if (!Prepare(op, task.given, cancelled)) {
        // Cancelled, or "Skip all" while reading: nothing to show.
        task.complete = !(cancelled && cancelled());
        return task.complete;
    }
    task.selection = selection_;
    CRenameRun run(op.options(), fs_, *replayPrompts_);
    run.SetCancel(cancelled);
    if (!task.visibleFromShown && !task.visible.empty()) {
        const size_t limit = task.visible.size();
        run.Preview(*selection_, op, task.visible, limit);
        if (visibleReady) visibleReady();
    }
    if (!run.Preview(*selection_, op, task.rows)) return false;
    // The folders the check must list are read once, as the selection was.
    if (checkPreview_) {
        if (!check_.prepared()) check_.Prepare(*selection_, arranged_.subfolders);
        if (!check_.Mark(task.rows, PreviewFileSystem(), previewNumbering_, cancelled)) return false;
    }
    task.counts = CountRows(task.rows);
    task.offered = op.OffersEveryItem() ? task.counts.rows : task.counts.rows - task.counts.unchanged;
    task.problem = op.Problem();
    task.complete = true;
    return true;
}

void CMainDlgModel::AdoptPreview(CPreviewTask& task) {
    if (task.selection != shownSelection_) shownFolders_.clear();
    rows_.swap(task.rows);
    if (rows_.empty()) task.selection.reset();
    shownSelection_.swap(task.selection);
    counts_ = task.counts;
    offered_ = task.offered;
    previewProblem_ = task.problem;
    if (task.op) shownOptions_ = task.op->options();
    shownChoices_ = task.choices;
}

void CMainDlgModel::SetChoices(CItemChoices choices) {
    choices_ = std::make_shared<const CItemChoices>(std::move(choices));
}

void CMainDlgModel::LeaveOut(const std::vector<std::string>& paths, bool out) {
    auto next = std::make_shared<CItemChoices>(*choices_);
    for (const auto& path : paths) next->LeaveOut(path, out);
    choices_ = std::move(next);
}

void CMainDlgModel::SetName(const std::string& path, const std::string& name) {
    auto next = std::make_shared<CItemChoices>(*choices_);
    next->SetName(path, name);
    choices_ = std::move(next);
}

void CMainDlgModel::ResetNames(const std::vector<std::string>& paths) {
    auto next = std::make_shared<CItemChoices>(*choices_);
    for (const auto& path : paths) next->ResetName(path);
    choices_ = std::move(next);
}

std::string CMainDlgModel::RowPath(const CPreviewRow& row) {
    std::string path;
    row.item->CopyPathTo(path);
    return path;
}

void CMainDlgModel::Changed() {
    if (options_.preview) RefreshPreview();
}

CFinish CMainDlgModel::Ok(const std::function<void(const CPreview& rows)>& arranged) {
    std::unique_ptr<CRunTask> task = BeginRun(arranged);
    if (!task) return CFinish::kNoOperation;
    Run(*task);
    EndRun(*task);
    return task->finish;
}

std::unique_ptr<CRunTask> CMainDlgModel::BeginRun(std::function<void(const CPreview& rows)> arranged) {
    auto task = std::make_unique<CRunTask>();
    task->op = BuildOperation();
    if (!task->op) return nullptr;
    // Names from a list are no run to repeat: the steps kept stay.
    if (namesOnly_.empty()) {
        options_.renameKind = scope_;
        SaveSteps();
        SaveDialogOptions(store_, options_, true);
    }
    task->given = given_;
    task->arranged = std::move(arranged);
    task->journaling = journaling_;
    task->header.time = std::time(nullptr);
    task->header.what = RunName();
    task->header.where = CommonPlace(given_);
    // The names are about to change: the rows shown would only mislead.
    ClearPreview();
    return task;
}

CFinish CMainDlgModel::Run(CRunTask& task, const std::function<bool()>& stop) {
    // What the preview held is of no use any more, and the run reads the
    // disk afresh.
    ReleaseRead();
    recorded_.Reset(fs_);
    std::unique_ptr<CRunJournal> journal;
    if (task.journaling) journal = std::make_unique<CRunJournal>(fs_, journalFolder_, task.header);
    CExecute& op = *task.op;
    CRenameRun run(op.options(), fs_, prompts_, journal.get());
    run.SetProgress(progress_);
    bool asked = false;
    run.SetCancel([&] { return asked || (stop && (asked = stop())); });
    // A dialog that stays open after a stop works on the items under the
    // names the run gave them.
    CPathsFollower follower(task.given);
    run.SetMoved([&](const std::string& from, const std::string& to) { follower.Moved(from, to); });
    task.result = {};
    CSelection selection = run.Collect(task.given);
    if (!selection.complete()) {
        task.result.stopped = true;
        task.stoppedByUser = asked;
        return task.finish = CFinish::kStopped;
    }
    run.Arrange(selection);
    if (task.arranged) {
        CPreview rows;
        run.Preview(selection, op, rows);
        const bool offersEvery = op.OffersEveryItem();
        std::erase_if(rows, [&](const CPreviewRow& row) {
            return row.status == CRowStatus::kLeftOut || (!offersEvery && row.status == CRowStatus::kUnchanged);
        });
        task.arranged(rows);
    }
    task.result = run.Rename(selection, op);
    task.stoppedByUser = asked;
    task.given = follower.Given(std::move(task.given));
    if (task.result.journalFailed()) return task.finish = CFinish::kJournalFailed;
    return task.finish = task.result.stopped ? CFinish::kStopped : CFinish::kDone;
}

void CMainDlgModel::EndRun(const CRunTask& task) {
    lastRun_ = task.result;
    if (task.stoppedByUser) SetGiven(task.given);
    if (task.result.journalFailed()) {
        journalPath_ = task.result.journalPath;
        journalError_ = task.result.journalError;
    }
}

// A journal without its begin record whole holds nothing to trust (a run
// killed before its first flush leaves one empty): it is no run. One that is
// refused is, so that nothing older is taken back past it unseen.
uint32_t CMainDlgModel::WalkRuns(bool withItems, const std::function<bool(size_t, CJournalRun&)>& each) {
    std::string folder;
    std::vector<std::string> files;
    uint32_t code = JournalFolder(journalFolder_, folder);
    if (!code) code = ListJournals(fs_, folder, files);
    size_t number = 0;
    for (const auto& file : files) {
        CJournalRun run;
        if (ReadJournal(fs_, file, run, withItems) != platform::kErrorSuccess) continue;
        if (!run.readable && run.refusal.empty()) continue;
        if (each(++number, run)) break;
    }
    return code;
}

uint32_t CMainDlgModel::History(std::vector<CJournalRun>& runs) {
    runs.clear();
    return WalkRuns(false, [&](size_t, CJournalRun& run) {
        runs.push_back(std::move(run));
        return false;
    });
}

uint32_t CMainDlgModel::ReadRun(size_t n, CJournalRun& run, bool withItems) {
    bool found = false;
    const uint32_t code = WalkRuns(false, [&](size_t number, CJournalRun& r) {
        if (number < n) return false;
        found = true;
        run = std::move(r);
        return true;
    });
    if (code) return code;
    if (!found) return platform::kErrorFileNotFound;
    // Read again with its items: only the one run taken back needs them.
    if (withItems && run.refusal.empty()) {
        const std::string path = run.path;
        if (const uint32_t again = ReadJournal(fs_, path, run, true)) return again;
    }
    return platform::kErrorSuccess;
}

bool CMainDlgModel::LastRun(CJournalRun& run, bool withItems, size_t* number) {
    size_t found = 0;
    const uint32_t code = WalkRuns(false, [&](size_t n, CJournalRun& r) {
        if (r.refusal.empty() && UndoCount(r) == 0) return false;  // it renamed nothing
        found = n;
        run = std::move(r);
        return true;
    });
    if (code || found == 0) return false;
    if (number) *number = found;
    if (withItems && run.refusal.empty()) {
        const std::string path = run.path;
        if (ReadJournal(fs_, path, run, true) != platform::kErrorSuccess || !run.readable) return false;
        return UndoCount(run) > 0 || !run.refusal.empty();
    }
    return true;
}

CUndoResult CMainDlgModel::Undo(const CJournalRun& run) {
    if (!run.refusal.empty()) {
        CUndoResult refused;
        refused.stopped = true;
        return refused;
    }
    CJournalHeader header;
    header.kind = CJournalHeader::kUndo;
    header.time = std::time(nullptr);
    header.what = run.header.kind == CJournalHeader::kUndo ? "undo of " + run.header.what
                                                            : "\"" + run.header.what + "\"";
    header.where = run.header.where;
    const auto sep = run.path.find_last_of(platform::kPathSeparator);
    header.undone = sep == std::string::npos ? run.path : run.path.substr(sep + 1);
    CRunJournal journal(fs_, journalFolder_, std::move(header));
    CPathsFollower follower(given_);
    CUndoResult result = UndoRun(run, fs_, prompts_, journal, [&](const std::string& from, const std::string& to) {
        follower.Moved(from, to);
    });
    if (result.journalFailed) {
        journalPath_ = journal.path();
        journalError_ = journal.error();
    }
    SetGiven(follower.Given(given_));
    return result;
}

CFinish CMainDlgModel::SaveFileList(const std::function<bool(std::string& fileName)>& chooseFile,
                                    const CListFormat& format) {
    listed_ = 0;
    std::unique_ptr<CExecute> op = BuildOperation();
    if (!op) return CFinish::kNoOperation;
    std::string fileName = lastListFile_;
    if (!chooseFile || !chooseFile(fileName)) return CFinish::kCancelled;
    lastListFile_ = fileName;
    SaveDialogOptions(store_, options_, false);
    // As a run writes it, but not over an item that it lists.
    CRenameRun run(op->options(), fs_, prompts_);
    CSelection selection = run.Collect(given_);
    if (!selection.complete()) return CFinish::kStopped;
    if (!format.write && ListsItself(selection, lastListFile_, fs_)) {
        CErrorReport report;
        report.title = "Cannot save the file list";
        report.headline = "The list would replace one of the items it lists.";
        report.fileName = lastListFile_;
        report.errorCode = platform::kErrorAlreadyExists;
        report.explanation = platform::ErrorMessage(report.errorCode);
        prompts_.DefaultError(report);
        return CFinish::kRefused;
    }
    return run.WriteList(selection, lastListFile_, format, &listed_) ? CFinish::kDone : CFinish::kStopped;
}
