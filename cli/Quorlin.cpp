#include "cli/Quorlin.h"

#include <cstdlib>
#include <optional>
#include <random>
#include <unordered_map>

#include "cli/Arguments.h"
#include "cli/History.h"
#include "cli/NameLists.h"
#include "cli/Names.h"
#include "cli/Output.h"
#include "cli/PresetModes.h"
#include "cli/Progress.h"
#include "cli/SettingsViews.h"
#include "cli/Steps.h"
#include "cli/Suggestions.h"
#include "cli/Terminal.h"
#include "cli/TerminalPrompts.h"
#include "cli/TypedPaths.h"
#include "core/Journal.h"
#include "core/JournalUndo.h"
#include "core/Words.h"
#include "dialog/ControlTexts.h"
#include "dialog/MainDlgModel.h"
#include "dialog/SettingsStore.h"
#include "dialog/panels/RenameDlg.h"
#include "platform/Console.h"
#include "platform/Editor.h"
#include "platform/FileSystem.h"
#include "platform/SettingsBackend.h"

namespace {

void Out(std::string_view text) {
    platform::WriteText(platform::StandardStream::kOutput, text);
}

bool Colour() {
#ifdef _WIN32
    return false;  // the console's colour sequences are not on everywhere
#else
    const char* noColour = std::getenv("NO_COLOR");
    const char* term = std::getenv("TERM");
    return platform::IsTerminal(platform::StandardStream::kOutput) && !(noColour && *noColour) &&
           !(term && std::string(term) == "dumb");
#endif
}

bool Interactive() {
    return platform::IsTerminal(platform::StandardStream::kInput) &&
           platform::IsTerminal(platform::StandardStream::kError);
}

uint64_t RandomSeed() {
    std::random_device device;
    return (static_cast<uint64_t>(device()) << 32) ^ device();
}

// Why the journals cannot be used: a state folder that is not the user's
// alone says what to do about it.
std::string JournalsTrouble(uint32_t code) {
    std::string folder;
    (void)JournalFolder({}, folder);
    const std::string refusal = PrivateRefusal(code);
    if (!refusal.empty()) return "quorlin: the state folder \"" + DisplayName(folder) + "\" is refused: " + refusal;
    return "quorlin: the journals in \"" + DisplayName(folder) + "\" cannot be read: " + platform::ErrorMessage(code);
}

// One run of the program: what the command line asks for, one function a mode.
class Session {
public:
    explicit Session(const CCommandLine& command)
        : command_(command),
          interactive_(Interactive()),
          status_(platform::IsTerminal(platform::StandardStream::kError) ? std::make_unique<CStatusLine>(terminal_)
                                                                         : nullptr),
          progress_(status_.get()) {}

    int Run();

private:
    int Usage(const std::string& reason) {
        terminal_.Write("quorlin: " + reason + "\n");
        return kExitUsage;
    }
    CConflictPolicy Policy() const;
    CNameList list_;
    std::string listShown_;
    bool passedOver_ = false;  // entries of the list that matched no item
    CTerminalPrompts Prompts() { return CTerminalPrompts(terminal_, Policy(), status_.get(), interactive_); }
    void ClearStatus() {
        if (status_) status_->Clear();
    }

    int History();
    /// Takes back run `number` of the history, or without one the newest
    /// run that renamed something.
    int Undo(std::optional<size_t> number);
    int Actions();
    int Presets();
    int ExportPreset();
    int SavePreset(CMainDlgModel& model);
    bool GivenRun(CMainDlgModel& model, CSettingsStore& store, std::string& error);
    /// Everything that works on the typed paths: previews, lists, renames.
    int OnPaths();
    int Preview(CMainDlgModel& model, CTerminalPrompts& prompts);
    int SaveList(CMainDlgModel& model, CTerminalPrompts& prompts, const std::string& listFile);
    int Rename(CMainDlgModel& model, CTerminalPrompts& prompts);

    /// --from: reads the list before the paths, which a plan may give.
    bool ReadFrom(std::string& error);
    /// A plan runs only over items as it found them: false, after saying
    /// which changed, when one did.
    bool PlanStillFits();
    /// The items as the run takes them, in its order, with the names they
    /// have: what a list of names is matched with.
    const CPreview& ReadItems(CMainDlgModel& model, const char* runName);
    /// Puts the names of the list into the model's choices. -1 when the run
    /// goes on; otherwise the exit status, nothing renamed.
    int FromList(CMainDlgModel& model);
    int Edit(CMainDlgModel& model, CTerminalPrompts& prompts);
    void WritePlan(CMainDlgModel& model);

    int NoOperation(CMainDlgModel& model);
    bool Configure(CMainDlgModel& model, std::string& error);
    std::unique_ptr<CSettingsStore> OpenSettings();
    bool CheckListFile(const std::string& file, bool subfolders, std::string& error);
    /// Why the journal stopped a run or an undo, as one line.
    std::string JournalFailure(const CMainDlgModel& model, const char* what, size_t renamed) const;

    const CCommandLine& command_;
    CSystemTerminal terminal_;
    bool interactive_;
    std::unique_ptr<CStatusLine> status_;
    CProgressLine progress_;
    CTypedPaths typed_;
};

CConflictPolicy Session::Policy() const {
    CConflictPolicy policy = interactive_ ? CConflictPolicy::kAsk : CConflictPolicy::kSkip;
    if (command_.onConflict == "skip") policy = CConflictPolicy::kSkip;
    if (command_.onConflict == "number") policy = CConflictPolicy::kNumber;
    if (command_.onConflict == "stop") policy = CConflictPolicy::kStop;
    return policy;
}

bool Session::Configure(CMainDlgModel& model, std::string& error) {
    if (!ConfigureSteps(model, command_, error)) return false;
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
    for (const auto& [member, value] : command_.sections) o.*member = value;
    return true;
}

std::unique_ptr<CSettingsStore> Session::OpenSettings() {
    const char* key = CSettingsStore::kDialogSubKey;
    if (command_.last && command_.preview)
        return std::make_unique<CSettingsStore>(
            key, std::make_unique<ReadOnlySettings>(platform::OpenSettings(key, command_.settings)));
    if (command_.last) return std::make_unique<CSettingsStore>(key, command_.settings);
    if (command_.preview) return std::make_unique<CSettingsStore>(key, std::unique_ptr<platform::ISettingsBackend>());
    return std::make_unique<CSettingsStore>(
        key, std::make_unique<WriteOnlySettings>(platform::OpenSettings(key, command_.settings)));
}

// A list file replaces nothing unasked, and never an item it lists.
bool Session::CheckListFile(const std::string& file, bool subfolders, std::string& error) {
    platform::Attributes attrs;
    if (platform::RealFileSystem().GetAttributes(file, attrs) != platform::kErrorSuccess) return true;
    const std::string shown = "\"" + DisplayName(*command_.saveList) + "\"";
    if (attrs.isFolder()) {
        error = shown + " is a folder";
        return false;
    }
    if (!command_.force) {
        error = shown + " exists; add --force to replace it";
        return false;
    }
    // The run checks every item it reads once more before writing.
    return typed_.ListMayReplace(file, *command_.saveList, subfolders, error);
}

int Session::NoOperation(CMainDlgModel& model) {
    const std::string reason = NoOperationReason(model);
    return Usage(reason.empty() ? "nothing to do" : reason);
}

std::string Session::JournalFailure(const CMainDlgModel& model, const char* what, size_t renamed) const {
    const std::string where = model.journalPath().empty() ? "the state folder" : DisplayName(model.journalPath());
    const std::string refusal = PrivateRefusal(model.journalError());
    std::string line = std::string("quorlin: the ") + what + " stopped: its journal cannot be written (" + where +
                       ": " + (refusal.empty() ? platform::ErrorMessage(model.journalError()) : refusal) + ")";
    if (renamed == 0) return line + "; nothing was renamed\n";
    return line + "; the renames before are in it, for --undo\n";
}

int Session::History() {
    CSettingsStore store(CSettingsStore::kDialogSubKey, std::unique_ptr<platform::ISettingsBackend>());
    CMainDlgModel model({}, store, 0, platform::RealFileSystem(), SkippingPrompts());
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
    CTerminalPrompts prompts = Prompts();
    CMainDlgModel model({}, store, 0, platform::RealFileSystem(), prompts);
    model.SetProgress(progress_.Listener());
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

    const CUndoResult result = model.Undo(run);
    ClearStatus();
    for (const auto& note : result.notes)
        terminal_.Write("quorlin: left alone \"" + DisplayName(note.path) + "\": " + DisplayName(note.reason) + "\n");
    if (result.journalFailed) terminal_.Write(JournalFailure(model, "undo", result.renamedBack));
    Out(UndoSummary(result) + "\n");
    return result.leftAlone || result.failed || result.stopped || result.journalFailed ? kExitIncomplete : kExitDone;
}

int Session::Actions() {
    CSettingsStore store(CSettingsStore::kDialogSubKey, std::unique_ptr<platform::ISettingsBackend>());
    CMainDlgModel model({}, store, 0, platform::RealFileSystem(), SkippingPrompts());
    Out(DescribeActions(model));
    return kExitDone;
}

int Session::Run() {
    if (command_.history) return History();
    if (command_.undo) {
        if (command_.HasAction() || command_.last || command_.preview || command_.saveList || command_.preset)
            return Usage("--undo goes alone: it takes back a run as it was");
        return Undo(command_.undoNumbered ? command_.undo : std::nullopt);
    }
    if (command_.actions) return Actions();
    if (command_.presets) return Presets();
    if (command_.exportPreset) return ExportPreset();
    if (command_.paths.empty() && !command_.savePreset && !command_.from)
        return Usage("no files or folders given (see quorlin --help)");
    if (command_.preview && command_.saveList) return Usage("--preview and --save-list do not go together");
    // Nothing is renamed by an action that the command line does not name.
    if (!command_.HasAction() && !command_.last && !command_.preset && !command_.OwnNames())
        return Usage(
            "no action given: name one with --action (see quorlin --actions), repeat the last run with --last, or "
            "run a preset with --preset");
    return OnPaths();
}

int Session::Presets() {
    CSettingsStore store(CSettingsStore::kDialogSubKey, command_.settings);
    const CPresetBook book(store);
    if (book.presets().empty()) {
        Out("no presets kept yet: keep one with --save-preset NAME\n");
        return kExitDone;
    }
    Out(PresetList(book.presets()));
    return kExitDone;
}

int Session::ExportPreset() {
    const auto& [name, file] = *command_.exportPreset;
    CSettingsStore store(CSettingsStore::kDialogSubKey, command_.settings);
    const CPresetBook book(store);
    const CPreset* preset = book.Find(name);
    if (!preset) return Usage("no preset named \"" + DisplayName(name) + "\" (see quorlin --presets)");
    if (file == "-") {
        Out(PresetText(*preset));
        return kExitDone;
    }
    const std::string path = platform::FullPathName(file);
    platform::Attributes attrs;
    if (platform::RealFileSystem().GetAttributes(path, attrs) == platform::kErrorSuccess && !command_.force)
        return Usage("\"" + DisplayName(file) + "\" exists; add --force to replace it");
    if (const uint32_t code = platform::RealFileSystem().WriteFile(path, PresetText(*preset))) {
        terminal_.Write("quorlin: cannot write \"" + DisplayName(file) + "\": " + platform::ErrorMessage(code) + "\n");
        return kExitIncomplete;
    }
    Out("wrote the preset \"" + DisplayName(name) + "\" to " + DisplayName(path) + "\n");
    return kExitDone;
}

// Keeps what the model holds now as a preset, when it would rename.
int Session::SavePreset(CMainDlgModel& model) {
    const std::string reason = NoOperationReason(model);
    if (!reason.empty()) return Usage(reason);
    CSettingsStore store(CSettingsStore::kDialogSubKey, command_.settings);
    CPresetBook book(store);
    std::string error;
    if (!book.Save(model.MakePreset(*command_.savePreset), error)) return Usage(error);
    const std::string line = "kept the preset \"" + DisplayName(*command_.savePreset) +
                             "\": " + DisplayName(StepsSummary(model.Steps())) + "\n";
    if (command_.paths.empty())
        Out(line);
    else
        terminal_.Write("quorlin: " + line);
    return kExitDone;
}

// The steps that --last or --preset gives.
bool Session::GivenRun(CMainDlgModel& model, CSettingsStore& store, std::string& error) {
    if (command_.last) {
        if (model.options().lastSelection.empty() || !model.activePanel() ||
            model.activePanel()->actionName() != model.options().lastSelection) {
            error = "--last has nothing to repeat: no run was stored yet (give --action)";
            return false;
        }
        // A negative step is kept as typed; the dialog's number field would
        // not show it, so the panel restores its default instead.
        if (model.stepCount() == 1)
            for (const auto& b : model.activePanel()->bindings()) SetNegativeStep(b, store.ReadString(b.nameId));
    }
    if (command_.preset) {
        CSettingsStore kept(CSettingsStore::kDialogSubKey, command_.settings);
        CPreset preset;
        if (!FindPreset(*command_.preset, kept, preset, error)) return false;
        if (!model.ApplyPreset(preset, error)) {
            error = "the preset \"" + DisplayName(*command_.preset) + "\" cannot be run here: " + error +
                    "; nothing was renamed";
            return false;
        }
    }
    return true;
}

int Session::OnPaths() {
    std::string error;
    std::vector<std::string> paths = command_.paths;
    if (command_.from) {
        if (!ReadFrom(error)) return Usage(error);
        if (list_.kind == CNameList::Kind::kPlan && !PlanStillFits()) return kExitIncomplete;
        // A plan names its items itself.
        if (paths.empty() && list_.kind == CNameList::Kind::kPlan)
            for (const auto& entry : list_.entries) paths.push_back(entry.old);
        if (paths.empty()) return Usage("no files or folders given: only a plan of --preview --json names its items");
    }
    if (!paths.empty() && !typed_.Resolve(paths, error)) return Usage(error);
    std::unique_ptr<CSettingsStore> store = OpenSettings();
    CTerminalPrompts prompts = Prompts();
    prompts.SetShownPaths(&typed_.shown());
    CMainDlgModel model({}, *store, RandomSeed(), platform::RealFileSystem(), prompts);
    model.SetProgress(progress_.Listener());
    // The run's store reads nothing of an earlier run, whose steps must not
    // come back with --last after this one.
    if (!command_.last) model.AssumeStoredSteps();
    if (!GivenRun(model, *store, error) || !Configure(model, error)) return Usage(error);
    if (command_.last) terminal_.Write("quorlin: repeating the last run: " + DescribeRun(model) + "\n");
    if (command_.savePreset) {
        if (const int code = SavePreset(model); code != kExitDone || command_.paths.empty()) return code;
    }
    const bool subfolders = model.options().subfolders != 0;
    std::vector<CGivenPath> given;
    if (!typed_.Given(subfolders, given, error)) return Usage(error);
    std::string listFile;
    if (command_.saveList && *command_.saveList != "-") {
        listFile = platform::FullPathName(*command_.saveList);
        if (!CheckListFile(listFile, subfolders, error)) return Usage(error);
    }
    if (!command_.preview && !command_.saveList && model.options().confirm && !interactive_)
        return Usage("confirming each rename needs a terminal; add --no-confirm");
    model.SetGiven(std::move(given));
    if (command_.edit) return Edit(model, prompts);
    if (command_.from)
        if (const int code = FromList(model); code >= 0) return code;
    if (command_.preview) return Preview(model, prompts);
    if (command_.saveList) return SaveList(model, prompts, listFile);
    return Rename(model, prompts);
}

bool Session::ReadFrom(std::string& error) {
    const std::string& file = *command_.from;
    std::string text;
    if (file == "-") {
        listShown_ = "standard input";
        std::string line;
        while (platform::ReadLine(line)) text += line + "\n";
    } else {
        listShown_ = DisplayName(file);
        uint32_t code = 0;
        const std::string path = platform::FullPathName(file);
        auto stream = platform::RealFileSystem().OpenRead(path, code);
        if (!stream) {
            error = "cannot read the list \"" + listShown_ + "\": " + platform::ErrorMessage(code);
            return false;
        }
        char buffer[65536];
        for (size_t n; (n = stream->Read(buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    }
    if (!ReadNameList(text, file, list_, error)) {
        error = "the list \"" + listShown_ + "\", " + error + "; nothing was renamed";
        return false;
    }
    if (list_.entries.empty()) {
        error = "the list \"" + listShown_ + "\" names nothing; nothing was renamed";
        return false;
    }
    return true;
}

bool Session::PlanStillFits() {
    platform::IFileSystem& fs = platform::RealFileSystem();
    size_t changed = 0;
    for (const auto& entry : list_.entries) {
        platform::Attributes attrs;
        std::string why;
        if (const uint32_t code = fs.GetAttributes(entry.old, attrs)) {
            why = code == platform::kErrorFileNotFound || code == platform::kErrorPathNotFound
                      ? "is no longer there"
                      : "cannot be read: " + platform::ErrorMessage(code);
        } else if (!entry.kind.empty() && entry.kind != (attrs.isFolder() ? "folder" : "file")) {
            why = "is no longer a " + entry.kind;
        } else if (!attrs.isFolder()) {
            // What a folder holds may change without the folder changing.
            platform::FileTimes times;
            if (entry.size && *entry.size != attrs.size)
                why = "changed since the plan was made (its size)";
            else if (entry.modified && fs.GetTimes(entry.old, times) == 0 && times.modification != *entry.modified)
                why = "changed since the plan was made (its time of change)";
        }
        if (why.empty()) continue;
        if (++changed <= 10)
            terminal_.Write("quorlin: line " + std::to_string(entry.line) + ": \"" + DisplayName(entry.old) + "\" " +
                            why + "\n");
    }
    if (changed == 0) return true;
    if (changed > 10) terminal_.Write("quorlin: and " + GroupedNumber(changed - 10) + " more\n");
    terminal_.Write("quorlin: the plan \"" + listShown_ + "\" no longer fits the disk; nothing was renamed\n");
    return false;
}

const CPreview& Session::ReadItems(CMainDlgModel& model, const char* runName) {
    model.SetNamesOnly(runName);
    model.SetRememberListings(false);
    model.SetCheckPreview(false);
    model.RefreshPreview();
    model.SetCheckPreview(true);
    ClearStatus();
    return model.rows();
}

int Session::FromList(CMainDlgModel& model) {
    const std::string runName = "names from " + (command_.from == "-" ? std::string("standard input")
                                                                      : platform::FullPathName(*command_.from));
    const CPreview& rows = ReadItems(model, runName.c_str());
    CItemChoices choices;
    choices.Reserve(list_.entries.size());
    std::string refusal;
    auto refuse = [&](size_t line, const std::string& why) {
        refusal = "line " + std::to_string(line) + ": " + why;
    };
    if (list_.kind == CNameList::Kind::kNames) {
        if (list_.entries.size() != rows.size()) {
            return Usage("the list \"" + listShown_ + "\" has " + Count(list_.entries.size(), "name", "names") +
                         " for " + Count(rows.size(), "item", "items") + "; nothing was renamed");
        }
        for (size_t i = 0; i < rows.size(); ++i)
            if (list_.entries[i].name != rows[i].item->name())
                choices.SetName(CMainDlgModel::RowPath(rows[i]), list_.entries[i].name);
    } else {
        // Each item by its path, or by its name where only one item has it:
        // one flat table of the names, each with the rows of that name
        // chained, which a million rows fill without a million nodes.
        constexpr uint32_t kNone = UINT32_MAX;
        size_t slots = 16;
        while (slots < rows.size() * 2) slots *= 2;
        std::vector<uint32_t> table(slots, kNone), next(rows.size(), kNone);
        const std::hash<std::string_view> hash;
        auto slotOf = [&](std::string_view name) {
            size_t at = hash(name) & (slots - 1);
            while (table[at] != kNone && rows[table[at]].item->name() != name) at = (at + 1) & (slots - 1);
            return at;
        };
        for (size_t i = rows.size(); i-- > 0;) {
            const size_t at = slotOf(rows[i].item->name());
            next[i] = table[at];
            table[at] = static_cast<uint32_t>(i);
        }
        std::vector<uint32_t> namedOn(rows.size(), 0);  // the line that named each row
        size_t unknown = 0;
        for (const auto& entry : list_.entries) {
            uint32_t row = kNone;
            if (list_.kind == CNameList::Kind::kPlan || HasSeparator(entry.old)) {
                const std::string full = list_.kind == CNameList::Kind::kPlan ? entry.old : platform::FullPathName(entry.old);
                const auto sep = full.find_last_of(platform::kPathSeparator);
                const std::string_view folder = std::string_view(full).substr(0, sep == std::string::npos ? 0 : sep);
                for (uint32_t r = table[slotOf(std::string_view(full).substr(sep + 1))]; r != kNone; r = next[r])
                    if (rows[r].item->folder() == folder) row = r;
            } else {
                row = table[slotOf(entry.old)];
                if (row != kNone && next[row] != kNone) {
                    refuse(entry.line, "\"" + DisplayName(entry.old) +
                                           "\" is the name of several items: give the path of the one meant");
                    break;
                }
            }
            const bool found = row != kNone;
            if (!found) {
                if (++unknown <= 10)
                    terminal_.Write("quorlin: line " + std::to_string(entry.line) + ": \"" + DisplayName(entry.old) +
                                    "\" is none of the items; passed over\n");
                continue;
            }
            if (namedOn[row] != 0) {
                refuse(entry.line, "\"" + DisplayName(entry.old) + "\" was named on line " +
                                       std::to_string(namedOn[row]) + " already");
                break;
            }
            namedOn[row] = static_cast<uint32_t>(entry.line);
            const CFileDescriptor& item = *rows[row].item;
            std::string name = entry.name;
            if (HasSeparator(name)) {
                // A path for a new name is taken where it leads to the
                // item's own folder; a rename never moves an item.
                const std::string full = platform::FullPathName(name);
                const auto sep = full.find_last_of(platform::kPathSeparator);
                if (sep == std::string::npos || full.compare(0, sep, item.folder()) != 0 || sep != item.folder().size()) {
                    refuse(entry.line, "\"" + DisplayName(entry.name) + "\" would move \"" + DisplayName(item.name()) +
                                           "\" to another folder; a rename keeps each item in its folder");
                    break;
                }
                name = full.substr(sep + 1);
            }
            if (name != item.name()) choices.SetName(CMainDlgModel::RowPath(rows[row]), name);
        }
        if (unknown > 10) terminal_.Write("quorlin: and " + GroupedNumber(unknown - 10) + " more that are none\n");
        passedOver_ = unknown > 0;
    }
    if (!refusal.empty()) return Usage("the list \"" + listShown_ + "\", " + refusal + "; nothing was renamed");
    model.SetChoices(std::move(choices));
    // The run needs the choices alone: a list of a million lines is let go.
    list_ = {};
    return -1;
}

int Session::Edit(CMainDlgModel& model, CTerminalPrompts& prompts) {
    const CPreview& rows = ReadItems(model, "names edited in an editor");
    if (rows.empty()) {
        Out("nothing to edit: no item is taken (see --files and --folders)\n");
        return kExitDone;
    }
    std::string text;
    for (const auto& row : rows) {
        const std::string& name = row.item->name();
        if (name.find('\n') != std::string::npos || name.find('\r') != std::string::npos)
            return Usage("\"" + DisplayName(name) + "\" has a line break in its name, which one name a line cannot "
                         "hold; nothing was renamed");
        text += name;
        text += '\n';
    }
    std::string file;
    if (const uint32_t code = platform::WriteTempFile("quorlin-names-", ".txt", text, file)) {
        terminal_.Write("quorlin: cannot write the names for the editor: " + platform::ErrorMessage(code) + "\n");
        return kExitIncomplete;
    }
    const std::string kept = "; the names are kept in " + DisplayName(file) + "\n";
    const std::string editor = platform::ChosenEditor();
    const int status = platform::RunEditor(editor, file);
    if (status != 0) {
        terminal_.Write("quorlin: the editor \"" + DisplayName(editor) + "\" " +
                        (status < 0 ? std::string("could not run or was stopped")
                                    : "ended with status " + std::to_string(status)) +
                        "; nothing was renamed" + kept);
        return kExitIncomplete;
    }
    std::string edited;
    {
        uint32_t code = 0;
        auto stream = platform::RealFileSystem().OpenRead(file, code);
        if (!stream) {
            terminal_.Write("quorlin: cannot read the edited names: " + platform::ErrorMessage(code) +
                            "; nothing was renamed" + kept);
            return kExitIncomplete;
        }
        char buffer[65536];
        for (size_t n; (n = stream->Read(buffer, sizeof buffer)) > 0;) edited.append(buffer, n);
    }
    CNameList names;
    std::string error;
    if (!ReadNames(edited, names, error)) {
        terminal_.Write("quorlin: " + error + "; nothing was renamed" + kept);
        return kExitUsage;
    }
    if (names.entries.size() != rows.size()) {
        terminal_.Write("quorlin: the edited names are " + GroupedNumber(names.entries.size()) + " lines for " +
                        Count(rows.size(), "item", "items") + " (one name a line, none added or taken away)" +
                        "; nothing was renamed" + kept);
        return kExitUsage;
    }
    CItemChoices choices;
    for (size_t i = 0; i < rows.size(); ++i)
        if (names.entries[i].name != rows[i].item->name())
            choices.SetName(CMainDlgModel::RowPath(rows[i]), names.entries[i].name);
    if (choices.empty()) {
        (void)platform::RealFileSystem().RemoveFile(file);
        Out("no name was changed; nothing was renamed\n");
        return kExitDone;
    }
    model.SetChoices(std::move(choices));
    // The checked preview of what changed, before anything is renamed.
    const int previewed = Preview(model, prompts);
    if (interactive_ && !command_.yes) {
        terminal_.Write("Rename " + Count(model.counts().renamed + model.counts().conflicts, "item", "items") +
                        " as shown? [y/N] ");
        std::string answer;
        if (!terminal_.ReadLine(answer) || (answer != "y" && answer != "Y" && answer != "yes")) {
            terminal_.Write("quorlin: nothing was renamed" + kept);
            return kExitDone;
        }
    }
    (void)previewed;
    const int code = Rename(model, prompts);
    if (code == kExitDone)
        (void)platform::RealFileSystem().RemoveFile(file);
    else
        terminal_.Write("quorlin: not every name went through" + kept);
    return code;
}

void Session::WritePlan(CMainDlgModel& model) {
    platform::IFileSystem& fs = platform::RealFileSystem();
    std::string out, path;
    for (const auto& row : model.rows()) {
        if (KeepsName(row.status) && !command_.all) continue;
        row.item->CopyPathTo(path);
        platform::Attributes attrs;
        platform::FileTimes times;
        const bool known = fs.GetAttributes(path, attrs) == 0;
        const bool timed = known && !attrs.isFolder() && fs.GetTimes(path, times) == 0;
        out += PlanLine(path, row.newName, StatusWord(row.status), row.item->isFolder() ? "folder" : "file",
                        known && !attrs.isFolder() ? std::optional<uint64_t>(attrs.size) : std::nullopt,
                        timed ? std::optional<int64_t>(times.modification) : std::nullopt);
        if (out.size() > (1 << 16)) {
            Out(out);
            out.clear();
        }
    }
    Out(out);
}

int Session::SaveList(CMainDlgModel& model, CTerminalPrompts& prompts, const std::string& listFile) {
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
    ClearStatus();
    if (prompts.failed() || finish != CFinish::kDone) return kExitIncomplete;
    const std::string line = "listed " + Count(model.listed(), "item", "items");
    if (listFile.empty())
        terminal_.Write("quorlin: " + line + "\n");  // the list itself has standard output
    else
        Out(line + " in " + DisplayName(listFile) + "\n");
    return kExitDone;
}

int Session::Preview(CMainDlgModel& model, CTerminalPrompts& prompts) {
    const CConflictPolicy policy = Policy();
    model.SetRememberListings(false);
    // The names the run will give: a run that numbers taken names shows
    // them numbered.
    model.SetPreviewNumbering(policy == CConflictPolicy::kNumber);
    // The benchmark compares the marked preview with the names alone.
    const char* unchecked = std::getenv("QUORLIN_UNCHECKED_PREVIEW");
    if (unchecked && *unchecked) model.SetCheckPreview(false);
    if (!model.RefreshPreview()) return NoOperation(model);
    ClearStatus();
    const CPreview& rows = model.rows();
    // A run that stops at the first conflict renames nothing after it.
    size_t reached = rows.size();
    if (policy == CConflictPolicy::kStop)
        for (size_t i = 0; i < rows.size(); ++i)
            if (IsConflict(rows[i].status)) {
                reached = i + 1;
                break;
            }
    if (command_.json) {
        // Standard output holds the plan alone.
        WritePlan(model);
        terminal_.Write("quorlin: " + PreviewSummary(model.counts()));
    } else if (reached == rows.size()) {
        WritePreviewTable(rows, typed_.shown(), {command_.all, Colour()}, Out);
        Out(PreviewSummary(model.counts()));
    } else {
        const CPreview shown(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(reached));
        WritePreviewTable(shown, typed_.shown(), {command_.all, Colour()}, Out);
        std::string summary = PreviewSummary(CountRows(shown));
        summary.insert(summary.size() - 1, "; the run stops there, " +
                                               Count(rows.size() - reached, "item", "items") + " not reached");
        Out(summary);
    }
    // Why some names stay as they are (a file without the tags a template
    // needs), where the action can tell.
    if (!model.previewProblem().empty()) terminal_.Write("quorlin: " + model.previewProblem() + "\n");
    return prompts.failed() || model.counts().conflicts || passedOver_ ? kExitIncomplete : kExitDone;
}

int Session::Rename(CMainDlgModel& model, CTerminalPrompts& prompts) {
    // The benchmark's baseline: the same run without its journal, to tell
    // what the journal costs. Nothing else turns it off.
    const char* noJournal = std::getenv("QUORLIN_NO_JOURNAL_FOR_BENCHMARK");
    if (noJournal && *noJournal) model.SetJournaling(false);
    // Where someone answers, each question says how far the run has got:
    // which of the renames to come it is about.
    std::function<void(const CPreview&)> arranged;
    if (interactive_)
        arranged = [&](const CPreview& rows) {
            std::unordered_map<std::string, size_t> positions;
            std::string path;
            for (const auto& row : rows) {
                row.item->CopyPathTo(path);
                positions.emplace(path, positions.size() + 1);
            }
            const size_t total = positions.size();
            prompts.SetPositions(std::move(positions), total);
        };
    const CFinish finish = model.Ok(arranged);
    if (finish == CFinish::kNoOperation) return NoOperation(model);
    ClearStatus();
    const CRunResult& result = model.lastRun();
    if (finish == CFinish::kJournalFailed) terminal_.Write(JournalFailure(model, "run", result.renamed));
    std::string summary = "renamed " + GroupedNumber(result.renamed) + ", skipped " + GroupedNumber(result.skipped) +
                          ", failed " + GroupedNumber(result.failed);
    if (result.stopped) summary += "; stopped before the end";
    Out(summary + "\n");
    // A skip the person chose is done as asked; one nobody chose is not.
    return result.failed || prompts.unchosen() || prompts.inputEnded() || result.journalFailed() || passedOver_
               ? kExitIncomplete
               : kExitDone;
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
            platform::WriteText(platform::StandardStream::kError, "quorlin: " + message + "\n");
            return kExitUsage;
        case CParsed::kRun:
            break;
    }
    return Session(command).Run();
}
