#include "cli/Steps.h"

#include "cli/Names.h"
#include "cli/Suggestions.h"
#include "dialog/ControlTexts.h"
#include "dialog/MainDlgModel.h"
#include "dialog/panels/RenameDlg.h"

namespace {

bool SetScope(CMainDlgModel& model, const std::string& typed, std::string& error) {
    const auto scope = ParseScope(typed);
    if (!scope) {
        error = "unknown scope \"" + typed + "\"" + DidYouMean(typed, {ScopeNames().begin(), ScopeNames().end()}) +
                " (see quorlin --actions)";
        return false;
    }
    model.SetScope(*scope);
    return true;
}

bool SelectAction(CMainDlgModel& model, const std::string& typed, std::string& error) {
    const std::string text = FindActionText(typed);
    if (text.empty()) {
        error = "unknown action \"" + typed + "\"" + DidYouMean(ShortForm(typed), ActionNames()) +
                " (see quorlin --actions)";
        return false;
    }
    if (!model.FindPanel(text)) {
        error = "\"" + text + "\" is not available in this build";
        return false;
    }
    if (!model.SelectAction(text)) {
        error = "\"" + text + "\" does not apply to \"" + ScopeTexts()[model.scope()] + "\"";
        return false;
    }
    return true;
}

bool TypedStep(CMainDlgModel& model, const CCommandStep& step, std::string& error) {
    if (step.scope && !SetScope(model, *step.scope, error)) return false;
    if (step.action && !SelectAction(model, *step.action, error)) return false;
    CRenameDlg* panel = model.activePanel();
    if (!panel) {
        error = "no action applies to \"" + std::string(ScopeTexts()[model.scope()]) + "\"";
        return false;
    }
    for (const auto& assignment : step.values)
        if (!AssignValue(*panel, assignment, error)) return false;
    return true;
}

// A run given whole (--last, --preset), changed by what was typed.
bool GivenRun(CMainDlgModel& model, const CCommandStep& typed, std::string& error) {
    const size_t steps = model.stepCount();
    if (steps == 1) {
        if (typed.scope) {
            const std::string action = model.activePanel() ? model.activePanel()->actionName() : std::string();
            if (!SetScope(model, *typed.scope, error)) return false;
            if (!model.SelectAction(action)) {
                error = "\"" + action + "\" does not apply to \"" + ScopeTexts()[model.scope()] + "\"";
                return false;
            }
        }
        return TypedStep(model, {std::nullopt, typed.values, std::nullopt}, error);
    }
    if (typed.scope) {
        error = "--change changes a run of one step, and this one has " + std::to_string(steps) +
                ": give its steps with --action and --then";
        return false;
    }
    const size_t shown = model.currentStep();
    for (const auto& assignment : typed.values) {
        const std::string name = assignment.substr(0, assignment.find('='));
        size_t step = steps;
        while (step > 0 && model.SelectStep(step - 1) && !model.activePanel()->FindValue(name)) --step;
        if (step == 0) {
            error = "no step of this run has a value \"" + name + "\"";
            return false;
        }
        if (!AssignValue(*model.activePanel(), assignment, error)) {
            error = "step " + std::to_string(step) + ": " + error;
            return false;
        }
    }
    model.SelectStep(shown);
    return true;
}

}  // namespace

bool ConfigureSteps(CMainDlgModel& model, const CCommandLine& command, std::string& error) {
    if (command.last || command.preset) return GivenRun(model, command.steps.front(), error);
    const size_t count = command.steps.size();
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) model.AddStep();
        if (!TypedStep(model, command.steps[i], error)) {
            if (count > 1) error = "step " + std::to_string(i + 1) + ": " + error;
            return false;
        }
    }
    return true;
}

std::string NoOperationReason(CMainDlgModel& model) {
    const size_t steps = model.stepCount();
    for (size_t i = 0; i < steps; ++i) {
        model.SelectStep(i);
        const CRenameDlg& panel = *model.activePanel();
        if (panel.MakeOperation(model.RunOptions())) continue;
        const std::string prefix = steps > 1 ? "step " + std::to_string(i + 1) + ": " : "";
        const std::string action = panel.actionName();
        if (const std::string problem = panel.Problem(); !problem.empty())
            return prefix + "\"" + action + "\": " + problem;
        const auto missing = MissingValues(model);
        if (missing.empty()) return prefix + "\"" + action + "\" has nothing to do with these values (see quorlin --actions)";
        std::string names;
        for (size_t k = 0; k < missing.size(); ++k)
            names += (k == 0 ? "" : (k + 1 == missing.size() ? " or " : ", ")) + ("\"" + missing[k] + "\"");
        return prefix + "\"" + action + "\" needs a value for " + names + " (--set NAME=VALUE)";
    }
    return {};
}
