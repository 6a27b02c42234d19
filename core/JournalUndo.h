#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/Journal.h"
#include "core/Prompts.h"

namespace platform {
class IFileSystem;
}

/// An item that taking back a run left alone, and why.
struct CUndoNote {
    std::string path;    ///< where the run left the item (its new name)
    std::string reason;  ///< one line, without the path
};

/// What taking back a run did.
struct CUndoResult {
    size_t renamedBack = 0;
    /// Items changed since the run (moved, renamed, deleted, of another
    /// kind, their old name taken): each has its note, and is left as it is.
    size_t leftAlone = 0;
    /// Items whose rename back failed for another reason, reported through
    /// the prompts.
    size_t failed = 0;
    /// Ended early: by the user ("Skip all") or because its own journal
    /// could not be written.
    bool stopped = false;
    bool journalFailed = false;
    std::vector<CUndoNote> notes;
};

/// The one line a person reads at the end: "renamed back 3, left alone 1,
/// failed 0", and "; stopped before the end" when it did.
std::string UndoSummary(const CUndoResult& result);

/// How many items taking back `run` would try to rename back: those it
/// renamed and those it may have renamed before it was cut short.
size_t UndoCount(const CJournalRun& run);

/// Takes back `run` (read with its items): renames each item it renamed back
/// to its old name, the last renamed first, through `fs`, whose renames never
/// replace anything. Each rename back is announced in `journal` before it is
/// tried, as a run's renames are, so that the undo can be taken back too.
///
/// An item is renamed back only when it is found under its new name, of the
/// kind it was, and its old name is free. Where the run was cut short and the
/// journal cannot tell whether an item was renamed, the disk tells: under its
/// new name with the old one free, it is renamed back; under its old name, it
/// was never renamed. Failures other than a changed item are reported through
/// `prompts` ("Skip all" ends the undo). `moved` (may be empty) hears of each
/// rename back as it is done, with the full paths.
CUndoResult UndoRun(const CJournalRun& run, platform::IFileSystem& fs, IPrompts& prompts, CRunJournal& journal,
                    const std::function<void(const std::string& from, const std::string& to)>& moved = {});
