#include "cli/Arguments.h"

#include <algorithm>
#include <charconv>

#include "cli/Manual.h"
#include "cli/Options.h"
#include "cli/Suggestions.h"

#ifndef QLN_VERSION
#define QLN_VERSION "1.0.0"
#endif

namespace {

// The first line of a message from the parser.
std::string FirstLine(const std::string& s) {
    return s.substr(0, s.find('\n'));
}

// Puts each --action, --set and --change in the step that --then began.
const char* SplitSteps(const CLI::App& app, const Parsing& p, CCommandLine& command) {
    size_t action = 0, value = 0, scope = 0;
    command.steps.assign(1, CCommandStep{});
    for (const CLI::Option* o : app.parse_order()) {
        CCommandStep& step = command.steps.back();
        if (o == p.thenOption) {
            if (!step.action) return "--then ends a step that has its --action: give each step one";
            command.steps.emplace_back();
        } else if (o == p.actionOption) {
            if (step.action) return "one --action a step: end the step with --then before the next";
            step.action = p.actions.at(action++);
        } else if (o == p.setOption) {
            step.values.push_back(p.values.at(value++));
        } else if (o == p.scopeOption) {
            if (step.scope) return "one --change a step: end the step with --then before the next";
            step.scope = p.scopes.at(scope++);
        }
    }
    if (command.steps.size() > 1 && !command.steps.back().action) return "--then starts a step: give it its --action";
    return nullptr;
}

// Options that do not go together, or not without another.
const char* Clash(const CCommandLine& command) {
    if (command.presets && (!command.paths.empty() || command.HasAction() || command.preset))
        return "--presets goes alone: it lists the presets kept";
    if (command.exportPreset && (!command.paths.empty() || command.HasAction() || command.preset))
        return "--export-preset goes alone: it writes a preset that is kept";
    if (command.preset && command.last) return "--preset and --last each give a whole run: give one";
    if (command.preset && command.HasAction())
        return "--preset gives the steps: --action and --then go without it (--set changes its values)";
    if (command.last && command.steps.size() > 1) return "--last repeats a whole run: --then goes with --action";
    if (command.undo && !command.paths.empty())
        return "--undo takes no paths: it works on the runs kept in the journals";
    if (command.history && !command.paths.empty())
        return "--history takes no paths: it works on the runs kept in the journals";
    if (command.undo && command.history) return "--undo and --history do not go together";
    if (command.last && command.HasAction())
        return "--last repeats the last action: give --action or --last, not both";
    if (command.all && !command.preview) return "--all goes with --preview";
    if (command.json && !command.preview) return "--json goes with --preview";
    if (command.edit && command.from) return "--edit and --from each give the names: give one";
    if (command.OwnNames() && (command.HasAction() || command.last || command.preset))
        return command.edit ? "--edit gives the names: --action, --last and --preset go without it"
                            : "--from gives the names: --action, --last and --preset go without it";
    if (command.OwnNames() && (command.saveList || command.savePreset || command.undo || command.history))
        return command.edit ? "--edit renames: --save-list, --save-preset, --undo and --history go without it"
                            : "--from renames: --save-list, --save-preset, --undo and --history go without it";
    if (command.edit && command.preview) return "--edit shows its preview itself before it asks: leave out --preview";
    if (command.yes && !command.edit) return "--yes goes with --edit";
    if (command.force && !command.saveList && !command.exportPreset)
        return "--force goes with --save-list or --export-preset";
    if (command.nulls && !command.saveList) return "--null goes with --save-list";
    return nullptr;
}

}  // namespace

bool CCommandLine::HasAction() const {
    return std::any_of(steps.begin(), steps.end(), [](const CCommandStep& s) { return s.action.has_value(); });
}

bool CCommandLine::ChangesSteps() const {
    return std::any_of(steps.begin(), steps.end(),
                       [](const CCommandStep& s) { return !s.values.empty() || s.scope.has_value(); });
}

std::optional<int> SectionGiven(const CCommandLine& command, int CDialogOptions::*member) {
    for (const auto& [given, value] : command.sections)
        if (given == member) return value;
    return std::nullopt;
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
            message = std::string(t.option->onFlag) + " and " + t.option->offFlag + " contradict each other";
            return CParsed::kError;
        }
        if (t.onOption->count() || t.offOption->count())
            command.sections.emplace_back(t.option->member, t.onOption->count() ? 1 : 0);
    }
    if (const char* wrong = SplitSteps(app, p, command)) {
        message = wrong;
        return CParsed::kError;
    }
    if (p.presetOption->count()) command.preset = p.preset;
    if (p.savePresetOption->count()) command.savePreset = p.savePreset;
    if (p.exportOption->count()) command.exportPreset.emplace(p.exported.at(0), p.exported.at(1));
    if (p.sortOption->count()) command.sort = p.sort;
    if (p.fromOption->count()) command.from = p.from;
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
    if (const char* clash = Clash(command)) {
        message = clash;
        return CParsed::kError;
    }
    return CParsed::kRun;
}

