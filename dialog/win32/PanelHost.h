#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "dialog/panels/RenameDlg.h"
#include "dialog/win32/Dialog.h"

/// Posted to a panel's parent whenever one of the panel's values changed;
/// lParam is the panel's CRenameDlg*, wParam is 0.
inline constexpr UINT WM_PANEL_CHANGED = 0x0C00;

/// The window of one parameter panel: a frameless child dialog made from the
/// panel's template. It knows nothing of any particular action: every value
/// moves between its control and the model through the model's binding table
/// (text for edits, index for combos, 0/1 for check boxes, the checked id for
/// radio groups), and the model's radio choices say which controls are on.
class CPanelHost : public CDialog {
public:
    /// Hosts `panel`, which must outlive the host.
    explicit CPanelHost(CRenameDlg& panel);
    /// Destroys the window, if the parent has not already done so.
    ~CPanelHost() override;
    CPanelHost(const CPanelHost&) = delete;
    CPanelHost& operator=(const CPanelHost&) = delete;

    /// Creates the window, hidden, from the panel's template in `instance` as
    /// a child of `parent`, and shows the model's values in it. From then on
    /// every change the user makes reaches the model and is posted to
    /// `parent` as WM_PANEL_CHANGED. Does nothing when the window exists
    /// already; false when it cannot be created.
    bool Create(HINSTANCE instance, HWND parent);

    CRenameDlg& panel() const { return panel_; }

    /// Shows the model's values in the controls and enables the controls of
    /// the checked radio buttons. Posts nothing.
    void PushValues();
    /// Reads every control into the model.
    void PullValues();
    /// Places the focus as the panel's focus kind says, when it is shown.
    void FocusFirstField();

    /// Replaces the exclamation beep that sounds when a field refused what was
    /// typed (tests count the beeps with it).
    void SetBeep(std::function<void()> beep) { beep_ = std::move(beep); }

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;
    /// A value that could not be copied stays as it was; the next change
    /// tries again.
    void OnFailure() override {}

private:
    void OnEditChange(int id);
    void OnRadioClick(int id);
    /// Checks the model's radio button of every group and unchecks the others.
    void ShowRadios();
    void UpdateEnabling();
    /// Shows the model's problem, where the panel has a place for it.
    void ShowProblem();
    /// Pulls every value and tells the model's listener.
    void Changed();
    bool IsRadio(int id) const;

    CRenameDlg& panel_;
    HINSTANCE instance_ = nullptr;
    HWND parent_ = nullptr;
    // While the host itself writes into controls, their notifications are not
    // the user's changes.
    int quiet_ = 0;
    std::function<void()> beep_;
};
