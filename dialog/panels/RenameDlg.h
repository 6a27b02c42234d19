#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/Execute.h"

class CSettingsStore;

/// How a panel value moves between its control and its member.
enum class ValueKind {
    kEditText,    ///< the edit's text
    kComboIndex,  ///< the selected entry's index
    kCheckBox,    ///< 0 or 1
    kRadioGroup,  ///< the control id of the checked radio button
};

/// What an edit field accepts.
enum class TextRule {
    kAny,
    kDigitsOnly,    ///< "0" to "9" (the edit has the number style)
    kStartLetters,  ///< "a" to "z": the start of an alphabetical sequence
};

/// What FocusFirstField does when the panel is shown.
enum class FocusKind {
    kNone,         ///< nothing
    kNextControl,  ///< focus moves to the first field as tabbing does
    kSelectAll,    ///< the first edit is focused with its whole text selected
    kCombo,        ///< the first combo is focused and its index selected again
};

/// Which "Change:" scopes an action is offered for.
enum class ScopeRule {
    kAlways,
    kNotExtension,               ///< not for scopes 2 and 3
    kNotExtensionWithSeparator,  ///< not for scope 2
    kNameOnly,                   ///< only for scope 1
};

/// One radio button of a group and the controls that only it enables.
struct CRadioChoice {
    int radioId;
    std::vector<int> enables;
};

/// Binds one panel value to its control and its settings name. A generic
/// host moves values between controls and members by this alone, and the
/// command line sets them by their settings names.
struct CPanelBinding {
    int controlId = 0;  ///< 0 for a radio group, whose buttons are in `radios`
    ValueKind kind = ValueKind::kEditText;
    int nameId = 0;               ///< string id of the settings name
    std::string* text = nullptr;  ///< the member of an edit
    int* number = nullptr;        ///< the member of a combo, check box or radio group
    std::string defaultText;
    int defaultNumber = 0;
    int entries = 0;  ///< combo: number of entries
    std::vector<CRadioChoice> radios;
    TextRule rule = TextRule::kAny;
    int maxChars = 0;                ///< 0: no limit
    bool lowercase = false;          ///< the edit turns typed capitals into lower case
    bool emptyMeansDefault = false;  ///< an empty stored text restores the default

    /// The settings name: the text of nameId.
    std::string name() const;
    /// True when `value` is a value this field can hold.
    bool Accepts(const std::string& value) const;
    bool Accepts(int value) const;
};

/// A step is the one number that may be negative, where the field itself
/// holds digits only: true when `b` is a step and `value` is a negative
/// whole number, which is then set. The command line and presets set such
/// steps; the dialog's number field keeps the minus sign out.
bool SetNegativeStep(const CPanelBinding& b, const std::string& value);

/// The model of one action's parameter panel: its values with their defaults,
/// their restore and save, the operation it builds and the scopes it is
/// offered for. Windows are views over it (dialog/win32).
class CRenameDlg {
public:
    virtual ~CRenameDlg();
    CRenameDlg(const CRenameDlg&) = delete;
    CRenameDlg& operator=(const CRenameDlg&) = delete;

    /// Builds the operation from the current values and `options` (whose
    /// scope the panel's own scope replaces), and saves "lastSelection" and
    /// every value; null, with nothing saved, when a required value is
    /// missing.
    std::unique_ptr<CExecute> CreateOperation(const CRunOptions& options);
    /// The operation the current values make, as CreateOperation builds it,
    /// without saving anything: a step of a rename that the dialog does not
    /// show.
    std::unique_ptr<CExecute> MakeOperation(const CRunOptions& options) const;
    /// Why the current values build no operation, for the panel to show (a
    /// pattern that does not compile); empty when they build one, or when a
    /// value is simply missing.
    virtual std::string Problem() const { return {}; }
    /// True when the action is offered for the "Change:" scope `scope`.
    virtual bool AppliesToScope(int scope) const;

    FocusKind focusKind() const { return focusKind_; }
    /// The control that FocusFirstField focuses; 0 for kNone.
    int focusControl() const { return focusControl_; }

    /// The text in the "Action:" combo, stored as "lastSelection".
    const std::string& actionName() const { return actionName_; }
    int actionNameId() const { return actionNameId_; }
    /// The dialog template of the panel, from its line of the catalogue.
    int templateId() const;
    ScopeRule scopeRule() const { return scopeRule_; }

    /// The "Change:" scope, set by the main dialog before each use.
    int scope() const { return scope_; }
    void SetScope(int scope) { scope_ = scope; }

    CSettingsStore* settings() const { return store_; }

    /// Every value of the panel, in the order it is saved.
    const std::vector<CPanelBinding>& bindings() const { return bindings_; }
    /// The binding of an edit, combo or check box, or null.
    const CPanelBinding* FindControl(int controlId) const;
    /// The binding of a settings name ("find"), or null.
    const CPanelBinding* FindValue(const std::string& name) const;

    /// Sets the value named `name` from text, as the command line does:
    /// numbers in decimal, a radio group by the control id of its button.
    /// False, with `error` telling why, when the panel has no such value or
    /// the field cannot hold it.
    bool SetValue(const std::string& name, const std::string& value, std::string* error = nullptr);
    /// The value named `name` as text; empty for an unknown name.
    std::string GetValue(const std::string& name) const;

    /// Checks `radioId` in its group; false when it is not one of the panel's
    /// radio buttons.
    bool CheckRadio(int radioId);
    /// Every control that a radio button governs, with whether the checked
    /// radios enable it now.
    std::vector<std::pair<int, bool>> ControlStates() const;
    /// False only for a control that an unchecked radio button governs.
    bool IsControlEnabled(int controlId) const;

    /// Applies the rule of the edit `controlId` to `text`, which becomes what
    /// the field should hold; true when characters had to be dropped (the view
    /// then puts the text back and beeps).
    bool FilterText(int controlId, std::string& text) const;

    /// Called by NotifyChanged; the Win32 host posts its change message here.
    void SetChangeListener(std::function<void(CRenameDlg&)> listener) { listener_ = std::move(listener); }
    /// Tells the main dialog that a value changed, so that the preview follows.
    void NotifyChanged();

    /// Puts every value back to its built-in default.
    void ResetToDefaults();

    /// Every value by its settings name, as text, in the order of bindings().
    std::vector<std::pair<std::string, std::string>> Values() const;
    /// Puts every value back to its default, then sets `values` as SetValue
    /// does, and a negative step as SetNegativeStep. False, with `error` telling why, at the first that the panel
    /// does not take; the values are then the defaults with those before it.
    bool SetValues(const std::vector<std::pair<std::string, std::string>>& values, std::string* error = nullptr);

protected:
    CRenameDlg(CSettingsStore* store, int actionNameId, ScopeRule scopeRule, FocusKind focusKind, int focusControl);

    void BindText(int controlId, int nameId, std::string& member, const std::string& defaultText,
                  TextRule rule = TextRule::kAny);
    void BindCombo(int controlId, int nameId, int& member, int entries, int defaultIndex = 0);
    void BindCheck(int controlId, int nameId, int& member, int defaultValue = 0);
    void BindRadios(int nameId, int& member, std::vector<CRadioChoice> radios, int defaultId);
    /// The operation the current values make with `options`, whose scope is
    /// the panel's; null when a value it needs is missing.
    virtual std::unique_ptr<CExecute> Build(const CRunOptions& options) const = 0;
    /// For the panels that store nothing, not even "lastSelection".
    void SaveNothing() { saves_ = false; }
    /// The binding of `nameId`, for settings that the Bind calls do not take.
    CPanelBinding& Binding(int nameId);

    /// Sets the defaults, then the stored values when "lastSelection" names
    /// this action. Stored values the fields cannot hold keep their defaults.
    /// Every panel calls it at the end of its constructor.
    void Restore();
    /// Writes "lastSelection" and every value.
    void Save();

private:
    std::string actionName_;
    CSettingsStore* store_;
    int scope_ = 0;
    int actionNameId_;
    ScopeRule scopeRule_;
    FocusKind focusKind_;
    int focusControl_;
    std::vector<CPanelBinding> bindings_;
    std::function<void(CRenameDlg&)> listener_;
    bool saves_ = true;
};
