#include "cli/Quorlin.h"

#include <random>

#include "cli/Arguments.h"
#include "cli/Output.h"
#include "cli/Progress.h"
#include "cli/Terminal.h"
#include "cli/TerminalPrompts.h"
#include "dialog/ControlTexts.h"
#include "dialog/MainDlgModel.h"
#include "dialog/SettingsStore.h"
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

void Out(std::string_view text) {
    platform::writeText(platform::StandardStream::kOutput, text);
}

class Session {
public:
    explicit Session(const CCommandLine& command) : command_(command) {}

    int Run();

private:
    int Usage(const std::string& reason) {
        terminal_.Write("quorlin: " + reason + "\n");
        return kExitUsage;
    }
    int NoOperation(const CMainDlgModel& model);
    bool ResolvePaths(std::string& error);
    bool Configure(CMainDlgModel& model, std::string& error);

    const CCommandLine& command_;
    CSystemTerminal terminal_;
    std::vector<std::string> paths_;
};

bool Session::ResolvePaths(std::string& error) {
    for (const auto& given : command_.paths) {
        const std::string full = platform::fullPathName(given);
        if (full.empty()) {
            error = "cannot tell where \"" + DisplayName(given) + "\" is: the current folder cannot be read";
            return false;
        }
        platform::Attributes attrs;
        const uint32_t code = platform::realFileSystem().getAttributes(full, attrs);
        if (code != platform::kErrorSuccess) {
            error = "\"" + DisplayName(given) + "\": " + platform::errorMessage(code);
            return false;
        }
        const char last = full.back();
        if (last == '/' || last == '\\' || last == ':') {
            error = "\"" + DisplayName(given) + "\" is the root of a file system, which cannot be renamed";
            return false;
        }
        paths_.push_back(full);
    }
    return true;
}

bool Session::Configure(CMainDlgModel& model, std::string& error) {
    if (command_.scope) {
        const auto scope = ParseScope(*command_.scope);
        if (!scope) {
            error = "unknown scope \"" + *command_.scope + "\" (see quorlin --actions)";
            return false;
        }
        model.SetScope(*scope);
    }
    if (command_.action) {
        const std::string text = FindActionText(*command_.action);
        if (text.empty()) {
            error = "unknown action \"" + *command_.action + "\" (see quorlin --actions)";
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
            error = "unknown sorting order \"" + *command_.sort + "\" (see quorlin --actions)";
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

int Session::NoOperation(const CMainDlgModel& model) {
    const std::string action = model.activePanel()->actionName();
    const auto missing = MissingValues(model);
    if (missing.empty()) return Usage("\"" + action + "\" has nothing to do with these values (see quorlin --actions)");
    std::string names;
    for (size_t i = 0; i < missing.size(); ++i)
        names += (i == 0 ? "" : (i + 1 == missing.size() ? " or " : ", ")) + ("\"" + missing[i] + "\"");
    return Usage("\"" + action + "\" needs a value for " + names + " (--set NAME=VALUE)");
}

int Session::Run() {
    if (command_.actions) {
        CSettingsStore store(CSettingsStore::kDialogSubKey, std::unique_ptr<platform::ISettingsBackend>());
        CMainDlgModel model({}, store, 0);
        Out(DescribeActions(model));
        return kExitDone;
    }
    if (command_.paths.empty()) return Usage("no files or folders given (see quorlin --help)");
    if (command_.preview && command_.saveList) return Usage("--preview and --save-list do not go together");
    std::string error;
    if (!ResolvePaths(error)) return Usage(error);

    const bool interactive = platform::isTerminal(platform::StandardStream::kInput) &&
                             platform::isTerminal(platform::StandardStream::kError);
    CConflictPolicy policy = interactive ? CConflictPolicy::kAsk : CConflictPolicy::kSkip;
    if (command_.onConflict == "skip") policy = CConflictPolicy::kSkip;
    if (command_.onConflict == "number") policy = CConflictPolicy::kNumber;
    if (command_.onConflict == "stop") policy = CConflictPolicy::kStop;

    std::unique_ptr<CSettingsStore> store;
    if (command_.preview)
        store = std::make_unique<CSettingsStore>(CSettingsStore::kDialogSubKey,
                                                 std::make_unique<ReadOnlySettings>(platform::openSettings(
                                                     CSettingsStore::kDialogSubKey, command_.settings)));
    else
        store = std::make_unique<CSettingsStore>(CSettingsStore::kDialogSubKey, command_.settings);

    std::random_device device;
    const uint64_t seed = (static_cast<uint64_t>(device()) << 32) ^ device();
    CMainDlgModel model(paths_, *store, seed);
    if (!Configure(model, error)) return Usage(error);

    std::unique_ptr<CStatusLine> status;
    if (platform::isTerminal(platform::StandardStream::kError)) status = std::make_unique<CStatusLine>(terminal_);
    CProgressFileSystem fs(platform::realFileSystem(), status.get());
    // The prompts ask only where someone can answer: conflicts follow the
    // policy when one was given, confirmations always need the terminal.
    CTerminalPrompts prompts(terminal_, interactive ? CConflictPolicy::kAsk : policy, status.get());
    CTerminalPrompts conflicts(terminal_, policy, status.get());
    model.SetFileSystem(fs);

    if (command_.preview) {
        model.SetPrompts(conflicts);
        model.SetRememberListings(false);
        if (!model.RefreshPreview()) return NoOperation(model);
        if (status) status->Clear();
        WritePreviewTable(model.rows(), Out);
        return conflicts.failed() ? kExitIncomplete : kExitDone;
    }

    if (command_.saveList) {
        const std::string file = platform::fullPathName(*command_.saveList);
        model.SetPrompts(conflicts);
        const CFinish finish = model.SaveFileList([&](std::string& name) {
            name = file;
            return true;
        });
        if (finish == CFinish::kNoOperation) return NoOperation(model);
        if (status) status->Clear();
        if (conflicts.failed() || finish == CFinish::kStopped) return kExitIncomplete;
        Out("listed " + std::to_string(fs.listed()) + " items in " + DisplayName(file) + "\n");
        return kExitDone;
    }

    if (model.options().confirm && !interactive)
        return Usage("confirming each rename needs a terminal; add --no-confirm");
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
    const CFinish finish = model.Ok();
    if (finish == CFinish::kNoOperation) return NoOperation(model);
    if (status) status->Clear();
    const int skipped = prompts.skipped() + conflicts.skipped();
    const int failed = prompts.failed() + conflicts.failed();
    std::string summary = "renamed " + std::to_string(fs.renamed()) + ", skipped " + std::to_string(skipped) +
                          ", failed " + std::to_string(failed);
    if (finish == CFinish::kStopped) summary += "; stopped before the end";
    Out(summary + "\n");
    return skipped || failed || finish == CFinish::kStopped ? kExitIncomplete : kExitDone;
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
