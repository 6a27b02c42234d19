#pragma once

#include <string>

#include "core/Prompts.h"

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
/// what it left undone. Counts what was skipped and what failed.
class CTerminalPrompts final : public IPrompts {
public:
    /// `status` (may be null) is cleared before each message.
    CTerminalPrompts(CTerminal& terminal, CConflictPolicy policy, CStatusLine* status = nullptr);

    int Confirm(CNameRequest& request) override;
    int Duplicate(CNameRequest& request) override;
    int Illegal(CNameRequest& request) override;
    int TooLong(CNameRequest& request) override;
    int DefaultError(CErrorReport& report) override;

    /// Items the user or the policy left with their names.
    int skipped() const { return skipped_; }
    /// Items that could not be read or renamed, and list files not written.
    int failed() const { return failed_; }

private:
    struct Choice;
    int Ask(const char* caption, const char* headline, CNameRequest& request, const Choice* choices, size_t count);
    int Decide(const char* problem, CNameRequest& request, bool numbered);
    int Counted(int answer);
    void Say(const std::string& text);

    CTerminal& terminal_;
    CConflictPolicy policy_;
    CStatusLine* status_;
    int skipped_ = 0;
    int failed_ = 0;
};
