// The steps of a rename and the presets that keep them: the part of the
// main dialog's model that a rename of one step never meets.
#include "core/Chain.h"
#include "dialog/ControlTexts.h"
#include "dialog/MainDlgModel.h"
#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"
#include "dialog/panels/RenameDlg.h"

namespace {

constexpr int kScopeCount = 4;

}  // namespace

CStep CMainDlgModel::Shown() const {
    CStep step;
    step.scope = scope_;
    if (const CRenameDlg* panel = activePanel()) {
        step.action = panel->actionName();
        step.values = panel->Values();
    }
    return step;
}

std::vector<CStep> CMainDlgModel::Steps() const {
    std::vector<CStep> steps = steps_;
    steps[step_] = Shown();
    return steps;
}

std::string CMainDlgModel::Check(const CStep& step) {
    if (step.scope < 0 || step.scope >= kScopeCount) return "it has no scope " + std::to_string(step.scope);
    CRenameDlg* panel = FindPanel(step.action);
    if (!panel) return "this version has no action \"" + step.action + "\"";
    if (!panel->AppliesToScope(step.scope))
        return "\"" + step.action + "\" does not apply to \"" + ScopeTexts()[step.scope] + "\"";
    const auto kept = panel->Values();
    std::string error;
    const bool takes = panel->SetValues(step.values, &error);
    panel->SetValues(kept);
    return takes ? std::string() : error;
}

void CMainDlgModel::Show(const CStep& step) {
    scope_ = step.scope;
    Refill();
    SelectAction(step.action);
    if (CRenameDlg* panel = activePanel()) {
        panel->SetValues(step.values);
        panel->SetScope(scope_);
    }
}

template <class Use>
auto CMainDlgModel::WithStep(const CStep& step, Use use) {
    CRenameDlg* panel = FindPanel(step.action);
    const auto kept = panel ? panel->Values() : decltype(panel->Values())();
    if (panel) {
        panel->SetValues(step.values);
        panel->SetScope(step.scope);
    }
    auto result = use(panel);
    if (panel) {
        panel->SetValues(kept);
        panel->SetScope(scope_);
    }
    return result;
}

bool CMainDlgModel::SelectStep(size_t index) {
    if (index >= steps_.size()) return false;
    steps_[step_] = Shown();
    step_ = index;
    Show(steps_[step_]);
    return true;
}

void CMainDlgModel::AddStep() {
    steps_[step_] = Shown();
    CStep step = steps_[step_];
    step.values.clear();  // the action's built-in values
    steps_.insert(steps_.begin() + static_cast<std::ptrdiff_t>(step_) + 1, step);
    ++step_;
    Show(steps_[step_]);
}

bool CMainDlgModel::RemoveStep() {
    if (steps_.size() < 2) return false;
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(step_));
    if (step_ > 0) --step_;
    Show(steps_[step_]);
    return true;
}

bool CMainDlgModel::MoveStep(bool later) {
    if (later ? step_ + 1 >= steps_.size() : step_ == 0) return false;
    steps_[step_] = Shown();
    const size_t other = later ? step_ + 1 : step_ - 1;
    std::swap(steps_[step_], steps_[other]);
    step_ = other;  // the same step, shown as before
    return true;
}

bool CMainDlgModel::CheckSteps(const std::vector<CStep>& steps, std::string& error) {
    if (steps.empty()) {
        error = "there are no steps";
        return false;
    }
    for (size_t i = 0; i < steps.size(); ++i) {
        const std::string why = Check(steps[i]);
        if (why.empty()) continue;
        error = steps.size() > 1 ? "step " + std::to_string(i + 1) + ": " + why : why;
        return false;
    }
    return true;
}

bool CMainDlgModel::SetSteps(const std::vector<CStep>& steps, std::string& error) {
    if (!CheckSteps(steps, error)) return false;
    steps_ = steps;
    step_ = 0;
    Show(steps_[0]);
    return true;
}

std::string CMainDlgModel::Problem() {
    for (size_t i = 0; i < steps_.size(); ++i) {
        std::string problem = i == step_ ? (activePanel() ? activePanel()->Problem() : std::string())
                                         : WithStep(steps_[i], [](CRenameDlg* panel) {
                                               return panel ? panel->Problem() : std::string();
                                           });
        if (problem.empty()) continue;
        return steps_.size() > 1 ? "Step " + std::to_string(i + 1) + ": " + problem : problem;
    }
    return {};
}

std::unique_ptr<CExecute> CMainDlgModel::BuildOperation() {
    if (!namesOnly_.empty()) return std::make_unique<CChosenNames>(RunOptions(), nullptr, choices_);
    std::unique_ptr<CExecute> op = BuildSteps();
    if (!op || choices_->empty()) return op;
    const CRunOptions options = op->options();
    return std::make_unique<CChosenNames>(options, std::move(op), choices_);
}

std::unique_ptr<CExecute> CMainDlgModel::BuildSteps() {
    CRenameDlg* panel = activePanel();
    if (!panel) return nullptr;
    panel->SetScope(scope_);
    if (steps_.size() == 1) return panel->CreateOperation(RunOptions());
    // Each step with the run's options through its own scope; only the step
    // shown is saved, as a rename of one step saves its action.
    std::vector<std::unique_ptr<CExecute>> ops;
    for (size_t i = 0; i < steps_.size(); ++i) {
        const CRunOptions options = options_.RunOptions(i == step_ ? scope_ : steps_[i].scope, randomSeed_);
        std::unique_ptr<CExecute> op =
            i == step_ ? panel->CreateOperation(options) : WithStep(steps_[i], [&](CRenameDlg* hidden) -> std::unique_ptr<CExecute> {
                return hidden ? hidden->MakeOperation(options) : nullptr;
            });
        if (!op) return nullptr;
        ops.push_back(std::move(op));
    }
    return std::make_unique<CChain>(std::move(ops));
}

CRunOptions CMainDlgModel::RunOptions() const {
    // A run takes its first step's scope.
    return options_.RunOptions(step_ == 0 ? scope_ : steps_[0].scope, randomSeed_);
}

std::string CMainDlgModel::RunName() const {
    if (!namesOnly_.empty()) return namesOnly_;
    std::string name;
    for (const CStep& step : Steps()) name += (name.empty() ? "" : ", then ") + step.action;
    return name;
}

void CMainDlgModel::SaveSteps() {
    if (steps_.size() > 1) {
        store_.WriteString(kStrSteps, StepsText(Steps(), step_));
        storedSteps_ = true;
    } else if (storedSteps_) {
        store_.WriteString(kStrSteps, "");
        storedSteps_ = false;
    }
}

CPreset CMainDlgModel::MakePreset(const std::string& name) const {
    CPreset preset;
    preset.name = name;
    preset.steps = Steps();
    preset.options = options_;
    return preset;
}

bool CMainDlgModel::ApplyPreset(const CPreset& preset, std::string& error) {
    if (!SetSteps(preset.steps, error)) return false;
    // The run's own choices; what the dialog shows (the preview's switch)
    // stays as it is.
    for (const CSectionOption& option : SectionOptions())
        if (option.member != &CDialogOptions::preview) options_.*option.member = preset.options.*option.member;
    return true;
}
