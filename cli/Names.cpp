#include "cli/Names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <map>

#include "cli/Suggestions.h"
#include "dialog/ActionCatalogue.h"
#include "dialog/ControlTexts.h"
#include "dialog/MainDlgModel.h"
#include "dialog/PanelIds.h"
#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"
#include "dialog/panels/RenameDlg.h"
#include "platform/Text.h"

namespace {

constexpr std::array<const char*, 12> kSortOrderNames = {
    "name",         "name-desc", "modified", "modified-desc", "created", "created-desc",
    "picture",      "picture-desc", "random", "number",        "taken",   "taken-desc"};
constexpr std::array<const char*, 4> kScopeNames = {"entire", "name", "ext-dot", "ext"};

// What each example shows, and the command; the help, the manual page and
// the README say the same.
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
// A value written so that a shell takes it as one word.
std::string ShellWord(const std::string& s) {
    if (!s.empty() && s.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_=./:,+") ==
                          std::string::npos)
        return s;
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
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
    if (!text::IsValid(value)) {
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

namespace {

// One step as it would be typed: its action, every value that differs from
// its default, and its scope.
std::string DescribeStep(const CRenameDlg& panel, const CStep& step) {
    std::string out = "-a " + ShortForm(panel.actionName());
    for (const auto& b : panel.bindings()) {
        std::string value;
        for (const auto& [name, v] : step.values)
            if (name == b.name()) value = v;
        std::string shown = value;
        if (b.kind == ValueKind::kEditText) {
            if (value == b.defaultText) continue;
        } else {
            if (value == std::to_string(b.defaultNumber)) continue;
            const auto names = ChoiceNames(panel, b);
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
    if (step.scope > 0 && step.scope < static_cast<int>(kScopeNames.size()))
        out += std::string(" -c ") + kScopeNames[step.scope];
    return out;
}

}  // namespace

std::string DescribeRun(const CMainDlgModel& model) {
    std::string out;
    for (const CStep& step : model.Steps()) {
        const CRenameDlg* panel = model.FindPanel(step.action);
        if (!panel) continue;
        out += (out.empty() ? "" : " --then ") + DescribeStep(*panel, step);
    }
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
