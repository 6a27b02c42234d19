#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// The codes with which the Confirm and error dialogs end.
enum DialogAnswer : int {
    kAnswerClosed = 2,  ///< Escape or the close box: treated as Skip
    kAnswerRenameAll = 1011,
    kAnswerSkipAll = 1012,
    kAnswerSkip = 1013,
    kAnswerRename = 1014,
    kAnswerAddNumber = 1017,
    /// The error dialog's "Try again", offered for an item another program
    /// holds open: the same rename is tried once more.
    kAnswerTryAgain = 1019,
};

/// What the four name dialogs (Confirm, Duplicate, Illegal, Too long) show.
/// `newName` is editable: an answer that reads the edit leaves the edited text
/// here; the others leave it as it was filled.
struct CNameRequest {
    std::string oldName;
    std::string computed;
    std::string newName;
    /// Confirm only: the part to preselect in New name (manual rename).
    std::string highlight;
    int highlightStart = 0;
    int highlightSpan = 0;
};

/// What the default error dialog shows.
struct CErrorReport {
    std::string title;
    std::string headline;
    std::string fileName;
    uint32_t errorCode = 0;
    std::string explanation;
    /// The programs that hold the item open, as the system names them
    /// ("Notepad (pid 4242)"); empty when it cannot tell.
    std::vector<std::string> holders;
    /// Whether "Try again" is offered: the item is in use, and may be free
    /// once the programs let it go.
    bool canRetry = false;
};

/// How the rename run asks the user. The run never opens a window itself: the
/// Win32 dialogs, the terminal front end and the tests each implement this.
class IPrompts {
public:
    virtual ~IPrompts() = default;
    virtual int Confirm(CNameRequest& request) = 0;
    virtual int Duplicate(CNameRequest& request) = 0;
    virtual int Illegal(CNameRequest& request) = 0;
    virtual int TooLong(CNameRequest& request) = 0;
    virtual int DefaultError(CErrorReport& report) = 0;
};

/// Prompts that skip whatever needs an answer: what a run asks until a front
/// end gives its own, so that a forgotten setPrompts cannot rename anything
/// unasked.
IPrompts& SkippingPrompts();
