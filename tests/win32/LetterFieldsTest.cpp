// Fields that refuse some characters: what the user types is filtered by the
// model's rule, refused characters beep, and only kept ones are changes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dialog/StringTable.h"
#include "dialog/win32/PanelHost.h"
#include "dialog/PanelIds.h"
#include "tests/win32/DialogDriver.h"
#include "tests/win32/PanelTestSupport.h"

namespace {

using panel_test::CParentDialog;
using panel_test::TakeChanges;

// The fields of an alphabetical panel, bound as its model binds them, over
// the template of any of the three alphabetical actions.
class CLettersDlg : public CRenameDlg {
public:
    CLettersDlg(int actionId, bool lowercase)
        : CRenameDlg(nullptr, actionId, ScopeRule::kAlways, FocusKind::kNextControl, IDC_PANEL_START) {
        BindText(IDC_PANEL_STEP, kStrStep, step_, "1", TextRule::kDigitsOnly);
        BindText(IDC_PANEL_START, kStrStart, start_, "a", TextRule::kStartLetters);
        BindText(IDC_PANEL_DIGITS, kStrDigits, digits_, "1", TextRule::kDigitsOnly);
        Binding(kStrStart).lowercase = lowercase;
        Restore();
    }
    std::unique_ptr<CExecute> Build(const CRunOptions&) const override { return nullptr; }

private:
    std::string step_, start_, digits_;
};

struct Typing {
    const char* what;
    int actionId;
    bool lowercase;
    int field;
    std::string typed;
    std::string kept;
    int beeps;
    int changes;  // one per kept character
};

void PrintTo(const Typing& t, std::ostream* os) {
    *os << t.what;
}

class LetterField : public testing::TestWithParam<Typing> {};

TEST_P(LetterField, KeepsWhatTheRuleAllowsAndBeepsForTheRest) {
    const Typing& t = GetParam();
    CParentDialog parent;
    CLettersDlg panel(t.actionId, t.lowercase);
    CPanelHost host(panel);
    int beeps = 0;
    host.SetBeep([&] { ++beeps; });
    ASSERT_TRUE(host.Create(::GetModuleHandleW(nullptr), parent.hwnd()));
    const HWND w = host.window();
    ::SetDlgItemTextW(w, t.field, L"");
    TakeChanges(parent.hwnd());

    dialog_test::Type(w, t.field, t.typed);
    EXPECT_EQ(dialog_test::Text(w, t.field), t.kept);
    EXPECT_EQ(panel.GetValue(panel.FindControl(t.field)->name()), t.kept);
    EXPECT_EQ(beeps, t.beeps);
    EXPECT_EQ(TakeChanges(parent.hwnd()).size(), static_cast<size_t>(t.changes));
}

INSTANTIATE_TEST_SUITE_P(
    Typing, LetterField,
    testing::Values(
        // Capitals and digits are refused; typing goes on at the end.
        Typing{"AddAlphaAtBeginning", kStrAddAlphaAtBeginning, false, IDC_PANEL_START, "abZz9", "abz", 2, 3},
        Typing{"AddAlphaAtEnd", kStrAddAlphaAtEnd, false, IDC_PANEL_START, "abZz9", "abz", 2, 3},
        // This field makes capitals small as they are typed.
        Typing{"ProduceAlphabeticalList", kStrProduceAlphabeticalList, true, IDC_PANEL_START, "abZz9", "abzz",
               1, 4},
        Typing{"NonAsciiLetters", kStrAddAlphaAtEnd, false, IDC_PANEL_START, "aébc", "abc", 1, 3},
        // The number style refuses letters as they are typed, silently.
        Typing{"DigitsField", kStrAddAlphaAtEnd, false, IDC_PANEL_STEP, "1x2", "12", 0, 2}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(LetterField, APasteKeepsTheAllowedCharactersInPlace) {
    CParentDialog parent;
    CLettersDlg panel(kStrAddAlphaAtEnd, false);
    CPanelHost host(panel);
    int beeps = 0;
    host.SetBeep([&] { ++beeps; });
    ASSERT_TRUE(host.Create(::GetModuleHandleW(nullptr), parent.hwnd()));
    const HWND w = host.window();
    ::SetDlgItemTextW(w, IDC_PANEL_START, L"ad");
    ::SendDlgItemMessageW(w, IDC_PANEL_START, EM_SETSEL, 1, 1);
    TakeChanges(parent.hwnd());
    dialog_test::Paste(w, IDC_PANEL_START, "B-😀c");
    EXPECT_EQ(dialog_test::Text(w, IDC_PANEL_START), "acd");
    EXPECT_EQ(panel.GetValue("start"), "acd");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(TakeChanges(parent.hwnd()).size(), 1u);
    // The caret stays behind the pasted text, so that typing goes on there.
    dialog_test::Type(w, IDC_PANEL_START, "x");
    EXPECT_EQ(dialog_test::Text(w, IDC_PANEL_START), "acxd");

    // A paste into a number field is filtered too: the number style stops
    // only typed letters.
    ::SendDlgItemMessageW(w, IDC_PANEL_STEP, EM_SETSEL, 0, -1);
    dialog_test::Paste(w, IDC_PANEL_STEP, "1a2");
    EXPECT_EQ(panel.GetValue("step"), "12");
    EXPECT_EQ(beeps, 2);
}

// The real alphabetical panels, once their models are in the build.
TEST(LetterField, EveryStartLettersFieldOfTheCatalogueFilters) {
    for (const CCatalogueSlot& slot : panel_test::ActionsWithPanels()) {
        auto panel = slot.create(nullptr);
        for (const CPanelBinding& b : panel->bindings()) {
            if (b.rule != TextRule::kStartLetters) continue;
            CParentDialog parent;
            CPanelHost host(*panel);
            int beeps = 0;
            host.SetBeep([&] { ++beeps; });
            ASSERT_TRUE(host.Create(::GetModuleHandleW(nullptr), parent.hwnd()));
            ::SetDlgItemTextW(host.window(), b.controlId, L"");
            dialog_test::Type(host.window(), b.controlId, "abZz9");
            EXPECT_EQ(*b.text, b.lowercase ? "abzz" : "abz") << slot.panelClass;
            EXPECT_EQ(beeps, b.lowercase ? 1 : 2) << slot.panelClass;
        }
    }
}

}  // namespace
