#include "cli/Arguments.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <cctype>

#include "dialog/ActionCatalogue.h"
#include "dialog/ControlTexts.h"
#include "dialog/MainDlgModel.h"
#include "dialog/StringTable.h"
#include "dialog/panels/RenameDlg.h"
#include "platform/Text.h"

#ifndef QLN_VERSION
#define QLN_VERSION "1.0.0"
#endif

namespace {

constexpr const char* kDescription =
    "Renames files and folders in one go with one of the rename actions.\n"
    "Whatever is not given is taken from the last run, as the rename dialog restores it; a run stores\n"
    "what it used. See --actions for the actions, their values, the scopes and the sorting orders.";

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

// By number, by the combo's text or its short form, or by an extra short name.
template <size_t N>
std::optional<int> Lookup(std::string_view text, std::span<const char* const> texts,
                          const std::array<std::pair<const char*, int>, N>& names) {
    if (auto n = Number(text, static_cast<int>(texts.size()))) return n;
    const std::string wanted = ShortForm(text);
    for (const auto& [name, value] : names)
        if (wanted == name) return value;
    for (size_t i = 0; i < texts.size(); ++i)
        if (wanted == ShortForm(texts[i])) return static_cast<int>(i);
    return std::nullopt;
}

// The first line of a message from the parser.
std::string FirstLine(const std::string& s) {
    return s.substr(0, s.find('\n'));
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

std::optional<int> ParseScope(std::string_view text) {
    static constexpr std::array<std::pair<const char*, int>, 6> kNames = {
        {{"entire", 0}, {"name", 1}, {"extension-with-separator", 2}, {"ext-dot", 2}, {"extension", 3}, {"ext", 3}}};
    return Lookup(text, ScopeTexts(), kNames);
}

std::optional<int> ParseSortOrder(std::string_view text) {
    static constexpr std::array<std::pair<const char*, int>, 10> kNames = {{{"name", 0},
                                                                            {"name-desc", 1},
                                                                            {"modified", 2},
                                                                            {"modified-desc", 3},
                                                                            {"created", 4},
                                                                            {"created-desc", 5},
                                                                            {"picture", 6},
                                                                            {"picture-desc", 7},
                                                                            {"random", 8},
                                                                            {"number", 9}}};
    return Lookup(text, SortOrderTexts(), kNames);
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

CParsed ParseCommandLine(const std::vector<std::string>& args, CCommandLine& command, std::string& message) {
    CLI::App app{kDescription, "quorlin"};
    app.get_formatter()->column_width(34);
    std::string action, scope, sort, saveList, onConflict;
    app.add_option("paths", command.paths, "Files and folders to rename (folders: with their contents)")
        ->type_name("PATH");
    auto* actionOption =
        app.add_option("-a,--action", action, "The action, by its text (\"Replace anywhere\") or short form")
            ->type_name("ACTION");
    app.add_option("-s,--set", command.values, "A value of the action by its name, as find=IMG (repeatable)")
        ->type_name("NAME=VALUE")
        ->allow_extra_args(false);
    auto* scopeOption =
        app.add_option("-c,--change", scope, "What part of each name changes: entire, name, extension, ext-dot")
            ->type_name("SCOPE");
    auto* sortOption =
        app.add_option("--sort", sort, "The order of processing and numbering (see --actions)")->type_name("ORDER");
    struct Toggle {
        const char* on;
        const char* off;
        const char* help;
        std::optional<int>* target;
        CLI::Option* onOption = nullptr;
        CLI::Option* offOption = nullptr;
    };
    Toggle toggles[] = {
        {"--files", "--no-files", "Rename files (or not)", &command.files},
        {"--folders", "--no-folders", "Rename the folders themselves (or not)", &command.folders},
        {"--subfolders", "--no-subfolders", "Rename the contents of folders, at every depth (or not)",
         &command.subfolders},
        {"--sort-each-folder", "--no-sort-each-folder", "Sort and number each folder's contents on their own",
         &command.sortFolders},
        {"--confirm", "--no-confirm", "Ask before each rename (needs a terminal)", &command.confirm},
    };
    for (auto& t : toggles) {
        t.onOption = app.add_flag(t.on)->description(t.help);
        t.offOption = app.add_flag(t.off);
    }
    app.add_flag("-p,--preview", command.preview, "Show the old and new names; rename nothing");
    auto* saveOption = app.add_option("--save-list", saveList, "Write the paths of the items to FILE; rename nothing")
                           ->type_name("FILE");
    auto* conflictOption =
        app.add_option("--on-conflict", onConflict,
                       "Without asking, a name that cannot be used is skipped, numbered or stops the run")
            ->type_name("POLICY")
            ->check(CLI::IsMember({"skip", "number", "stop"}));
    app.add_flag("--actions", command.actions, "List the actions with their values, the scopes and the orders");
    app.add_option("--settings", command.settings, "The settings file (else $QUORLIN_SETTINGS, else the usual place)")
        ->type_name("FILE");
    bool version = false;
    app.add_flag("--version", version, "Show the version");

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        message = app.help();
        return CParsed::kHelp;
    } catch (const CLI::ParseError& e) {
        message = FirstLine(e.what());
        return CParsed::kError;
    }
    if (version) {
        message = std::string("quorlin ") + QLN_VERSION + "\n";
        return CParsed::kHelp;
    }
    for (const auto& t : toggles) {
        if (t.onOption->count() && t.offOption->count()) {
            message = std::string(t.on) + " and " + t.off + " contradict each other";
            return CParsed::kError;
        }
        if (t.onOption->count()) *t.target = 1;
        if (t.offOption->count()) *t.target = 0;
    }
    if (actionOption->count()) command.action = action;
    if (scopeOption->count()) command.scope = scope;
    if (sortOption->count()) command.sort = sort;
    if (saveOption->count()) command.saveList = saveList;
    if (conflictOption->count()) command.onConflict = onConflict;
    return CParsed::kRun;
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
        error = "\"" + panel.actionName() + "\" has no value \"" + name + "\" (see quorlin --actions)";
        return false;
    }
    // Names are matched character by character: a stray byte could match
    // inside a character of a name and leave half of it behind.
    if (!text::isValid(value)) {
        error = "the value of \"" + name + "\" is not valid UTF-8";
        return false;
    }
    if (b->kind == ValueKind::kComboIndex && !Number(value, b->entries)) {
        const auto entries = PanelComboEntries(panel.templateId(), b->controlId);
        const std::string wanted = ShortForm(value);
        for (size_t i = 0; i < entries.size(); ++i)
            if (!wanted.empty() && ShortForm(entries[i]) == wanted) value = std::to_string(i);
    }
    if (!panel.SetValue(name, value, &error)) return false;
    return true;
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
