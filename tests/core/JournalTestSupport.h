#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/Execute.h"
#include "core/Journal.h"
#include "core/JournalUndo.h"
#include "core/RenameRun.h"
#include "platform/FileSystem.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"

namespace journal_test {

using Snap = std::set<std::string>;
using testing_support::FaultyFileSystem;
using testing_support::ScriptedPrompts;
using testing_support::TempDir;

/// Puts `prefix` before each name, or gives the names in `fixed` their own
/// part: enough to make chains, conflicts and folders renamed after their
/// contents.
class PrefixExecute : public CExecute {
public:
    PrefixExecute(std::string prefix, const CRunOptions& options, std::map<std::string, std::string> fixed = {})
        : CExecute(options), prefix_(std::move(prefix)), fixed_(std::move(fixed)) {}
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext&) override {
        const auto it = fixed_.find(fd.name());
        return WithPart(fd, it != fixed_.end() ? it->second : prefix_ + fd.part());
    }

private:
    std::string prefix_;
    std::map<std::string, std::string> fixed_;
};

/// Whole names, each folder after its contents, in name order.
inline CRunOptions Options(bool subfolders = true, int sortOrder = 0) {
    CRunOptions o;
    o.subfolders = subfolders;
    o.scope = CFileDescriptor::kEntireName;
    o.sortOrder = sortOrder;
    o.sortEachFolder = true;
    return o;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(testing_support::U8(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(testing_support::U8(path), std::ios::binary | std::ios::trunc) << bytes;
}

/// A folder to rename in, a folder for the journals, the recording file
/// system between the run and the disk, and the script of the prompts.
struct Journaled {
    TempDir dir;
    TempDir state;
    FaultyFileSystem fs;
    ScriptedPrompts prompts;


    std::vector<std::string> Paths(const std::vector<std::string>& names) const {
        std::vector<std::string> paths;
        for (const auto& n : names) paths.push_back(dir / n);
        return paths;
    }
    /// A journaled run of `op` over `names`, as a front end makes one.
    bool Run(CExecute& op, const std::vector<std::string>& names) {
        CJournalHeader header;
        header.time = std::time(nullptr);
        header.what = "test run";
        header.where = dir.str();
        CRunJournal journal(fs, state.str(), header);
        result = CRenameRun(op.options(), fs, prompts, &journal).Run(Paths(names), op);
        journalPath = journal.path();
        return !result.stopped;
    }
    /// The journal files, newest first.
    std::vector<std::string> Files() {
        std::vector<std::string> files;
        EXPECT_EQ(ListJournals(platform::RealFileSystem(), state.str(), files), 0u);
        return files;
    }
    /// Journal `n` (1: the newest) with its items.
    CJournalRun Read(size_t n = 1) {
        CJournalRun run;
        const auto files = Files();
        if (n == 0 || files.size() < n) {
            ADD_FAILURE() << "no journal " << n;
            return run;
        }
        EXPECT_EQ(ReadJournal(platform::RealFileSystem(), files[n - 1], run), 0u);
        return run;
    }
    /// Takes `run` back, journaled as an undo.
    CUndoResult Undo(const CJournalRun& run) {
        CJournalHeader header;
        header.kind = CJournalHeader::kUndo;
        header.what = "\"test run\"";
        CRunJournal journal(fs, state.str(), header);
        return UndoRun(run, fs, prompts, journal);
    }
    /// `count` files named f0000, f0001, ... holding their own names.
    std::vector<std::string> MakeFiles(size_t count) const {
        std::vector<std::string> names;
        for (size_t i = 0; i < count; ++i) {
            std::string n = std::to_string(i);
            n = "f" + std::string(4 - std::min<size_t>(4, n.size()), '0') + n;
            dir.File(n, n);
            names.push_back(n);
        }
        return names;
    }

    std::string journalPath;
    CRunResult result;  ///< of the last Run
};

}  // namespace journal_test
