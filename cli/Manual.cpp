#include "cli/Manual.h"

#include <algorithm>

#include "cli/Names.h"
#include "cli/Options.h"
#include "dialog/ActionCatalogue.h"
#include "dialog/ControlTexts.h"
#include "dialog/SettingsStore.h"
#include "dialog/panels/RenameDlg.h"

#ifndef QLN_VERSION
#define QLN_VERSION "1.0.0"
#endif

namespace {

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
    for (size_t i = 0; i < SortOrderNames().size(); ++i)
        out += ".TP\n\\fB" + Troff(SortOrderNames()[i]) + "\\fR (" + std::to_string(i) + ")\n" +
               Troff(SortOrderTexts()[i]) + "\n";
    out += ".SH SCOPES\n";
    for (size_t i = 0; i < ScopeNames().size(); ++i)
        out +=
            ".TP\n\\fB" + Troff(ScopeNames()[i]) + "\\fR (" + std::to_string(i) + ")\n" + Troff(ScopeTexts()[i]) + "\n";
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
    for (const char* o : SortOrderNames()) orders += (orders.empty() ? "" : " ") + std::string(o);
    for (const char* s : ScopeNames()) scopes += (scopes.empty() ? "" : " ") + std::string(s);
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

