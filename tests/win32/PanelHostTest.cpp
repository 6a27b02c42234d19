// Every panel that has a model, hosted in its real template: the binding
// table finds its controls, restored values show, what the user does reaches
// the model and the main dialog, and the radio buttons switch their fields.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "dialog/MemorySettings.h"
#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"
#include "dialog/panels/AddInsertPanels.h"
#include "dialog/win32/PanelHost.h"
#include "platform/win32/Wide.h"
#include "tests/win32/DialogDriver.h"
#include "tests/win32/PanelTestSupport.h"

namespace {

using panel_test::CParentDialog;
using panel_test::KindOf;
using panel_test::TakeChanges;

HINSTANCE Instance() {
    return ::GetModuleHandleW(nullptr);
}

// A text the field can hold and that differs from every default.
std::string SampleText(const CPanelBinding& b, bool second) {
    if (b.rule == TextRule::kDigitsOnly) return second ? "907" : "42";
    if (b.rule == TextRule::kStartLetters) return second ? "zq" : "qz";
    if (b.maxChars == 1) return second ? "-" : "_";
    return second ? "Ärger ✓" : "Résumé 😀";
}

// A choice other than the default.
int SampleNumber(const CPanelBinding& b) {
    switch (b.kind) {
        case ValueKind::kComboIndex:
            return b.entries - 1;
        case ValueKind::kCheckBox:
            return 1 - b.defaultNumber;
        case ValueKind::kRadioGroup:
            for (const CRadioChoice& r : b.radios)
                if (r.radioId != b.defaultNumber) return r.radioId;
            return b.defaultNumber;
        case ValueKind::kEditText:
            break;
    }
    return 0;
}

std::string ControlText(HWND panel, int id) {
    return dialog_test::Text(panel, id);
}

bool Checked(HWND panel, int id) {
    return ::IsDlgButtonChecked(panel, id) == BST_CHECKED;
}

bool Enabled(HWND panel, int id) {
    return ::IsWindowEnabled(::GetDlgItem(panel, id)) != FALSE;
}

int Selected(HWND panel, int id) {
    return static_cast<int>(::SendDlgItemMessageW(panel, id, CB_GETCURSEL, 0, 0));
}

// Selects entry `index` as the user's click in the list does.
void Choose(HWND panel, int id, int index) {
    const HWND combo = ::GetDlgItem(panel, id);
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(panel, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

// Replaces the whole text of edit `id` as a paste over a selection does.
void Retype(HWND panel, int id, const std::string& text) {
    ::SendDlgItemMessageW(panel, id, EM_SETSEL, 0, -1);
    dialog_test::Paste(panel, id, text);
}

void ExpectEnablingOfTheModel(HWND panel, const CRenameDlg& model) {
    for (const auto& [id, enabled] : model.ControlStates()) EXPECT_EQ(Enabled(panel, id), enabled) << "control " << id;
}

class HostedPanel : public testing::TestWithParam<CCatalogueSlot> {
protected:
    std::unique_ptr<CRenameDlg> MakePanel(CSettingsStore* store) { return GetParam().create(store); }
};

TEST_P(HostedPanel, EveryBoundControlIsInTheTemplateAsItsKind) {
    CParentDialog parent;
    auto panel = MakePanel(nullptr);
    CPanelHost host(*panel);
    ASSERT_TRUE(host.Create(Instance(), parent.hwnd()));
    const HWND w = host.window();
    std::set<int> bound;
    for (const CPanelBinding& b : panel->bindings()) {
        switch (b.kind) {
            case ValueKind::kEditText: {
                const HWND edit = ::GetDlgItem(w, b.controlId);
                ASSERT_EQ(KindOf(edit), "Edit") << b.name();
                const LONG style = ::GetWindowLongW(edit, GWL_STYLE);
                EXPECT_EQ((style & ES_NUMBER) != 0, b.rule == TextRule::kDigitsOnly) << b.name();
                EXPECT_EQ((style & ES_LOWERCASE) != 0, b.lowercase) << b.name();
                if (b.maxChars > 0) {
                    EXPECT_EQ(::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), b.maxChars) << b.name();
                }
                break;
            }
            case ValueKind::kComboIndex: {
                const HWND combo = ::GetDlgItem(w, b.controlId);
                ASSERT_EQ(KindOf(combo), "ComboBox") << b.name();
                EXPECT_EQ(::SendMessageW(combo, CB_GETCOUNT, 0, 0), b.entries) << b.name();
                break;
            }
            case ValueKind::kCheckBox:
                EXPECT_EQ(KindOf(::GetDlgItem(w, b.controlId)), "CheckBox") << b.name();
                break;
            case ValueKind::kRadioGroup:
                for (const CRadioChoice& r : b.radios) {
                    EXPECT_EQ(KindOf(::GetDlgItem(w, r.radioId)), "Radio") << b.name() << " " << r.radioId;
                    for (int id : r.enables) EXPECT_NE(::GetDlgItem(w, id), nullptr) << "radio " << r.radioId;
                    bound.insert(r.radioId);
                }
                break;
        }
        if (b.controlId) bound.insert(b.controlId);
    }
    // And the reverse: no field in the window that no value stands behind.
    for (HWND child = ::GetWindow(w, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::string kind = KindOf(child);
        if (kind == "Edit" || kind == "ComboBox" || kind == "CheckBox" || kind == "Radio") {
            EXPECT_TRUE(bound.count(::GetDlgCtrlID(child))) << kind << " " << ::GetDlgCtrlID(child) << " is not bound";
        }
    }
}

TEST_P(HostedPanel, ShowsTheRestoredValuesWithoutPostingAChange) {
    CMemorySettings memory;
    std::vector<std::pair<const CPanelBinding*, std::string>> expected;
    {
        // The stored values of an earlier run of this action.
        auto probe = MakePanel(nullptr);
        memory.values[LoadStringText(kStrLastSelection)] = probe->actionName();
        for (const CPanelBinding& b : probe->bindings()) {
            if (b.kind == ValueKind::kEditText)
                memory.values[b.name()] = SampleText(b, false);
            else
                memory.values[b.name()] = SampleNumber(b);
        }
    }
    CSettingsStore store(CSettingsStore::kDialogSubKey, CMemorySettings::Borrow(memory));
    auto panel = MakePanel(&store);
    for (const CPanelBinding& b : panel->bindings()) {
        const std::string stored =
            b.kind == ValueKind::kEditText ? SampleText(b, false) : std::to_string(SampleNumber(b));
        ASSERT_EQ(panel->GetValue(b.name()), stored) << "the model did not restore " << b.name();
    }

    CParentDialog parent;
    CPanelHost host(*panel);
    ASSERT_TRUE(host.Create(Instance(), parent.hwnd()));
    const HWND w = host.window();
    for (const CPanelBinding& b : panel->bindings()) {
        switch (b.kind) {
            case ValueKind::kEditText:
                EXPECT_EQ(ControlText(w, b.controlId), SampleText(b, false)) << b.name();
                break;
            case ValueKind::kComboIndex:
                EXPECT_EQ(Selected(w, b.controlId), SampleNumber(b)) << b.name();
                break;
            case ValueKind::kCheckBox:
                EXPECT_EQ(Checked(w, b.controlId), SampleNumber(b) == 1) << b.name();
                break;
            case ValueKind::kRadioGroup:
                for (const CRadioChoice& r : b.radios)
                    EXPECT_EQ(Checked(w, r.radioId), r.radioId == SampleNumber(b)) << b.name() << " " << r.radioId;
                break;
        }
    }
    ExpectEnablingOfTheModel(w, *panel);
    // Showing values is not a change of the user's: no preview is rebuilt.
    EXPECT_TRUE(TakeChanges(parent.hwnd()).empty());
}

TEST_P(HostedPanel, WhatTheUserDoesReachesTheModelAndIsPostedToTheParent) {
    CParentDialog parent;
    auto panel = MakePanel(nullptr);
    CPanelHost host(*panel);
    ASSERT_TRUE(host.Create(Instance(), parent.hwnd()));
    const HWND w = host.window();
    const auto postedOnce = [&](const std::string& what) {
        const std::vector<LPARAM> changes = TakeChanges(parent.hwnd());
        EXPECT_EQ(changes.size(), 1u) << what;
        for (LPARAM p : changes) EXPECT_EQ(p, reinterpret_cast<LPARAM>(panel.get())) << what;
    };
    for (const CPanelBinding& b : panel->bindings()) {
        switch (b.kind) {
            case ValueKind::kEditText:
                Retype(w, b.controlId, SampleText(b, true));
                EXPECT_EQ(*b.text, SampleText(b, true)) << b.name();
                postedOnce("typing into " + b.name());
                break;
            case ValueKind::kComboIndex:
                Choose(w, b.controlId, b.entries - 1);
                EXPECT_EQ(*b.number, b.entries - 1) << b.name();
                postedOnce("choosing in " + b.name());
                break;
            case ValueKind::kCheckBox:
                dialog_test::Click(w, b.controlId);
                EXPECT_EQ(*b.number, 1 - b.defaultNumber) << b.name();
                postedOnce("clicking " + b.name());
                dialog_test::Click(w, b.controlId);
                EXPECT_EQ(*b.number, b.defaultNumber) << b.name();
                postedOnce("clicking " + b.name() + " again");
                break;
            case ValueKind::kRadioGroup:
                // Last to first, so that every button is a change.
                for (auto r = b.radios.rbegin(); r != b.radios.rend(); ++r) {
                    dialog_test::Click(w, r->radioId);
                    EXPECT_EQ(*b.number, r->radioId) << b.name();
                    postedOnce("clicking radio " + std::to_string(r->radioId));
                }
                break;
        }
    }
}

TEST_P(HostedPanel, EachRadioEnablesItsOwnFieldsOnly) {
    CParentDialog parent;
    auto panel = MakePanel(nullptr);
    CPanelHost host(*panel);
    ASSERT_TRUE(host.Create(Instance(), parent.hwnd()));
    const HWND w = host.window();
    ExpectEnablingOfTheModel(w, *panel);
    for (const CPanelBinding& group : panel->bindings()) {
        if (group.kind != ValueKind::kRadioGroup) continue;
        for (const CRadioChoice& chosen : group.radios) {
            dialog_test::Click(w, chosen.radioId);
            for (const CRadioChoice& r : group.radios) {
                EXPECT_EQ(Checked(w, r.radioId), r.radioId == chosen.radioId) << r.radioId;
                for (int id : r.enables) {
                    const bool own = std::count(chosen.enables.begin(), chosen.enables.end(), id) > 0;
                    EXPECT_EQ(Enabled(w, id), own) << "control " << id << " with radio " << chosen.radioId;
                }
            }
        }
    }
    TakeChanges(parent.hwnd());
}

TEST_P(HostedPanel, FocusGoesWhereThePanelSays) {
    CParentDialog parent(true);
    auto panel = MakePanel(nullptr);
    CPanelHost host(*panel);
    ASSERT_TRUE(host.Create(Instance(), parent.hwnd()));
    ::ShowWindow(host.window(), SW_SHOW);
    ::SetFocus(parent.hwnd());
    host.FocusFirstField();
    const HWND focus = ::GetFocus();
    const int id = panel->focusControl();
    switch (panel->focusKind()) {
        case FocusKind::kNone:
            EXPECT_EQ(focus, parent.hwnd());
            break;
        case FocusKind::kNextControl:
        case FocusKind::kSelectAll: {
            ASSERT_EQ(focus, ::GetDlgItem(host.window(), id));
            const auto [start, end] = dialog_test::Selection(host.window(), id);
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, static_cast<DWORD>(::GetWindowTextLengthW(focus)));
            break;
        }
        case FocusKind::kCombo:
            ASSERT_EQ(focus, ::GetDlgItem(host.window(), id));
            EXPECT_EQ(Selected(host.window(), id), *panel->FindControl(id)->number);
            break;
    }
    TakeChanges(parent.hwnd());
}

INSTANTIATE_TEST_SUITE_P(Catalogue, HostedPanel, testing::ValuesIn(panel_test::ActionsWithPanels()),
                         [](const auto& info) { return panel_test::SlotName(info.param); });

TEST(PanelHost, AFieldSwitchedOffByItsRadioPassesTheFocusOn) {
    CParentDialog parent(true);
    CAddAnywhereDlg panel(nullptr);
    ASSERT_TRUE(panel.CheckRadio(CAddAnywhereDlg::kAtOccurrence));
    CPanelHost host(panel);
    ASSERT_TRUE(host.Create(Instance(), parent.hwnd()));
    ::ShowWindow(host.window(), SW_SHOW);
    ASSERT_FALSE(Enabled(host.window(), panel.focusControl()));
    host.FocusFirstField();
    // The text to insert is the first field that is on.
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(host.window(), 1047));
}

TEST(PanelHost, PushAndPullMoveValuesBothWays) {
    CParentDialog parent;
    CAddAnywhereDlg panel(nullptr);
    CPanelHost host(panel);
    ASSERT_TRUE(host.Create(Instance(), parent.hwnd()));
    ASSERT_TRUE(panel.SetValue("toPosition", "17"));
    ASSERT_TRUE(panel.SetValue("addAnywhereSelection", "1027"));
    host.PushValues();
    EXPECT_EQ(ControlText(host.window(), 1026), "17");
    EXPECT_TRUE(Checked(host.window(), 1027));
    EXPECT_FALSE(Checked(host.window(), 1024));
    EXPECT_FALSE(Enabled(host.window(), 1026));
    EXPECT_TRUE(Enabled(host.window(), 1042));
    EXPECT_TRUE(TakeChanges(parent.hwnd()).empty());

    // Controls written behind the host's back reach the model on a pull.
    ::SetDlgItemTextW(host.window(), 1047, L"x");
    ::SendDlgItemMessageW(host.window(), 1029, CB_SETCURSEL, 6, 0);
    TakeChanges(parent.hwnd());
    host.PullValues();
    EXPECT_EQ(panel.GetValue("add"), "x");
    EXPECT_EQ(panel.GetValue("toOccurenceType"), "6");
    // A combo with nothing selected leaves the model's choice alone.
    ::SendDlgItemMessageW(host.window(), 1029, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    host.PullValues();
    EXPECT_EQ(panel.GetValue("toOccurenceType"), "6");
}

TEST(PanelHost, CreatesItsWindowOnceAndOutlivesItsParent) {
    CAddAtEndDlg panel(nullptr);
    CPanelHost host(panel);
    HWND first = nullptr;
    {
        CParentDialog parent;
        ASSERT_TRUE(host.Create(Instance(), parent.hwnd()));
        first = host.window();
        ASSERT_TRUE(host.Create(Instance(), parent.hwnd()));
        EXPECT_EQ(host.window(), first);
        EXPECT_FALSE(::IsWindowVisible(first));
    }
    // The parent took the panel's window with it; the host knows.
    EXPECT_EQ(host.window(), nullptr);
    host.PushValues();
    host.PullValues();
    host.FocusFirstField();
}

TEST(PanelHost, AGoneHostNoLongerPosts) {
    CParentDialog parent;
    CAddAtEndDlg panel(nullptr);
    {
        CPanelHost host(panel);
        ASSERT_TRUE(host.Create(Instance(), parent.hwnd()));
    }
    panel.NotifyChanged();
    EXPECT_TRUE(TakeChanges(parent.hwnd()).empty());
}

TEST(PanelHost, AMissingTemplateIsReported) {
    // A model of no action in the catalogue, so of no template.
    class CNoTemplateDlg : public CRenameDlg {
    public:
        CNoTemplateDlg() : CRenameDlg(nullptr, kStrFiles, ScopeRule::kAlways, FocusKind::kNone, 0) {}
        std::unique_ptr<CExecute> Build(const CRunOptions&) const override { return nullptr; }
    };
    CParentDialog parent;
    CNoTemplateDlg panel;
    EXPECT_EQ(panel.templateId(), 0);
    CPanelHost host(panel);
    EXPECT_FALSE(host.Create(Instance(), parent.hwnd()));
    EXPECT_EQ(host.window(), nullptr);
    panel.NotifyChanged();
    EXPECT_TRUE(TakeChanges(parent.hwnd()).empty());
}

}  // namespace
