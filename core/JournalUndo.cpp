#include "core/JournalUndo.h"

#include <algorithm>

#include "core/Words.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace {

bool Missing(uint32_t code) {
    return code == platform::kErrorFileNotFound || code == platform::kErrorPathNotFound;
}

class Undo {
public:
    Undo(const CJournalRun& run, platform::IFileSystem& fs, IPrompts& prompts, CRunJournal& journal,
         const std::function<void(const std::string&, const std::string&)>& moved)
        : run_(run), fs_(fs), prompts_(prompts), journal_(journal), moved_(moved) {}

    CUndoResult Run() {
        std::vector<const CJournalItem*> candidates;
        for (auto it = run_.items.rbegin(); it != run_.items.rend(); ++it)
            if (it->state != CItemState::kNotRenamed) candidates.push_back(&*it);
        // As a run does: the renames of a batch are announced with one flush.
        size_t batchSize = kJournalFirstBatch;
        std::vector<Step> batch;
        for (size_t next = 0; next < candidates.size() && !result_.stopped;) {
            batch.clear();
            for (; next < candidates.size() && batch.size() < batchSize; ++next) {
                const CJournalItem& item = *candidates[next];
                // The journal is read, not trusted: a name that would take the
                // item to another folder is refused as a run refuses it.
                if (platform::CheckFileName(item.oldName) || platform::CheckFileName(item.newName)) {
                    Note(run_.NewPath(item), "the journal gives it a name that is no single file name");
                    continue;
                }
                const uint32_t number = journal_.Reserve();
                journal_.Intend(number, run_.folders[item.folder], item.newName, item.oldName, item.isFolder);
                batch.push_back({&item, number});
            }
            if (!journal_.Secure()) {
                result_.journalFailed = result_.stopped = true;
                break;
            }
            for (const Step& step : batch) {
                if (result_.stopped) break;
                const uint32_t code = Back(*step.item);
                if (code) journal_.NotDone(step.number, code);
                journal_.Settled(step.number);
            }
            batchSize = std::min(batchSize * 2, kJournalLargestBatch);
        }
        if (!journal_.End(result_.stopped) && !result_.journalFailed) result_.journalFailed = true;
        return std::move(result_);
    }

private:
    struct Step {
        const CJournalItem* item;
        uint32_t number;  ///< in the undo's own journal
    };

    bool Exists(const std::string& path) {
        platform::Attributes attrs;
        return fs_.GetAttributes(path, attrs) == platform::kErrorSuccess;
    }

    void Note(const std::string& path, std::string reason) {
        ++result_.leftAlone;
        result_.notes.push_back({path, std::move(reason)});
    }

    // Renames one item back; 0 when it was, else why not.
    uint32_t Back(const CJournalItem& item) {
        const std::string from = run_.NewPath(item);
        const std::string to = run_.OldPath(item);
        const bool unsure = item.state == CItemState::kUnsure;
        // Names that differ in case only may be one entry: only the rename
        // can tell.
        const bool caseOnly = text::CompareNoCase(item.oldName, item.newName) == 0;
        // Cut short before its rename: the item is still under its old name.
        if (unsure && !caseOnly && Exists(to)) return platform::kErrorAlreadyExists;
        platform::Attributes attrs;
        uint32_t code = fs_.GetAttributes(from, attrs);
        if (Missing(code)) {
            // Cut short before its rename: under its old name, or in a folder
            // whose own rename the run never got to (a run that renames
            // folders before what they hold announces the contents under
            // the folder's new name).
            if (unsure && (code == platform::kErrorPathNotFound || Exists(to))) return code;
            Note(from, "not found under the name the run gave it: moved, renamed or deleted since");
            return code;
        }
        if (code == platform::kErrorSuccess && attrs.isFolder() != item.isFolder) {
            Note(from, item.isFolder ? "a file now, where the run renamed a folder"
                                     : "a folder now, where the run renamed a file");
            return platform::kErrorAlreadyExists;
        }
        if (code == platform::kErrorSuccess) code = fs_.Move(run_.folders[item.folder], item.newName, item.oldName);
        if (code == platform::kErrorSuccess) {
            ++result_.renamedBack;
            if (moved_) moved_(from, to);
            return code;
        }
        if (code == platform::kErrorAlreadyExists) {
            Note(from, "its old name \"" + item.oldName + "\" is taken");
            return code;
        }
        ++result_.failed;
        CErrorReport report;
        report.title = "Cannot rename";
        report.headline = "The item cannot be renamed back.";
        report.fileName = from;
        report.errorCode = code;
        report.explanation = platform::ErrorMessage(code);
        const int answer = prompts_.DefaultError(report);
        fs_.Paused();
        if (answer == kAnswerSkipAll) result_.stopped = true;
        return code;
    }

    const CJournalRun& run_;
    platform::IFileSystem& fs_;
    IPrompts& prompts_;
    CRunJournal& journal_;
    const std::function<void(const std::string&, const std::string&)>& moved_;
    CUndoResult result_;
};

}  // namespace

std::string UndoSummary(const CUndoResult& result) {
    std::string out = "renamed back " + GroupedNumber(result.renamedBack) + ", left alone " +
                      GroupedNumber(result.leftAlone) + ", failed " + GroupedNumber(result.failed);
    if (result.stopped) out += "; stopped before the end";
    return out;
}

size_t UndoCount(const CJournalRun& run) {
    return run.renamed + run.unsure;
}

CUndoResult UndoRun(const CJournalRun& run, platform::IFileSystem& fs, IPrompts& prompts, CRunJournal& journal,
                    const std::function<void(const std::string& from, const std::string& to)>& moved) {
    return Undo(run, fs, prompts, journal, moved).Run();
}
