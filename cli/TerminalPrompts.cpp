#include "cli/TerminalPrompts.h"

#include <cctype>

#include "cli/Output.h"
#include "cli/Terminal.h"
#include "platform/FileSystem.h"

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

bool IsSkip(int answer) {
    return answer == kAnswerSkip || answer == kAnswerSkipAll || answer == kAnswerClosed;
}

}  // namespace

CTerminalPrompts::CTerminalPrompts(CTerminal& terminal, CConflictPolicy policy, CStatusLine* status,
                                   bool confirmOnTerminal)
    : terminal_(terminal), policy_(policy), status_(status), confirmOnTerminal_(confirmOnTerminal) {}

void CTerminalPrompts::Say(const std::string& text) {
    if (status_) status_->Clear();
    terminal_.Write(text);
}

std::string CTerminalPrompts::Shown(const std::string& path) const {
    return paths_ ? paths_->Show(path) : DisplayName(path);
}

std::string CTerminalPrompts::Position(const std::string& path) const {
    const auto it = positions_.find(path);
    if (it == positions_.end()) return {};
    return std::to_string(it->second) + " of " + std::to_string(total_) + ": ";
}

int CTerminalPrompts::Counted(int answer, bool chosen) {
    if (IsSkip(answer)) {
        ++skipped_;
        if (!chosen) ++unchosen_;
    }
    return answer;
}

// The input ended: nobody is there to answer the questions still to come,
// so the run stops here rather than skipping item after item unasked.
int CTerminalPrompts::Ended(CNameRequest& request, const std::string& filled) {
    Say("\n");
    inputEnded_ = true;
    request.newName = filled;
    return Counted(kAnswerSkipAll, false);
}

// The first choice is the default button, taken by an empty answer; a
// question about a name that cannot be used takes Skip instead until the
// name is edited, so that Enter never asks the same question again.
int CTerminalPrompts::Ask(const char* caption, const char* headline, CNameRequest& request, const Choice* choices,
                          size_t count, Kind kind, bool existing) {
    std::string text =
        Position(request.oldName) + caption + ": " + headline + "\n  Old name: " + Shown(request.oldName) + "\n";
    if (existing) {
        // The item in the way, beside the one being renamed.
        const auto sep = request.oldName.find_last_of(platform::kPathSeparator);
        const std::string folder = sep == std::string::npos ? std::string() : request.oldName.substr(0, sep + 1);
        text += "  Existing: " + Shown(folder + request.newName) + "\n";
    }
    text += "  Computed: " + DisplayName(request.computed) + "\n";
    Say(text);
    const std::string filled = request.newName;
    std::string edited = filled;
    size_t skip = 0;
    for (size_t i = 0; i < count; ++i)
        if (choices[i].answer == kAnswerSkip) skip = i;
    for (;;) {
        const bool unusable = kind != Kind::kConfirm && edited == filled;
        const size_t fallback = unusable ? skip : 0;
        std::string menu;
        for (size_t i = 0; i < count; ++i)
            menu += std::string(i ? ", " : "") + choices[i].label + " (" + choices[i].key +
                    (i == fallback ? ", Enter" : "") + ")";
        menu += ", edit the new name (e)? ";
        Say("  New name: " + DisplayName(edited) + "\n" + menu);
        std::string line;
        if (!terminal_.ReadLine(line)) return Ended(request, filled);
        const std::string answer = Trimmed(line);
        if (answer == "e" || answer == "E") {
            std::string typed;
            if (!terminal_.EditLine("  New name: ", edited, typed)) return Ended(request, filled);
            if (!typed.empty()) edited = typed;
            continue;
        }
        const Choice* chosen = nullptr;
        if (answer.empty()) chosen = &choices[fallback];
        for (size_t i = 0; i < count && !chosen; ++i)
            if (answer.size() == 1 && std::tolower(static_cast<unsigned char>(answer[0])) == choices[i].key)
                chosen = &choices[i];
        if (!chosen) {
            Say("  Please answer with one of the letters shown.\n");
            continue;
        }
        if (unusable && chosen->readsName) {
            Say(kind == Kind::kTooLong
                    ? "  That name cannot be used here: edit it first (e), or choose another answer.\n"
                    : "  That name cannot be used: edit it first (e), or choose another answer.\n");
            continue;
        }
        request.newName = chosen->readsName ? edited : filled;
        return Counted(chosen->answer, true);
    }
}

int CTerminalPrompts::Decide(const char* problem, CNameRequest& request, bool numbered) {
    const std::string what = "\"" + Shown(request.oldName) + "\": " + Quoted(request.newName) + " " + problem;
    switch (policy_) {
        case CConflictPolicy::kNumber:
            if (numbered) {
                Say("quorlin: " + what + "; adding a number\n");
                return kAnswerAddNumber;
            }
            break;
        case CConflictPolicy::kStop:
            Say("quorlin: stopped at " + what + "\n");
            return Counted(kAnswerSkipAll, false);
        default:
            break;
    }
    Say("quorlin: skipped " + what + "\n");
    return Counted(kAnswerSkip, false);
}

int CTerminalPrompts::Confirm(CNameRequest& request) {
    static const Choice choices[] = {{'r', "Rename", kAnswerRename, true},
                                     {'a', "Rename all", kAnswerRenameAll, true},
                                     {'s', "Skip", kAnswerSkip, false},
                                     {'q', "Skip all", kAnswerSkipAll, false}};
    if (!confirmOnTerminal_) {
        // Nobody is there to confirm: nothing is renamed unconfirmed.
        Say("quorlin: skipped \"" + Shown(request.oldName) + "\": no terminal to confirm the rename\n");
        return Counted(kAnswerSkip, false);
    }
    return Ask("Confirm", "Please confirm that you want to rename this file.", request, choices, std::size(choices),
               Kind::kConfirm, false);
}

int CTerminalPrompts::Duplicate(CNameRequest& request) {
    static const Choice choices[] = {{'r', "Rename", kAnswerRename, true},
                                     {'n', "Add number and rename", kAnswerAddNumber, false},
                                     {'s', "Skip", kAnswerSkip, false},
                                     {'q', "Skip all", kAnswerSkipAll, false}};
    if (policy_ != CConflictPolicy::kAsk) return Decide("already exists", request, true);
    return Ask("Duplicate file name", "A file of the same name already exists.", request, choices, std::size(choices),
               Kind::kConflict, true);
}

int CTerminalPrompts::Illegal(CNameRequest& request) {
    static const Choice choices[] = {{'r', "Rename", kAnswerRename, true},
                                     {'a', "Rename all", kAnswerRenameAll, true},
                                     {'s', "Skip", kAnswerSkip, false},
                                     {'q', "Skip all", kAnswerSkipAll, false}};
    if (policy_ != CConflictPolicy::kAsk) return Decide("is not a valid file name", request, false);
    return Ask("Bad file name", "The new name for the file is illegal.", request, choices, std::size(choices),
               Kind::kConflict, false);
}

int CTerminalPrompts::TooLong(CNameRequest& request) {
    static const Choice choices[] = {{'r', "Rename", kAnswerRename, true},
                                     {'s', "Skip", kAnswerSkip, false},
                                     {'q', "Skip all", kAnswerSkipAll, false}};
    if (policy_ != CConflictPolicy::kAsk) return Decide("is too long, or its folder is gone", request, false);
    return Ask("File name too long", "The new file name is too long.", request, choices, std::size(choices),
               Kind::kTooLong, false);
}

int CTerminalPrompts::DefaultError(CErrorReport& report) {
    std::string line = "quorlin: " + report.title + ": " + Shown(report.fileName) + ": " + report.explanation;
#ifdef _WIN32
    // The code is the one a Windows user can look up; POSIX users read the
    // system's own words.
    line += " (error " + std::to_string(report.errorCode) + ")";
#endif
    for (size_t i = 0; i < report.holders.size(); ++i)
        line += (i == 0 ? "; in use by " : ", ") + report.holders[i];
    Say(line + "\n");
    if (policy_ == CConflictPolicy::kStop || policy_ != CConflictPolicy::kAsk) {
        ++failed_;
        return policy_ == CConflictPolicy::kStop ? kAnswerSkipAll : kAnswerSkip;
    }
    for (;;) {
        Say(report.canRetry ? "  Try again (t), Skip (s, Enter), Skip all (q)? " : "  Skip (s, Enter), Skip all (q)? ");
        std::string typed;
        if (!terminal_.ReadLine(typed)) {
            Say("\n");
            inputEnded_ = true;
            ++failed_;
            return kAnswerSkipAll;
        }
        const std::string answer = Trimmed(typed);
        if (report.canRetry && (answer == "t" || answer == "T")) return kAnswerTryAgain;
        if (answer.empty() || answer == "s" || answer == "S" || answer == "q" || answer == "Q") {
            ++failed_;
            return answer == "q" || answer == "Q" ? kAnswerSkipAll : kAnswerSkip;
        }
        Say("  Please answer with one of the letters shown.\n");
    }
}
