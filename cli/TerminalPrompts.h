#pragma once

#include <string>
#include <unordered_map>

#include "core/Prompts.h"

class CShownPaths;
class CStatusLine;
class CTerminal;

/// What happens to a name that cannot be used, when nobody is asked.
enum class CConflictPolicy {
    kAsk,     ///< ask on the terminal
    kSkip,    ///< leave the item as it is
    kNumber,  ///< a name that is taken gets a number ("Add number and rename")
    kStop,    ///< end the run ("Skip all")
};

/// The conflict and confirmation dialogs on a terminal: the same questions
/// and the same answers, the new name editable. Decisions taken by the policy
/// are reported as one line each, so that a run without a terminal still says
/// what it left undone. Counts what was skipped, telling the skips a person
/// chose from those nobody chose, and what failed.
class CTerminalPrompts final : public IPrompts {
public:
    /// `status` (may be null) is cleared before each message. Conflicts are
    /// settled by `policy`; a rename is confirmed on the terminal when
    /// `confirmOnTerminal` (someone is there to answer), else skipped.
    CTerminalPrompts(CTerminal& terminal, CConflictPolicy policy, CStatusLine* status, bool confirmOnTerminal);
    CTerminalPrompts(CTerminal& terminal, CConflictPolicy policy, CStatusLine* status = nullptr)
        : CTerminalPrompts(terminal, policy, status, policy == CConflictPolicy::kAsk) {}

    /// Paths are shown as `paths` shows them (null: whole).
    void SetShownPaths(CShownPaths* paths) { paths_ = paths; }
    /// Each question says which of `total` renames it is about, by the
    /// position of the item's full path in `positions` (from 1).
    void SetPositions(std::unordered_map<std::string, size_t> positions, size_t total) {
        positions_ = std::move(positions);
        total_ = total;
    }

    int Confirm(CNameRequest& request) override;
    int Duplicate(CNameRequest& request) override;
    int Illegal(CNameRequest& request) override;
    int TooLong(CNameRequest& request) override;
    int DefaultError(CErrorReport& report) override;

    /// Items the user or the policy left with their names.
    int skipped() const { return skipped_; }
    /// Of those, the ones that nobody chose: decided by the policy, left
    /// when the input ended, or unconfirmed for want of a terminal.
    int unchosen() const { return unchosen_; }
    /// Items that could not be read or renamed, and list files not written.
    int failed() const { return failed_; }
    /// True once the input ended at a question: the run stopped there.
    bool inputEnded() const { return inputEnded_; }

private:
    struct Choice;
    enum class Kind { kConfirm, kConflict, kTooLong };
    int Ask(const char* caption, const char* headline, CNameRequest& request, const Choice* choices, size_t count,
            Kind kind, bool existing);
    int Decide(const char* problem, CNameRequest& request, bool numbered);
    int Counted(int answer, bool chosen);
    int Ended(CNameRequest& request, const std::string& filled);
    void Say(const std::string& text);
    std::string Shown(const std::string& path) const;
    std::string Position(const std::string& path) const;

    CTerminal& terminal_;
    CConflictPolicy policy_;
    CStatusLine* status_;
    bool confirmOnTerminal_;
    CShownPaths* paths_ = nullptr;
    std::unordered_map<std::string, size_t> positions_;
    size_t total_ = 0;
    int skipped_ = 0;
    int unchosen_ = 0;
    int failed_ = 0;
    bool inputEnded_ = false;
};
