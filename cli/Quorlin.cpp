#include "cli/Quorlin.h"

#include <cstdlib>
#include <random>
#include <unordered_map>
#include <unordered_set>

#include "cli/Arguments.h"
#include "cli/History.h"
#include "cli/Output.h"
#include "cli/Progress.h"
#include "cli/Terminal.h"
#include "cli/TerminalPrompts.h"
#include "dialog/ControlTexts.h"
#include "dialog/MainDlgModel.h"
#include "dialog/SettingsStore.h"
#include "core/Journal.h"
#include "core/JournalUndo.h"
#include "dialog/panels/RenameDlg.h"
#include "platform/Console.h"
#include "platform/FileSystem.h"
#include "platform/SettingsBackend.h"

namespace {

// A preview leaves the stored settings as they were: reads go through,
// writes are dropped.
class ReadOnlySettings final : public platform::ISettingsBackend {
public:
    explicit ReadOnlySettings(std::unique_ptr<platform::ISettingsBackend> inner) : inner_(std::move(inner)) {}
    std::optional<int32_t> readNumber(const std::string& name) override {
        return inner_ ? inner_->readNumber(name) : std::nullopt;
    }
    std::optional<std::string> readText(const std::string& name) override {
        return inner_ ? inner_->readText(name) : std::nullopt;
    }
    bool writeNumber(const std::string&, int32_t) override { return true; }
    bool writeText(const std::string&, const std::string&) override { return true; }
    void flush() override {}

private:
    std::unique_ptr<platform::ISettingsBackend> inner_;
};

// A run without --last starts from the defaults, whatever an earlier run
// left behind, and still stores what it used: reads find nothing, writes go
// through.
class WriteOnlySettings final : public platform::ISettingsBackend {
public:
    explicit WriteOnlySettings(std::unique_ptr<platform::ISettingsBackend> inner) : inner_(std::move(inner)) {}
    std::optional<int32_t> readNumber(const std::string&) override { return std::nullopt; }
    std::optional<std::string> readText(const std::string&) override { return std::nullopt; }
    bool writeNumber(const std::string& name, int32_t value) override {
        return inner_ && inner_->writeNumber(name, value);
    }
    bool writeText(const std::string& name, const std::string& value) override {
        return inner_ && inner_->writeText(name, value);
    }
    void flush() override {
        if (inner_) inner_->flush();
    }

private:
    std::unique_ptr<platform::ISettingsBackend> inner_;
};

void Out(std::string_view text) {
    platform::writeText(platform::StandardStream::kOutput, text);
}

bool IsSeparator(char c) {
    return c == '/' || c == platform::kPathSeparator;
}

// `text` without separators at its end (a root keeps its one).
std::string WithoutTrailingSeparators(const std::string& text) {
    std::string out = text;
    while (out.size() > 1 && IsSeparator(out.back())) out.pop_back();
    return out;
}

// "." and "..", alone or at the end of a path, stand for a folder that
// the person is in or above: its contents may be renamed, never the folder
// itself.
bool StandsInFolder(const std::string& typed) {
    const std::string t = WithoutTrailingSeparators(typed);
    for (const std::string_view tail : {".", ".."}) {
        if (t == tail) return true;
        if (t.size() > tail.size() && t.compare(t.size() - tail.size(), tail.size(), tail) == 0 &&
            IsSeparator(t[t.size() - tail.size() - 1]))
            return true;
    }
    return false;
}

// How the contents of a folder typed as "." or "x/.." show: "" and "x/../".
std::string ContentsPrefix(const std::string& typed) {
    std::string t = WithoutTrailingSeparators(typed);
    if (t == ".") return {};
    if (t.size() >= 2 && t.compare(t.size() - 2, 2, "/.") == 0) t.resize(t.size() - 1);
    if (t.size() >= 2 && t.back() == '.' && IsSeparator(t[t.size() - 2])) t.resize(t.size() - 1);
    if (!t.empty() && !IsSeparator(t.back())) t += platform::kPathSeparator;
    return t;
}

// True when `path` lies inside one of `folders`.
bool Inside(const std::string& path, const std::unordered_set<std::string>& folders) {
    if (folders.empty()) return false;
    for (auto sep = path.find_last_of(platform::kPathSeparator); sep != std::string::npos && sep > 0;
         sep = path.find_last_of(platform::kPathSeparator, sep - 1))
        if (folders.count(path.substr(0, sep))) return true;
    return false;
}

bool Colour() {
#ifdef _WIN32
    return false;  // the console's colour sequences are not on everywhere
#else
    const char* noColour = std::getenv("NO_COLOR");
    const char* term = std::getenv("TERM");
    return platform::isTerminal(platform::StandardStream::kOutput) && !(noColour && *noColour) &&
           !(term && std::string(term) == "dumb");
#endif
}

class Session {
public:
    explicit Session(const CCommandLine& command) : command_(command) {}

    int Run();

private:
    struct Given {
        std::string typed;
        std::string full;
        bool contentsOnly = false;
        platform::EntryKind kind = platform::EntryKind::kFile;
    };

    int Usage(const std::string& reason) {
        terminal_.Write("quorlin: " + reason + "\n");
        return kExitUsage;
    }
    int NoOperation(const CMainDlgModel& model);
    bool ResolvePaths(std::string& error);
    bool Select(bool subfolders, std::string& error);
    bool Configure(CMainDlgModel& model, std::string& error);
    std::unique_ptr<CSettingsStore> OpenSettings();
    bool CheckListFile(const std::string& file, bool subfolders, std::string& error);
    int SaveList(CMainDlgModel& model, CTerminalPrompts& conflicts, CStatusLine* status, const std::string& listFile);
    int Preview(CMainDlgModel& model, CTerminalPrompts& conflicts, CStatusLine* status, CConflictPolicy policy);
    int History();
    /// Takes back run `number` of the history, or without one the newest
    /// run that renamed something.
    int Undo(std::optional<size_t> number);
    CConflictPolicy Policy(bool interactive) const;
    /// Why the journal stopped a run or an undo, as one line.
    std::string JournalFailure(const CMainDlgModel& model, const char* what, int renamed) const;

    const CCommandLine& command_;
    CSystemTerminal terminal_;
    std::vector<Given> given_;
    std::vector<std::string> paths_;
    std::unordered_set<std::string> folders_;  ///< the real folders among paths_, with subfolders on
    CShownPaths shown_;
};

bool Session::ResolvePaths(std::string& error) {
    for (const auto& typed : command_.paths) {
        Given g;
        g.typed = WithoutTrailingSeparators(typed);
        g.contentsOnly = StandsInFolder(typed);
        g.full = platform::fullPathName(typed);
        if (g.full.empty()) {
            error = "cannot tell where \"" + DisplayName(typed) + "\" is: the current folder cannot be read";
            return false;
        }
        platform::Attributes attrs;
        const uint32_t code = platform::realFileSystem().getAttributes(g.full, attrs);
        if (code != platform::kErrorSuccess) {
            error = "\"" + DisplayName(typed) + "\": " + platform::errorMessage(code);
            return false;
        }
        g.kind = attrs.kind;
        if (g.contentsOnly && !attrs.isFolder()) {
            error = "\"" + DisplayName(typed) + "\" is not a folder";
            return false;
        }
        if (!g.contentsOnly && platform::isRootPath(g.full)) {
            error = "\"" + DisplayName(typed) + "\" is the root of a file system, which cannot be renamed";
            return false;
        }
        given_.push_back(std::move(g));
    }
    return true;
}

// The items to rename: the given paths, the contents of a folder given as
// ".", each once, and none that a given folder holds when its contents are
// renamed anyway: an item met twice would be renamed, then fail.
bool Session::Select(bool subfolders, std::string& error) {
    struct Candidate {
        std::string path;
        bool folder;
    };
    std::vector<Candidate> candidates;
    for (const auto& g : given_) {
        if (!g.contentsOnly) {
            shown_.AddGiven(g.full, g.typed);
            candidates.push_back({g.full, g.kind == platform::EntryKind::kFolder});
            continue;
        }
        shown_.AddFolder(g.full, ContentsPrefix(g.typed));
        if (!subfolders) continue;
        const uint32_t code = platform::realFileSystem().listFolderEntries(
            g.full, [&](const std::string& name, platform::EntryKind kind) {
                candidates.push_back(
                    {g.full + (IsSeparator(g.full.back()) ? "" : std::string(1, platform::kPathSeparator)) + name,
                     kind == platform::EntryKind::kFolder});
            });
        if (code != platform::kErrorSuccess) {
            error = "\"" + DisplayName(g.typed) + "\": " + platform::errorMessage(code);
            return false;
        }
    }
    if (subfolders)
        for (const auto& c : candidates)
            if (c.folder) folders_.insert(c.path);
    std::unordered_set<std::string> seen;
    for (auto& c : candidates) {
        if (!seen.insert(c.path).second || (subfolders && Inside(c.path, folders_))) continue;
        paths_.push_back(std::move(c.path));
    }
    if (paths_.empty()) {
        for (const auto& g : given_)
            if (g.contentsOnly && !subfolders) {
                error = "nothing to rename: \"" + DisplayName(g.typed) +
                        "\" is never renamed itself, and --no-subfolders leaves out what it holds";
                return false;
            }
    }
    return true;
}

bool Session::Configure(CMainDlgModel& model, std::string& error) {
    if (command_.scope) {
        const auto scope = ParseScope(*command_.scope);
        if (!scope) {
            error = "unknown scope \"" + *command_.scope + "\"" +
                    DidYouMean(*command_.scope, {ScopeNames().begin(), ScopeNames().end()}) +
                    " (see quorlin --actions)";
            return false;
        }
        model.SetScope(*scope);
    }
    if (command_.action) {
        const std::string text = FindActionText(*command_.action);
        if (text.empty()) {
            error = "unknown action \"" + *command_.action + "\"" +
                    DidYouMean(ShortForm(*command_.action), ActionNames()) + " (see quorlin --actions)";
            return false;
        }
        if (!model.FindPanel(text)) {
            error = "\"" + text + "\" is not available in this build";
            return false;
        }
        if (!model.SelectAction(text)) {
            error = "\"" + text + "\" does not apply to \"" + ScopeTexts()[model.scope()] + "\"";
            return false;
        }
    }
    CDialogOptions& o = model.options();
    if (command_.sort) {
        const auto sort = ParseSortOrder(*command_.sort);
        if (!sort) {
            error = "unknown sorting order \"" + *command_.sort + "\"" +
                    DidYouMean(*command_.sort, {SortOrderNames().begin(), SortOrderNames().end()}) +
                    " (see quorlin --actions)";
            return false;
        }
        o.sort = *sort;
    }
    if (command_.files) o.files = *command_.files;
    if (command_.folders) o.folders = *command_.folders;
    if (command_.subfolders) o.subfolders = *command_.subfolders;
    if (command_.confirm) o.confirm = *command_.confirm;
    if (command_.sortFolders) o.sortFolders = *command_.sortFolders;
    CRenameDlg* panel = model.activePanel();
    if (!panel) {
        error = "no action applies to \"" + std::string(ScopeTexts()[model.scope()]) + "\"";
        return false;
    }
    for (const auto& assignment : command_.values)
        if (!AssignValue(*panel, assignment, error)) return false;
    return true;
}

std::unique_ptr<CSettingsStore> Session::OpenSettings() {
    const char* key = CSettingsStore::kDialogSubKey;
    if (command_.last && command_.preview)
        return std::make_unique<CSettingsStore>(
            key, std::make_unique<ReadOnlySettings>(platform::openSettings(key, command_.settings)));
    if (command_.last) return std::make_unique<CSettingsStore>(key, command_.settings);
    if (command_.preview) return std::make_unique<CSettingsStore>(key, std::unique_ptr<platform::ISettingsBackend>());
    return std::make_unique<CSettingsStore>(
        key, std::make_unique<WriteOnlySettings>(platform::openSettings(key, command_.settings)));
}

// A list file replaces nothing unasked, and never an item it lists.
bool Session::CheckListFile(const std::string& file, bool subfolders, std::string& error) {
    platform::Attributes attrs;
    if (platform::realFileSystem().getAttributes(file, attrs) != platform::kErrorSuccess) return true;
    const std::string shown = "\"" + DisplayName(*command_.saveList) + "\"";
    if (attrs.isFolder()) {
        error = shown + " is a folder";
        return false;
    }
    if (!command_.force) {
        error = shown + " exists; add --force to replace it";
        return false;
    }
    // By name, and by what the file is: a link to an item, or another name
    // of one. The run checks every item it reads once more before writing.
    platform::IFileSystem& fs = platform::realFileSystem();
    platform::FileIdentity target, entry, item;
    const bool haveTarget = fs.getIdentity(file, true, target) == platform::kErrorSuccess;
    const bool haveEntry = fs.getIdentity(file, false, entry) == platform::kErrorSuccess;
    for (const auto& p : paths_)
        if (p == file || (fs.getIdentity(p, false, item) == platform::kErrorSuccess &&
                          ((haveTarget && item == target) || (haveEntry && item == entry)))) {
            error = shown + " is one of the items to list: the list would replace it";
            return false;
        }
    if (subfolders && Inside(file, folders_)) {
        error = shown + " is one of the items to list: the list would replace it";
        return false;
    }
    return true;
}

int Session::NoOperation(const CMainDlgModel& model) {
    const std::string action = model.activePanel()->actionName();
    const auto missing = MissingValues(model);
    if (missing.empty()) return Usage("\"" + action + "\" has nothing to do with these values (see quorlin --actions)");
    std::string names;
    for (size_t i = 0; i < missing.size(); ++i)
        names += (i == 0 ? "" : (i + 1 == missing.size() ? " or " : ", ")) + ("\"" + missing[i] + "\"");
    return Usage("\"" + action + "\" needs a value for " + names + " (--set NAME=VALUE)");
}

int Session::SaveList(CMainDlgModel& model, CTerminalPrompts& conflicts, CStatusLine* status,
                      const std::string& listFile) {
    model.SetPrompts(conflicts);
    CListFormat format;
    if (command_.nulls) format.end = std::string_view("\0", 1);
    // "-" is standard output, as for most tools; a file named "-" is "./-".
    if (listFile.empty())
        format.write = [](const std::string& data) {
            Out(data);
            return platform::kErrorSuccess;
        };
    const CFinish finish = model.SaveFileList(
        [&](std::string& name) {
            name = listFile.empty() ? "-" : listFile;
            return true;
        },
        format);
    if (finish == CFinish::kNoOperation) return NoOperation(model);
    if (status) status->Clear();
    if (conflicts.failed() || finish != CFinish::kDone) return kExitIncomplete;
    const std::string line = "listed " + Plural(model.listed(), "item", "items");
    if (listFile.empty())
        terminal_.Write("quorlin: " + line + "\n");  // the list itself has standard output
    else
        Out(line + " in " + DisplayName(listFile) + "\n");
    return kExitDone;
}

int Session::Preview(CMainDlgModel& model, CTerminalPrompts& conflicts, CStatusLine* status,
                     CConflictPolicy policy) {
    model.SetPrompts(conflicts);
    model.SetRememberListings(false);
    // The names the run will give: a run that numbers taken names shows
    // them numbered.
    model.SetPreviewNumbering(policy == CConflictPolicy::kNumber);
    // The benchmark compares the marked preview with the names alone.
    const char* unchecked = std::getenv("QUORLIN_UNCHECKED_PREVIEW");
    if (unchecked && *unchecked) model.SetCheckPreview(false);
    if (!model.RefreshPreview()) return NoOperation(model);
    if (status) status->Clear();
    const CPreview& rows = model.rows();
    // A run that stops at the first conflict renames nothing after it.
    size_t reached = rows.size();
    if (policy == CConflictPolicy::kStop)
        for (size_t i = 0; i < rows.size(); ++i)
            if (IsConflict(rows[i].status)) {
                reached = i + 1;
                break;
            }
    if (reached == rows.size()) {
        WritePreviewTable(rows, shown_, {command_.all, Colour()}, Out);
        Out(PreviewSummary(model.counts()));
    } else {
        const CPreview shown(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(reached));
        WritePreviewTable(shown, shown_, {command_.all, Colour()}, Out);
        std::string summary = PreviewSummary(CountRows(shown));
        summary.insert(summary.size() - 1, "; the run stops there, " +
                                               Plural(rows.size() - reached, "item", "items") + " not reached");
        Out(summary);
    }
    return conflicts.failed() || model.counts().conflicts ? kExitIncomplete : kExitDone;
}

CConflictPolicy Session::Policy(bool interactive) const {
    CConflictPolicy policy = interactive ? CConflictPolicy::kAsk : CConflictPolicy::kSkip;
    if (command_.onConflict == "skip") policy = CConflictPolicy::kSkip;
    if (command_.onConflict == "number") policy = CConflictPolicy::kNumber;
    if (command_.onConflict == "stop") policy = CConflictPolicy::kStop;
    return policy;
}

// Why the journals cannot be used: a state folder that is not the user's
// alone says what to do about it.
std::string JournalsTrouble(uint32_t code) {
    std::string folder;
    (void)JournalFolder(platform::realFileSystem(), {}, folder);
    const std::string refusal = PrivateRefusal(code);
    if (!refusal.empty()) return "quorlin: the state folder \"" + DisplayName(folder) + "\" is refused: " + refusal;
    return "quorlin: the journals in \"" + DisplayName(folder) + "\" cannot be read: " + platform::errorMessage(code);
}

std::string Session::JournalFailure(const CMainDlgModel& model, const char* what, int renamed) const {
    const std::string where = model.journalPath().empty() ? "the state folder" : DisplayName(model.journalPath());
    const std::string refusal = PrivateRefusal(model.journalError());
    std::string line = std::string("quorlin: the ") + what + " stopped: its journal cannot be written (" + where +
                       ": " + (refusal.empty() ? platform::errorMessage(model.journalError()) : refusal) + ")";
    if (renamed == 0) return line + "; nothing was renamed\n";
    return line + "; the renames before are in it, for --undo\n";
}

int Session::History() {
    CSettingsStore store(CSettingsStore::kDialogSubKey, std::unique_ptr<platform::ISettingsBackend>());
    CMainDlgModel model({}, store, 0);
    std::vector<CJournalRun> runs;
    if (const uint32_t code = model.History(runs)) {
        terminal_.Write(JournalsTrouble(code) + "\n");
        return kExitIncomplete;
    }
    if (runs.empty()) {
        Out("no runs kept yet\n");
        return kExitDone;
    }
    Out(HistoryTable(runs));
    return kExitDone;
}

int Session::Undo(std::optional<size_t> asked) {
    CSettingsStore store(CSettingsStore::kDialogSubKey, std::unique_ptr<platform::ISettingsBackend>());
    CMainDlgModel model({}, store, 0);
    CJournalRun run;
    // Without a number: the newest run that renamed something.
    size_t number = asked.value_or(1);
    uint32_t code = platform::kErrorSuccess;
    if (asked) {
        code = model.ReadRun(number, run);
    } else {
        std::vector<CJournalRun> runs;
        code = model.History(runs);
        if (!code && runs.empty()) code = platform::kErrorFileNotFound;
        if (!code && !model.LastRun(run, true, &number)) {
            Out("nothing to take back: no run kept renamed anything\n");
            return kExitDone;
        }
    }
    const std::string shown = number == 1 ? "the last run" : "run " + std::to_string(number);
    if (code && code != platform::kErrorFileNotFound) {
        terminal_.Write(JournalsTrouble(code) + "\n");
        return kExitIncomplete;
    }
    if (code == platform::kErrorFileNotFound)
        return Usage(number == 1 ? "no run to take back: no journal is kept yet"
                                 : "there is no run " + std::to_string(number) + " to take back (see quorlin --history)");
    if (!run.refusal.empty()) {
        terminal_.Write("quorlin: the journal of " + shown + ", \"" + DisplayName(run.path) + "\", is refused: " +
                        DisplayName(run.refusal) + "; nothing was renamed\n");
        return kExitIncomplete;
    }
    if (UndoCount(run) == 0) {
        Out("nothing to take back: " + shown + " renamed nothing\n");
        return kExitDone;
    }
    if (!run.whole)
        terminal_.Write("quorlin: the journal of " + shown +
                        " is damaged or cut short; what it holds whole is taken back\n");
    terminal_.Write("quorlin: taking back " + shown + ", " + DisplayName(JournalRunText(run)) + "\n");

    const bool interactive = platform::isTerminal(platform::StandardStream::kInput) &&
                             platform::isTerminal(platform::StandardStream::kError);
    std::unique_ptr<CStatusLine> status;
    if (platform::isTerminal(platform::StandardStream::kError)) status = std::make_unique<CStatusLine>(terminal_);
    CProgressFileSystem fs(platform::realFileSystem(), status.get());
    CTerminalPrompts prompts(terminal_, Policy(interactive), status.get());
    model.SetFileSystem(fs);
    model.SetPrompts(prompts);
    const CUndoResult result = model.Undo(run);
    if (status) status->Clear();
    for (const auto& note : result.notes)
        terminal_.Write("quorlin: left alone \"" + DisplayName(note.path) + "\": " + DisplayName(note.reason) + "\n");
    if (result.journalFailed) terminal_.Write(JournalFailure(model, "undo", static_cast<int>(result.renamedBack)));
    Out(UndoSummary(result) + "\n");
    return result.leftAlone || result.failed || result.stopped || result.journalFailed ? kExitIncomplete : kExitDone;
}

int Session::Run() {
    if (command_.history) return History();
    if (command_.undo) {
        if (command_.action || command_.last || command_.preview || command_.saveList)
            return Usage("--undo goes alone: it takes back a run as it was");
        return Undo(command_.undoNumbered ? command_.undo : std::nullopt);
    }
    if (command_.actions) {
        CSettingsStore store(CSettingsStore::kDialogSubKey, std::unique_ptr<platform::ISettingsBackend>());
        CMainDlgModel model({}, store, 0);
        Out(DescribeActions(model));
        return kExitDone;
    }
    if (command_.paths.empty()) return Usage("no files or folders given (see quorlin --help)");
    if (command_.preview && command_.saveList) return Usage("--preview and --save-list do not go together");
    // Nothing is renamed by an action that the command line does not name.
    if (!command_.action && !command_.last)
        return Usage(
            "no action given: name one with --action (see quorlin --actions), or repeat the last run with --last");
    std::string error;
    if (!ResolvePaths(error)) return Usage(error);

    const bool interactive = platform::isTerminal(platform::StandardStream::kInput) &&
                             platform::isTerminal(platform::StandardStream::kError);
    const CConflictPolicy policy = Policy(interactive);

    std::unique_ptr<CSettingsStore> store = OpenSettings();
    std::random_device device;
    const uint64_t seed = (static_cast<uint64_t>(device()) << 32) ^ device();
    CMainDlgModel model({}, *store, seed);
    if (command_.last) {
        if (model.options().lastSelection.empty() || !model.activePanel() ||
            model.activePanel()->actionName() != model.options().lastSelection)
            return Usage("--last has nothing to repeat: no run was stored yet (give --action)");
        // A negative step is kept as typed; the dialog's number field would
        // not show it, so the panel restores its default instead.
        CRenameDlg& panel = *model.activePanel();
        for (const auto& b : panel.bindings()) SetNegativeStep(b, store->ReadString(b.nameId));
    }
    if (!Configure(model, error)) return Usage(error);
    if (command_.last) terminal_.Write("quorlin: repeating the last run: " + DescribeRun(model) + "\n");
    const bool subfolders = model.options().subfolders != 0;
    if (!Select(subfolders, error)) return Usage(error);
    std::string listFile;
    const bool listToOutput = command_.saveList && *command_.saveList == "-";
    if (command_.saveList && !listToOutput) {
        listFile = platform::fullPathName(*command_.saveList);
        if (!CheckListFile(listFile, subfolders, error)) return Usage(error);
    }
    if (!command_.preview && !command_.saveList && model.options().confirm && !interactive)
        return Usage("confirming each rename needs a terminal; add --no-confirm");
    model.SetPaths(paths_);

    std::unique_ptr<CStatusLine> status;
    if (platform::isTerminal(platform::StandardStream::kError)) status = std::make_unique<CStatusLine>(terminal_);
    CProgressFileSystem fs(platform::realFileSystem(), status.get());
    // The prompts ask only where someone can answer: conflicts follow the
    // policy when one was given, confirmations always need the terminal.
    CTerminalPrompts prompts(terminal_, interactive ? CConflictPolicy::kAsk : policy, status.get());
    CTerminalPrompts conflicts(terminal_, policy, status.get());
    prompts.SetShownPaths(&shown_);
    conflicts.SetShownPaths(&shown_);
    model.SetFileSystem(fs);

    if (command_.preview) return Preview(model, conflicts, status.get(), policy);

    if (command_.saveList) return SaveList(model, conflicts, status.get(), listFile);

    // Where someone answers, each question says how far the run has got:
    // which of the renames to come it is about.
    if (interactive) {
        model.SetPrompts(conflicts);
        model.SetRememberListings(false);
        if (model.RefreshPreview()) {
            std::unordered_map<std::string, size_t> positions;
            const bool every = model.offered() == model.rows().size();
            std::string path;
            for (const auto& row : model.rows()) {
                if (!every && row.status == CRowStatus::kUnchanged) continue;
                row.item->CopyPathTo(path);
                positions.emplace(path, positions.size() + 1);
            }
            const size_t total = positions.size();
            prompts.SetPositions(positions, total);
            conflicts.SetPositions(std::move(positions), total);
        }
    }
    // One object answers both kinds: confirmations on the terminal, the
    // conflicts by the policy.
    class Split final : public IPrompts {
    public:
        Split(CTerminalPrompts& ask, CTerminalPrompts& decide) : ask_(ask), decide_(decide) {}
        int Confirm(CNameRequest& r) override { return ask_.Confirm(r); }
        int Duplicate(CNameRequest& r) override { return decide_.Duplicate(r); }
        int Illegal(CNameRequest& r) override { return decide_.Illegal(r); }
        int TooLong(CNameRequest& r) override { return decide_.TooLong(r); }
        int DefaultError(CErrorReport& r) override { return decide_.DefaultError(r); }

    private:
        CTerminalPrompts& ask_;
        CTerminalPrompts& decide_;
    } split(prompts, conflicts);
    model.SetPrompts(split);
    // The benchmark's baseline: the same run without its journal, to tell
    // what the journal costs. Nothing else turns it off.
    const char* noJournal = std::getenv("QUORLIN_NO_JOURNAL_FOR_BENCHMARK");
    if (noJournal && *noJournal) model.SetJournaling(false);
    const CFinish finish = model.Ok();
    if (finish == CFinish::kNoOperation) return NoOperation(model);
    if (status) status->Clear();
    if (finish == CFinish::kJournalFailed) terminal_.Write(JournalFailure(model, "run", fs.renamed()));
    const int skipped = prompts.skipped() + conflicts.skipped();
    const int unchosen = prompts.unchosen() + conflicts.unchosen();
    const int failed = prompts.failed() + conflicts.failed();
    std::string summary = "renamed " + std::to_string(fs.renamed()) + ", skipped " + std::to_string(skipped) +
                          ", failed " + std::to_string(failed);
    if (finish == CFinish::kStopped || finish == CFinish::kJournalFailed) summary += "; stopped before the end";
    Out(summary + "\n");
    // A skip the person chose is done as asked; one nobody chose is not.
    const bool ended = prompts.inputEnded() || conflicts.inputEnded();
    return failed || unchosen || ended || finish == CFinish::kJournalFailed ? kExitIncomplete : kExitDone;
}

}  // namespace

int RunQuorlin(const std::vector<std::string>& args) {
    CCommandLine command;
    std::string message;
    switch (ParseCommandLine(args, command, message)) {
        case CParsed::kHelp:
            Out(message);
            return kExitDone;
        case CParsed::kError:
            platform::writeText(platform::StandardStream::kError, "quorlin: " + message + "\n");
            return kExitUsage;
        case CParsed::kRun:
            break;
    }
    return Session(command).Run();
}
