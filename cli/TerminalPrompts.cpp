#include "cli/TerminalPrompts.h"

#include <cctype>

#include "cli/Output.h"
#include "cli/Terminal.h"

struct CTerminalPrompts::Choice {
    char key;
    const char* label;
    int answer;
    bool readsName;  ///< the answer takes the edited new name, as its dialog button does
};

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + DisplayName(text) + "\"";
}

std::string Trimmed(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

}  // namespace

CTerminalPrompts::CTerminalPrompts(CTerminal& terminal, CConflictPolicy policy, CStatusLine* status)
    : terminal_(terminal), policy_(policy), status_(status) {}

void CTerminalPrompts::Say(const std::string& text) {
    if (status_) status_->Clear();
    terminal_.Write(text);
}

int CTerminalPrompts::Counted(int answer) {
    if (answer == kAnswerSkip || answer == kAnswerSkipAll || answer == kAnswerClosed) ++skipped_;
    return answer;
}

// The first choice is the default button, taken by an empty answer.
int CTerminalPrompts::Ask(const char* caption, const char* headline, CNameRequest& request, const Choice* choices,
                          size_t count) {
    Say(std::string(caption) + ": " + headline + "\n  Old name: " + DisplayName(request.oldName) +
        "\n  Computed: " + DisplayName(request.computed) + "\n");
    const std::string filled = request.newName;
    std::string edited = filled;
    std::string menu;
    for (size_t i = 0; i < count; ++i)
        menu += std::string(i ? ", " : "") + choices[i].label + " (" + choices[i].key + (i ? "" : ", Enter") + ")";
    menu += ", edit the new name (e)? ";
    for (;;) {
        Say("  New name: " + DisplayName(edited) + "\n" + menu);
        std::string line;
        if (!terminal_.ReadLine(line)) {
            // The input ended: as if the dialog were closed.
            Say("\n");
            request.newName = filled;
            return Counted(kAnswerClosed);
        }
        const std::string answer = Trimmed(line);
        if (answer == "e" || answer == "E") {
            Say("  New name (Enter keeps it): ");
            std::string typed;
            if (terminal_.ReadLine(typed) && !typed.empty()) edited = typed;
            continue;
        }
        const Choice* chosen = nullptr;
        if (answer.empty()) chosen = &choices[0];
        for (size_t i = 0; i < count && !chosen; ++i)
            if (answer.size() == 1 && std::tolower(static_cast<unsigned char>(answer[0])) == choices[i].key)
                chosen = &choices[i];
        if (!chosen) {
            Say("  Please answer with one of the letters shown.\n");
            continue;
        }
        request.newName = chosen->readsName ? edited : filled;
        return Counted(chosen->answer);
    }
}

int CTerminalPrompts::Decide(const char* problem, CNameRequest& request, bool numbered) {
    const std::string what = Quoted(request.oldName) + ": " + Quoted(request.newName) + " " + problem;
    switch (policy_) {
        case CConflictPolicy::kNumber:
            if (numbered) {
                Say("quorlin: " + what + "; adding a number\n");
                return kAnswerAddNumber;
            }
            break;
        case CConflictPolicy::kStop:
            Say("quorlin: stopped at " + what + "\n");
            return Counted(kAnswerSkipAll);
        default:
            break;
    }
    Say("quorlin: skipped " + what + "\n");
    return Counted(kAnswerSkip);
}

int CTerminalPrompts::Confirm(CNameRequest& request) {
    static const Choice choices[] = {{'r', "Rename", kAnswerRename, true},
                                     {'a', "Rename all", kAnswerRenameAll, true},
                                     {'s', "Skip", kAnswerSkip, false},
                                     {'q', "Skip all", kAnswerSkipAll, false}};
    if (policy_ != CConflictPolicy::kAsk) {
        // Nobody is there to confirm: nothing is renamed unconfirmed.
        Say("quorlin: skipped " + Quoted(request.oldName) + ": no terminal to confirm the rename\n");
        return Counted(kAnswerSkip);
    }
    return Ask("Confirm", "Please confirm that you want to rename this file.", request, choices, std::size(choices));
}

int CTerminalPrompts::Duplicate(CNameRequest& request) {
    static const Choice choices[] = {{'r', "Rename", kAnswerRename, true},
                                     {'n', "Add number and rename", kAnswerAddNumber, false},
                                     {'s', "Skip", kAnswerSkip, false},
                                     {'q', "Skip all", kAnswerSkipAll, false}};
    if (policy_ != CConflictPolicy::kAsk) return Decide("already exists", request, true);
    return Ask("Duplicate file name", "A file of the same name already exists.", request, choices, std::size(choices));
}

int CTerminalPrompts::Illegal(CNameRequest& request) {
    static const Choice choices[] = {{'r', "Rename", kAnswerRename, true},
                                     {'a', "Rename all", kAnswerRenameAll, true},
                                     {'s', "Skip", kAnswerSkip, false},
                                     {'q', "Skip all", kAnswerSkipAll, false}};
    if (policy_ != CConflictPolicy::kAsk) return Decide("is not a valid file name", request, false);
    return Ask("Bad file name", "The new name for the file is illegal.", request, choices, std::size(choices));
}

int CTerminalPrompts::TooLong(CNameRequest& request) {
    static const Choice choices[] = {{'r', "Rename", kAnswerRename, true},
                                     {'s', "Skip", kAnswerSkip, false},
                                     {'q', "Skip all", kAnswerSkipAll, false}};
    if (policy_ != CConflictPolicy::kAsk) return Decide("is too long, or its folder is gone", request, false);
    return Ask("File name too long", "The new file name is too long.", request, choices, std::size(choices));
}

int CTerminalPrompts::DefaultError(CErrorReport& report) {
    ++failed_;
    Say("quorlin: " + report.title + ": " + DisplayName(report.fileName) + ": " + report.explanation + " (error " +
        std::to_string(report.errorCode) + ")\n");
    if (policy_ == CConflictPolicy::kStop) return kAnswerSkipAll;
    if (policy_ != CConflictPolicy::kAsk) return kAnswerSkip;
    for (;;) {
        Say("  Skip (s, Enter), Skip all (q)? ");
        std::string line;
        if (!terminal_.ReadLine(line)) {
            Say("\n");
            return kAnswerClosed;
        }
        const std::string answer = Trimmed(line);
        if (answer.empty() || answer == "s" || answer == "S") return kAnswerSkip;
        if (answer == "q" || answer == "Q") return kAnswerSkipAll;
        Say("  Please answer with one of the letters shown.\n");
    }
}
