#include "cli/Arguments.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <map>

#include "dialog/ActionCatalogue.h"
#include "dialog/ControlTexts.h"
#include "dialog/MainDlgModel.h"
#include "dialog/PanelIds.h"
#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"
#include "dialog/panels/RenameDlg.h"
#include "platform/Text.h"

#ifndef QLN_VERSION
#define QLN_VERSION "1.0.0"
#endif

namespace {

constexpr const char* kDescription =
    "Renames files and folders in one go with one of the rename actions.\n"
    "Each run names its action with --action, or repeats the last run with --last; whatever else is not\n"
    "given takes its default. A run stores what it used, for --last and for the rename dialog.\n"
    "Every run keeps a journal of its renames: --undo renames its items back, even after a crash.";

constexpr std::array<const char*, 10> kSortOrderNames = {"name",    "name-desc",    "modified", "modified-desc",
                                                         "created", "created-desc", "picture",  "picture-desc",
                                                         "random",  "number"};
constexpr std::array<const char*, 4> kScopeNames = {"entire", "name", "ext-dot", "ext"};

// What each example shows, and the command; the help, the manual page and
// the README say the same.
struct Example {
    const char* what;
    const char* command;
};
constexpr Example kExamples[] = {
    {"See what would happen, renaming nothing: IMG_0001.jpg becomes Photo 0001.jpg",
     "quorlin -p -a replace-anywhere -s find=IMG_ -s 'replace=Photo ' -c name ~/Pictures/trip"},
    {"Number the files of a folder 001, 002, ... in name order",
     "quorlin -a add-number-to-beginning -s start=1 -s digits=3 --sort name --no-folders ~/scans"},
    {"Count down by two from 100, newest first",
     "quorlin -a add-number-to-end -s start=100 -s step=-2 -c name --sort modified-desc --no-folders ."},
    {"Put a dash before the last four characters of each name",
     "quorlin -a insert-anywhere -s add=- -s addAnywhereSelection=position -s toPosition=4 "
     "-s toOrderType=end -c name ."},
    {"Lower-case every extension, asking before each rename", "quorlin -a make-lowercase -c ext --confirm ~/Downloads"},
    {"Repeat the last run on another folder", "quorlin --last ~/scans2"},
    {"List what a run would take, for another program", "quorlin --save-list - --null -a make-lowercase . | xargs -0 ls -ld"},
    {"Take the last run back, then see the runs that can still be taken back", "quorlin --undo && quorlin --history"},
};

// The radio buttons of the panels, by name rather than by control id.
const std::map<int, const char*>& RadioNames() {
    static const std::map<int, const char*> names = {
        {IDC_PANEL_TO_POSITION_RADIO, "position"}, {IDC_PANEL_TO_TEXT_RADIO, "text"},
        {IDC_PANEL_TO_COUNT_RADIO, "count"},       {IDC_PANEL_START_AT_POSITION, "position"},
        {IDC_PANEL_START_AT_TEXT, "text"},
    };
    return names;
}

// Choices whose short forms would be one and the same: the time formats
// differ in their separator (a blank or a dash) and in the case of "am/pm",
// which short forms drop. Each gets a name of its own.
const std::map<std::string_view, const char*>& OwnChoiceNames() {
    static const std::map<std::string_view, const char*> names = {
        {"HH MM (am/pm)", "blank-hh-mm-am-pm"},
        {"HH MM SS (am/pm)", "blank-hh-mm-ss-am-pm"},
        {"HH MM (AM/PM)", "blank-hh-mm-upper-am-pm"},
        {"HH MM SS (AM/PM)", "blank-hh-mm-ss-upper-am-pm"},
        {"HH MM (24 hour clock)", "blank-hh-mm-24-hour-clock"},
        {"HH MM SS (24 hour clock)", "blank-hh-mm-ss-24-hour-clock"},
        {"HH-MM (am/pm)", "dash-hh-mm-am-pm"},
        {"HH-MM-SS (am/pm)", "dash-hh-mm-ss-am-pm"},
        {"HH-MM (AM/PM)", "dash-hh-mm-upper-am-pm"},
        {"HH-MM-SS (AM/PM)", "dash-hh-mm-ss-upper-am-pm"},
        {"HH-MM (24 hour clock)", "dash-hh-mm-24-hour-clock"},
        {"HH-MM-SS (24 hour clock)", "dash-hh-mm-ss-24-hour-clock"},
    };
    return names;
}

std::optional<int> Number(std::string_view text, int count) {
    if (text.empty() || text.size() > 2) return std::nullopt;
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n >= count) return std::nullopt;
    return n;
}

// By number, by the combo's text or its short form, or by its own name.
std::optional<int> Lookup(std::string_view text, std::span<const char* const> texts, std::span<const char* const> names,
                          std::span<const std::pair<const char*, int>> aliases = {}) {
    if (auto n = Number(text, static_cast<int>(texts.size()))) return n;
    const std::string wanted = ShortForm(text);
    for (size_t i = 0; i < names.size(); ++i)
        if (wanted == names[i]) return static_cast<int>(i);
    for (const auto& [alias, value] : aliases)
        if (wanted == alias) return value;
    for (size_t i = 0; i < texts.size(); ++i)
        if (wanted == ShortForm(texts[i])) return static_cast<int>(i);
    return std::nullopt;
}

// The first line of a message from the parser.
std::string FirstLine(const std::string& s) {
    return s.substr(0, s.find('\n'));
}

// Edits between two words, a swap of neighbours counting as one.
size_t Distance(std::string_view a, std::string_view b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// True when the words of `part` (hyphen-joined) appear as whole words in `whole`.
bool HasWords(const std::string& whole, const std::string& part) {
    if (part.empty()) return false;
    const std::string w = "-" + whole + "-";
    return w.find("-" + part + "-") != std::string::npos;
}

// A value written so that a shell takes it as one word.
std::string ShellWord(const std::string& s) {
    if (!s.empty() && s.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_=./:,+") ==
                          std::string::npos)
        return s;
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Every option of the command line, bound to `command`; `extra` receives
// what needs looking at after parsing.
struct Parsing {
    std::string action, scope, sort, saveList, onConflict, undo;
    bool version = false, man = false, completion = false;
    struct Toggle {
        const char* on;
        const char* off;
        const char* help;
        std::optional<int>* target;
        CLI::Option* onOption = nullptr;
        CLI::Option* offOption = nullptr;
    };
    std::vector<Toggle> toggles;
    CLI::Option *actionOption = nullptr, *scopeOption = nullptr, *sortOption = nullptr, *saveOption = nullptr,
                *conflictOption = nullptr, *undoOption = nullptr;
};

std::string Footer() {
    std::string out = "Examples:\n";
    for (const auto& e : kExamples) out += std::string("  # ") + e.what + "\n  " + e.command + "\n";
    out += "\nSorting orders (--sort): ";
    for (size_t i = 0; i < kSortOrderNames.size(); ++i) out += (i ? ", " : "") + std::string(kSortOrderNames[i]);
    out += "\n  (see --actions for what each means; the numbers 0 to 9 are taken too)\n";
    out += "Scopes (--change): entire, name, ext-dot (extension with its dot), ext (extension without it)\n";
    out += "Choices of a value (--set) are taken by name or by number, as --actions lists them.\n";
    out +=
        "\nExit status: 0 when everything asked for was done (a skip you chose counts as done), 1 when\n"
        "something was skipped or failed, or a preview shows a conflict, 2 for bad usage.\n"
        "Environment: QUORLIN_SETTINGS, the settings file; XDG_STATE_HOME, below which the journals of the\n"
        "runs are kept (in quorlin/, the last 20 runs); NO_COLOR turns colours off.";
    return out;
}

void Define(CLI::App& app, CCommandLine& command, Parsing& p) {
    app.get_formatter()->column_width(34);
    app.footer(Footer());
    app.add_option("paths", command.paths, "Files and folders to rename (folders: with their contents)")
        ->type_name("PATH");
    p.actionOption =
        app.add_option("-a,--action", p.action, "The action, by its text (\"Replace anywhere\") or short form")
            ->type_name("ACTION");
    app.add_flag("--last", command.last, "Repeat the last run: its action, values, scope and options");
    app.add_option("-s,--set", command.values, "A value of the action by its name, as find=IMG (repeatable)")
        ->type_name("NAME=VALUE")
        ->allow_extra_args(false);
    p.scopeOption = app.add_option("-c,--change", p.scope, "What part of each name changes: entire, name, ext-dot, ext")
                        ->type_name("SCOPE");
    p.sortOption =
        app.add_option("--sort", p.sort, "The order of processing and numbering, as name-desc")->type_name("ORDER");
    p.toggles = {
        {"--files", "--no-files", "Rename files (or not); on by default", &command.files},
        {"--folders", "--no-folders", "Rename the folders themselves (or not); on by default", &command.folders},
        {"--subfolders", "--no-subfolders", "Rename the contents of folders, at every depth (or not); on by default",
         &command.subfolders},
        {"--sort-each-folder", "--no-sort-each-folder",
         "Sort and number each folder's contents on their own (or not); on by default", &command.sortFolders},
        {"--confirm", "--no-confirm", "Ask before each rename (needs a terminal); off by default", &command.confirm},
    };
    for (auto& t : p.toggles) {
        t.onOption = app.add_flag(t.on)->description(t.help);
        t.offOption = app.add_flag(t.off);
    }
    app.add_flag("-p,--preview", command.preview,
                 "Show what each item would be renamed to and what the run would meet; rename nothing");
    app.add_flag("--all", command.all, "With --preview, show the items whose names stay as they are too");
    p.saveOption =
        app.add_option("--save-list", p.saveList, "Write the paths of the items to FILE (- for standard output); rename nothing")
            ->type_name("FILE");
    app.add_flag("--force", command.force, "Let --save-list replace an existing file (never one it lists)");
    app.add_flag("-0,--null", command.nulls,
                 "With --save-list, end each path with a NUL rather than a line break (for xargs -0)");
    p.conflictOption =
        app.add_option("--on-conflict", p.onConflict,
                       "Without asking, a name that cannot be used is skipped, numbered or stops the run")
            ->type_name("POLICY")
            ->check(CLI::IsMember({"skip", "number", "stop"}));
    p.undoOption = app.add_option("--undo", p.undo,
                                  "Rename the items of the last run that renamed something (or of run N of "
                                  "--history) back; never overwrites, leaves alone what changed since")
                       ->type_name("N")
                       ->expected(0, 1);
    app.add_flag("--history", command.history,
                 "List the runs kept for --undo, newest first: when, how many items, where");
    app.add_flag("--actions", command.actions, "List the actions with their values, the scopes and the orders");
    app.add_option("--settings", command.settings, "The settings file (else $QUORLIN_SETTINGS, else the usual place)")
        ->type_name("FILE");
    app.add_flag("--version", p.version, "Show the version");
    // For the build, which makes the manual page and the completion from these.
    app.add_flag("--manual-page", p.man)->group("");
    app.add_flag("--bash-completion", p.completion)->group("");
}

// The option names of the parser, as typed: "--action", "-a", ...
std::vector<std::string> OptionNames(const CLI::App& app) {
    std::vector<std::string> names;
    for (const CLI::Option* o : app.get_options()) {
        if (o->get_group().empty() || o->get_positional()) continue;
        for (const auto& l : o->get_lnames()) names.push_back("--" + l);
        for (const auto& s : o->get_snames()) names.push_back("-" + s);
    }
    return names;
}

std::string Troff(std::string_view text) {
    std::string out;
    bool lineStart = true;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else if (lineStart && (c == '.' || c == '\''))
            out += "\\&" + std::string(1, c);
        else
            out += c;
        lineStart = c == '\n';
    }
    return out;
}

}  // namespace

std::string ShortForm(std::string_view text) {
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c))
            out += static_cast<char>(std::tolower(c));
        else if (!out.empty() && out.back() != '-')
            out += '-';
    }
    while (!out.empty() && out.back() == '-') out.pop_back();
    return out;
}

std::span<const char* const> SortOrderNames() {
    return kSortOrderNames;
}

std::span<const char* const> ScopeNames() {
    return kScopeNames;
}

std::optional<int> ParseScope(std::string_view text) {
    static constexpr std::pair<const char*, int> kAliases[] = {
        {"extension-with-separator", 2}, {"extension-with-dot", 2}, {"extension", 3}};
    return Lookup(text, ScopeTexts(), kScopeNames, kAliases);
}

std::optional<int> ParseSortOrder(std::string_view text) {
    static constexpr std::pair<const char*, int> kAliases[] = {
        {"name-asc", 0}, {"modified-asc", 2}, {"created-asc", 4}, {"picture-asc", 6}, {"shuffle", 8}};
    return Lookup(text, SortOrderTexts(), kSortOrderNames, kAliases);
}

std::string FindActionText(std::string_view text) {
    const std::string wanted = ShortForm(text);
    if (wanted.empty()) return {};
    for (const auto& slot : ActionCatalogue()) {
        if (slot.blank()) continue;
        const std::string name = LoadStringText(slot.textId);
        if (ShortForm(name) == wanted) return name;
    }
    return {};
}

std::vector<std::string> ActionNames() {
    std::vector<std::string> names;
    for (const auto& slot : ActionCatalogue())
        if (!slot.blank()) names.push_back(ShortForm(LoadStringText(slot.textId)));
    return names;
}

std::string Suggestion(std::string_view typed, const std::vector<std::string>& candidates) {
    const std::string wanted = Lower(typed);
    if (wanted.empty()) return {};
    // A slip of a letter or two, in proportion to the word.
    const size_t allowed = std::max<size_t>(1, std::min<size_t>(3, wanted.size() / 4));
    std::string best;
    size_t bestDistance = allowed + 1;
    for (const auto& c : candidates) {
        const size_t d = Distance(wanted, Lower(c));
        if (d < bestDistance) {
            bestDistance = d;
            best = c;
        }
    }
    if (!best.empty()) return best;
    // A word or two of a longer name: "uppercase" for "make-uppercase".
    const std::string words = ShortForm(typed);
    std::string only;
    for (const auto& c : candidates) {
        if (!HasWords(ShortForm(c), words)) continue;
        if (!only.empty()) return {};  // more than one: no guess
        only = c;
    }
    return only;
}

std::string DidYouMean(std::string_view typed, const std::vector<std::string>& candidates) {
    const std::string s = Suggestion(typed, candidates);
    return s.empty() ? std::string() : "; did you mean \"" + s + "\"?";
}

CParsed ParseCommandLine(const std::vector<std::string>& args, CCommandLine& command, std::string& message) {
    CLI::App app{kDescription, "quorlin"};
    Parsing p;
    Define(app, command, p);
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        message = app.help();
        return CParsed::kHelp;
    } catch (const CLI::ExtrasError& e) {
        // "The following argument was not expected: --frobnicate"
        message = FirstLine(e.what());
        const auto colon = message.find(": ");
        if (colon != std::string::npos) {
            const std::string first = message.substr(colon + 2, message.find(' ', colon + 2) - colon - 2);
            if (first.rfind("-", 0) == 0) message += DidYouMean(first.substr(0, first.find('=')), OptionNames(app));
        }
        return CParsed::kError;
    } catch (const CLI::ParseError& e) {
        message = FirstLine(e.what());
        return CParsed::kError;
    }
    if (p.version) {
        message = std::string("quorlin ") + QLN_VERSION + "\n";
        return CParsed::kHelp;
    }
    if (p.man) {
        message = ManualPage();
        return CParsed::kHelp;
    }
    if (p.completion) {
        message = BashCompletion();
        return CParsed::kHelp;
    }
    for (const auto& t : p.toggles) {
        if (t.onOption->count() && t.offOption->count()) {
            message = std::string(t.on) + " and " + t.off + " contradict each other";
            return CParsed::kError;
        }
        if (t.onOption->count()) *t.target = 1;
        if (t.offOption->count()) *t.target = 0;
    }
    if (p.actionOption->count()) command.action = p.action;
    if (p.scopeOption->count()) command.scope = p.scope;
    if (p.sortOption->count()) command.sort = p.sort;
    if (p.saveOption->count()) command.saveList = p.saveList;
    if (p.conflictOption->count()) command.onConflict = p.onConflict;
    if (p.undoOption->count()) {
        size_t n = 0;
        const auto [end, ec] = std::from_chars(p.undo.data(), p.undo.data() + p.undo.size(), n);
        if (p.undo.empty())
            n = 1;
        else if (ec != std::errc() || end != p.undo.data() + p.undo.size() || n == 0) {
            message = "--undo takes the number of a run that --history lists, not \"" + p.undo + "\"";
            return CParsed::kError;
        }
        command.undo = n;
        command.undoNumbered = !p.undo.empty();
    }
    if ((command.undo || command.history) && !command.paths.empty()) {
        message = std::string(command.undo ? "--undo" : "--history") +
                  " takes no paths: it works on the runs kept in the journals";
        return CParsed::kError;
    }
    if (command.undo && command.history) {
        message = "--undo and --history do not go together";
        return CParsed::kError;
    }
    if (command.last && command.action) {
        message = "--last repeats the last action: give --action or --last, not both";
        return CParsed::kError;
    }
    if (command.all && !command.preview) {
        message = "--all goes with --preview";
        return CParsed::kError;
    }
    if (command.force && !command.saveList) {
        message = "--force goes with --save-list";
        return CParsed::kError;
    }
    if (command.nulls && !command.saveList) {
        message = "--null goes with --save-list";
        return CParsed::kError;
    }
    return CParsed::kRun;
}

std::string ManualPage() {
    CLI::App app{kDescription, "quorlin"};
    CCommandLine command;
    Parsing p;
    Define(app, command, p);
    std::string out = ".TH QUORLIN 1 \"\" \"quorlin " QLN_VERSION "\" \"User Commands\"\n";
    out += ".SH NAME\nquorlin \\- rename files and folders in one go\n";
    out += ".SH SYNOPSIS\n.B quorlin\n\\fB\\-a\\fR \\fIACTION\\fR [\\fIOPTIONS\\fR] \\fIPATH\\fR...\n.br\n";
    out += ".B quorlin\n\\fB\\-\\-last\\fR [\\fIOPTIONS\\fR] \\fIPATH\\fR...\n.br\n";
    out += ".B quorlin\n\\fB\\-\\-undo\\fR [\\fIN\\fR]\n.br\n.B quorlin\n\\fB\\-\\-history\\fR\n";
    out += ".SH DESCRIPTION\n" + Troff(kDescription) + "\n";
    out +=
        ".PP\nA path that is \\fB.\\fR or \\fB..\\fR, or ends in \\fB/.\\fR or \\fB/..\\fR, is never renamed "
        "itself; with subfolders on, what it holds is.\n";
    out += ".SH OPTIONS\n";
    // One entry per option, a toggle's two spellings together.
    std::vector<std::pair<std::string, std::string>> entries;
    for (const CLI::Option* o : app.get_options()) {
        if (o->get_group().empty() || o->get_positional()) continue;
        std::string names;
        for (const auto& s : o->get_snames()) names += (names.empty() ? "" : ", ") + ("\\fB\\-" + s + "\\fR");
        for (const auto& l : o->get_lnames())
            names += (names.empty() ? "" : ", ") + ("\\fB" + Troff("--" + l) + "\\fR");
        if (!o->get_type_name().empty() && o->get_items_expected_max() > 0)
            names += o->get_items_expected_min() > 0 ? " \\fI" + Troff(o->get_type_name()) + "\\fR"
                                                     : " [\\fI" + Troff(o->get_type_name()) + "\\fR]";
        if (o->get_description().empty() && !entries.empty())
            entries.back().first += ", " + names;
        else
            entries.emplace_back(names, o->get_description());
    }
    for (const auto& [names, help] : entries) out += ".TP\n" + names + "\n" + Troff(help) + "\n";
    out += ".SH EXAMPLES\n";
    for (const auto& e : kExamples)
        out += ".PP\n" + Troff(e.what) + "\n.PP\n.RS\n.nf\n" + Troff(e.command) + "\n.fi\n.RE\n";
    out += ".SH SORTING ORDERS\n";
    for (size_t i = 0; i < kSortOrderNames.size(); ++i)
        out += ".TP\n\\fB" + Troff(kSortOrderNames[i]) + "\\fR (" + std::to_string(i) + ")\n" +
               Troff(SortOrderTexts()[i]) + "\n";
    out += ".SH SCOPES\n";
    for (size_t i = 0; i < kScopeNames.size(); ++i)
        out +=
            ".TP\n\\fB" + Troff(kScopeNames[i]) + "\\fR (" + std::to_string(i) + ")\n" + Troff(ScopeTexts()[i]) + "\n";
    out += ".SH ACTIONS\nEach action by its short form; \\fBquorlin \\-\\-actions\\fR lists their values.\n.PP\n";
    for (const auto& name : ActionNames()) out += Troff(name) + "\n.br\n";
    out +=
        ".SH EXIT STATUS\n.TP\n0\nEverything asked for was done; a skip the user chose counts as done.\n"
        ".TP\n1\nSomething was skipped or failed, or a preview shows a conflict.\n.TP\n2\nBad usage; "
        "nothing was done.\n";
    out +=
        ".SH ENVIRONMENT\n.TP\n\\fBQUORLIN_SETTINGS\\fR\nThe settings file.\n.TP\n\\fBXDG_STATE_HOME\\fR\n"
        "Where the journals of the runs are kept.\n.TP\n\\fBNO_COLOR\\fR\n"
        "When set and not empty, the preview uses no colours.\n";
    out +=
        ".SH FILES\n.TP\n\\fI$XDG_CONFIG_HOME/quorlin/settings.json\\fR\nWhat the last run used "
        "(\\fI~/.config\\fR when XDG_CONFIG_HOME is not set).\n"
        ".TP\n\\fI$XDG_STATE_HOME/quorlin/run\\-*.qlj\\fR\nThe journals of the last 20 runs and of the last 20 "
        "undos, for \\fB\\-\\-undo\\fR (\\fI~/.local/state\\fR when XDG_STATE_HOME is not set). They and their "
        "folder must be the user's own and writable by nobody else, or \\fB\\-\\-undo\\fR refuses them.\n";
    return out;
}

std::string BashCompletion() {
    CLI::App app{kDescription, "quorlin"};
    CCommandLine command;
    Parsing p;
    Define(app, command, p);
    std::string options;
    for (const auto& n : OptionNames(app)) options += (options.empty() ? "" : " ") + n;
    std::string actions;
    for (const auto& a : ActionNames()) actions += (actions.empty() ? "" : " ") + a;
    std::string orders, scopes;
    for (const char* o : kSortOrderNames) orders += (orders.empty() ? "" : " ") + std::string(o);
    for (const char* s : kScopeNames) scopes += (scopes.empty() ? "" : " ") + std::string(s);
    // Every value name of every action, each followed by '='.
    std::vector<std::string> values;
    CSettingsStore none(CSettingsStore::kDialogSubKey, std::unique_ptr<platform::ISettingsBackend>());
    for (const auto& panel : CreatePanels(&none))
        if (panel)
            for (const auto& b : panel->bindings())
                if (std::find(values.begin(), values.end(), b.name() + "=") == values.end())
                    values.push_back(b.name() + "=");
    std::string names;
    for (const auto& v : values) names += (names.empty() ? "" : " ") + v;
    return "# bash completion for quorlin, made by quorlin --bash-completion\n"
           "_quorlin() {\n"
           "    local cur prev\n"
           "    cur=${COMP_WORDS[COMP_CWORD]}\n"
           "    prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    case $prev in\n"
           "        -a|--action) COMPREPLY=($(compgen -W '" +
           actions +
           "' -- \"$cur\")); return ;;\n"
           "        -c|--change) COMPREPLY=($(compgen -W '" +
           scopes +
           "' -- \"$cur\")); return ;;\n"
           "        --sort) COMPREPLY=($(compgen -W '" +
           orders +
           "' -- \"$cur\")); return ;;\n"
           "        --on-conflict) COMPREPLY=($(compgen -W 'skip number stop' -- \"$cur\")); return ;;\n"
           "        -s|--set) compopt -o nospace 2>/dev/null; COMPREPLY=($(compgen -W '" +
           names +
           "' -- \"$cur\")); return ;;\n"
           "        --save-list|--settings) compopt -o default 2>/dev/null; COMPREPLY=(); return ;;\n"
           "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W '" +
           options +
           "' -- \"$cur\"))\n"
           "    else\n"
           "        compopt -o default 2>/dev/null\n"
           "        COMPREPLY=()\n"
           "    fi\n"
           "}\n"
           "complete -F _quorlin quorlin\n";
}

std::vector<std::string> ChoiceNames(const CRenameDlg& panel, const CPanelBinding& b) {
    std::vector<std::string> names;
    if (b.kind == ValueKind::kComboIndex) {
        for (const auto& entry : PanelComboEntries(panel.templateId(), b.controlId)) {
            const auto own = OwnChoiceNames().find(entry);
            names.push_back(entry.empty()                    ? "none"
                            : own != OwnChoiceNames().end() ? std::string(own->second)
                                                             : ShortForm(entry));
        }
    } else if (b.kind == ValueKind::kRadioGroup) {
        for (const auto& radio : b.radios) {
            const auto it = RadioNames().find(radio.radioId);
            names.push_back(it != RadioNames().end() ? it->second : std::to_string(radio.radioId));
        }
    }
    return names;
}

bool SetNegativeStep(const CPanelBinding& b, const std::string& value) {
    // The counter of a numbering action moves by any whole step; only the
    // dialog's number field keeps the minus sign out.
    if (b.kind != ValueKind::kEditText || b.rule != TextRule::kDigitsOnly || b.name() != "step" || !b.text)
        return false;
    if (value.size() < 2 || value[0] != '-' || value.size() > 11 ||
        value.find_first_not_of("0123456789", 1) != std::string::npos)
        return false;
    *b.text = value;
    return true;
}

bool AssignValue(CRenameDlg& panel, const std::string& assignment, std::string& error) {
    const size_t eq = assignment.find('=');
    if (eq == std::string::npos || eq == 0) {
        error = "--set takes NAME=VALUE, not \"" + assignment + "\"";
        return false;
    }
    const std::string name = assignment.substr(0, eq);
    std::string value = assignment.substr(eq + 1);
    const CPanelBinding* b = panel.FindValue(name);
    if (!b) {
        std::vector<std::string> names;
        for (const auto& binding : panel.bindings()) names.push_back(binding.name());
        error = "\"" + panel.actionName() + "\" has no value \"" + name + "\"" + DidYouMean(name, names) +
                " (see quorlin --actions)";
        return false;
    }
    // Names are matched character by character: a stray byte could match
    // inside a character of a name and leave half of it behind.
    if (!text::isValid(value)) {
        error = "the value of \"" + name + "\" is not valid UTF-8";
        return false;
    }
    if (SetNegativeStep(*b, value)) return true;
    if (b->kind == ValueKind::kComboIndex || b->kind == ValueKind::kRadioGroup) {
        // A number is the control's own: the panel tells when it is out of range.
        const bool byNumber = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
        if (!byNumber) {
            const std::vector<std::string> names = ChoiceNames(panel, *b);
            std::string wanted = ShortForm(value);
            if (wanted == "start") wanted = "beginning";
            int chosen = -1;
            for (size_t i = 0; i < names.size() && chosen < 0; ++i)
                if (names[i] == wanted) chosen = static_cast<int>(i);
            // One word of a longer name, when only one name has it: "end"
            // for "from the end".
            for (size_t i = 0; i < names.size() && chosen == -1; ++i) {
                if (!HasWords(names[i], wanted)) continue;
                bool unique = true;
                for (size_t k = i + 1; k < names.size(); ++k) unique = unique && !HasWords(names[k], wanted);
                chosen = unique ? static_cast<int>(i) : -2;
            }
            if (chosen < 0) {
                std::string list;
                for (const auto& n : names) list += (list.empty() ? "" : ", ") + n;
                error = "\"" + name + "\" has no choice \"" + value + "\"" + DidYouMean(value, names) + " (it takes " +
                        list + ")";
                return false;
            }
            value =
                b->kind == ValueKind::kComboIndex ? std::to_string(chosen) : std::to_string(b->radios[chosen].radioId);
        }
    }
    return panel.SetValue(name, value, &error);
}

std::vector<std::string> MissingValues(const CMainDlgModel& model) {
    const int line = model.currentLine();
    if (line < 0) return {};
    const CCatalogueSlot& slot = ActionCatalogue()[model.actionLines()[line].slot];
    const CRenameDlg& panel = *model.actionLines()[line].panel;
    if (!slot.create) return {};
    // A copy over no store: its tries are never saved.
    std::unique_ptr<CRenameDlg> probe = slot.create(nullptr);
    probe->SetScope(panel.scope());
    for (const auto& b : panel.bindings()) probe->SetValue(b.name(), panel.GetValue(b.name()));
    auto builds = [&] { return probe->CreateOperation(CRunOptions{}) != nullptr; };
    std::vector<std::string> missing;
    for (const auto& b : probe->bindings()) {
        if (b.controlId == 0 || !probe->IsControlEnabled(b.controlId)) continue;
        const std::string name = b.name();
        const std::string before = probe->GetValue(name);
        std::string trial;
        if (b.kind == ValueKind::kEditText && before.empty())
            trial = b.rule == TextRule::kStartLetters ? "a" : "1";
        else if (b.kind == ValueKind::kComboIndex && before == "0" && b.entries > 1)
            trial = "1";
        else
            continue;
        if (probe->SetValue(name, trial) && builds()) missing.push_back(name);
        probe->SetValue(name, before);
    }
    return missing;
}

std::string DescribeRun(const CMainDlgModel& model) {
    const CRenameDlg* panel = model.activePanel();
    if (!panel) return {};
    std::string out = "-a " + ShortForm(panel->actionName());
    for (const auto& b : panel->bindings()) {
        const std::string value = panel->GetValue(b.name());
        std::string shown = value;
        if (b.kind == ValueKind::kEditText) {
            if (value == b.defaultText) continue;
        } else {
            if (value == std::to_string(b.defaultNumber)) continue;
            const auto names = ChoiceNames(*panel, b);
            if (b.kind == ValueKind::kComboIndex) {
                const size_t i = static_cast<size_t>(std::atoi(value.c_str()));
                if (i < names.size()) shown = names[i];
            } else if (b.kind == ValueKind::kRadioGroup) {
                for (size_t i = 0; i < b.radios.size() && i < names.size(); ++i)
                    if (std::to_string(b.radios[i].radioId) == value) shown = names[i];
            }
        }
        out += " -s " + ShellWord(b.name() + "=" + shown);
    }
    if (model.scope() != 0) out += std::string(" -c ") + kScopeNames[model.scope()];
    const CDialogOptions& o = model.options();
    if (o.sort != 0 && o.sort < static_cast<int>(kSortOrderNames.size()))
        out += std::string(" --sort ") + kSortOrderNames[o.sort];
    if (!o.files) out += " --no-files";
    if (!o.folders) out += " --no-folders";
    if (!o.subfolders) out += " --no-subfolders";
    if (!o.sortFolders) out += " --no-sort-each-folder";
    if (o.confirm) out += " --confirm";
    return out;
}
