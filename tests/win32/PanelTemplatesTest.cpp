// The 32 panel templates as the dialog manager builds them, whether or not
// their panel model is in this build: frameless children in the dialog font,
// with every combo filled from its list.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "dialog/win32/PanelLists.h"
#include "dialog/PanelIds.h"
#include "platform/win32/Wide.h"
#include "tests/win32/PanelTestSupport.h"

namespace {

using panel_test::CParentDialog;
using panel_test::KindOf;

INT_PTR CALLBACK BareProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// A window made from a template with no host behind it.
class CBarePanel {
public:
    CBarePanel(int templateId, HWND parent)
        : hwnd_(::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), parent, BareProc, 0)) {
    }
    ~CBarePanel() {
        if (hwnd_) ::DestroyWindow(hwnd_);
    }
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_;
};

std::vector<std::string> ComboEntries(HWND combo) {
    std::vector<std::string> entries;
    const auto count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(::SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        const auto n = ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(n < 0 ? 0 : n));
        entries.push_back(platform::Narrow(text));
    }
    return entries;
}

class PanelTemplate : public testing::TestWithParam<CCatalogueSlot> {};

TEST_P(PanelTemplate, IsAFramelessChildInTheDialogFont) {
    CParentDialog parent;
    CBarePanel panel(GetParam().panelTemplate, parent.hwnd());
    ASSERT_NE(panel.hwnd(), nullptr) << "no template " << GetParam().panelTemplate;
    const LONG style = ::GetWindowLongW(panel.hwnd(), GWL_STYLE);
    const LONG exStyle = ::GetWindowLongW(panel.hwnd(), GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & (WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_VISIBLE));
    // DS_CONTROL: tabbing in the main dialog walks into the panel.
    EXPECT_TRUE(exStyle & WS_EX_CONTROLPARENT);
    EXPECT_EQ(::GetParent(panel.hwnd()), parent.hwnd());

    LOGFONTW font{};
    const auto hfont = reinterpret_cast<HFONT>(::SendMessageW(panel.hwnd(), WM_GETFONT, 0, 0));
    ASSERT_NE(hfont, nullptr);
    ASSERT_NE(::GetObjectW(hfont, sizeof font, &font), 0);
    EXPECT_EQ(std::wstring(font.lfFaceName), L"MS Shell Dlg");
}

TEST_P(PanelTemplate, FitsTheCommonGridAndKeepsEveryControlInside) {
    CParentDialog parent;
    CBarePanel panel(GetParam().panelTemplate, parent.hwnd());
    ASSERT_NE(panel.hwnd(), nullptr);
    // 280 wide, 7 to the left and right, 4 above and below (give or take a
    // pixel of rounding).
    RECT grid{7, 4, 280, 0};
    ::MapDialogRect(panel.hwnd(), &grid);
    RECT client{};
    ::GetClientRect(panel.hwnd(), &client);
    // Every panel is as wide as the others, so that switching actions does
    // not make the main dialog's layout jump.
    EXPECT_EQ(client.right, grid.right);
    for (HWND child = ::GetWindow(panel.hwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, panel.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        const int id = ::GetDlgCtrlID(child);
        EXPECT_GE(r.left, grid.left) << "control " << id;
        EXPECT_GE(r.top, grid.top) << "control " << id;
        EXPECT_LE(r.right, client.right - grid.left + 1) << "control " << id;
        EXPECT_LE(r.bottom, client.bottom - grid.top + 1) << "control " << id;
    }
}

TEST_P(PanelTemplate, EveryComboHasItsListAndEveryListItsCombo) {
    CParentDialog parent;
    CBarePanel panel(GetParam().panelTemplate, parent.hwnd());
    ASSERT_NE(panel.hwnd(), nullptr);
    EXPECT_TRUE(FillPanelLists(panel.hwnd(), ::GetModuleHandleW(nullptr), GetParam().panelTemplate));
    std::set<int> listed;
    for (const CPanelList& list : LoadPanelLists(::GetModuleHandleW(nullptr), GetParam().panelTemplate)) {
        EXPECT_TRUE(listed.insert(list.controlId).second) << "two lists for " << list.controlId;
        EXPECT_EQ(KindOf(::GetDlgItem(panel.hwnd(), list.controlId)), "ComboBox") << list.controlId;
    }
    for (HWND child = ::GetWindow(panel.hwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (KindOf(child) != "ComboBox") continue;
        const int id = ::GetDlgCtrlID(child);
        EXPECT_TRUE(listed.count(id)) << "combo " << id << " has no list";
        EXPECT_GE(::SendMessageW(child, CB_GETCOUNT, 0, 0), 2) << "combo " << id;
        EXPECT_EQ(::GetWindowLongW(child, GWL_STYLE) & 3, CBS_DROPDOWNLIST) << "combo " << id;
    }
}

INSTANTIATE_TEST_SUITE_P(AllActions, PanelTemplate, testing::ValuesIn(panel_test::Actions()),
                         [](const auto& info) { return panel_test::SlotName(info.param); });

TEST(PanelTemplates, OneForEachAction) {
    std::set<int> templates;
    for (const CCatalogueSlot& slot : panel_test::Actions()) templates.insert(slot.panelTemplate);
    EXPECT_EQ(templates.size(), 34u);
}

// The lists as the user reads them, from the filled combos.
TEST(PanelTemplates, CombosHoldTheTextsOfTheirLists) {
    const std::vector<std::string> occurrences = {"1st",         "2nd",         "3rd",         "4th",
                                                  "5th",         "6th",         "last",        "2nd to last",
                                                  "3rd to last", "4th to last", "5th to last", "6th to last"};
    const std::vector<std::string> directions = {"from the beginning", "from the end"};
    const std::vector<std::string> delimiters = {"only spaces delimit words", "all punctuation marks delimit words",
                                                 "all punctuation marks except ' delimit words"};
    const std::vector<std::string> sources = {"Use Creation Date", "Use Modification Date", "Use Last Access Date",
                                              "Use Picture Taken Date", "Use Date Taken (photos and videos)"};
    const std::vector<std::string> dates = {"",           "MMDD",     "MMDDYY",    "MMDDYYYY", "MM-DD",      "MM-DD-YY",
                                            "MM-DD-YYYY", "YYDDMM",   "YYYYDDMM",  "YY-DD-MM", "YYYY-DD-MM", "DDMM",
                                            "DDMMYY",     "DDMMYYYY", "DD-MM",     "DD-MM-YY", "DD-MM-YYYY", "YYMMDD",
                                            "YYYYMMDD",   "YY-MM-DD", "YYYY-MM-DD"};
    const std::vector<std::string> times = {"",
                                            "HH MM (am/pm)",
                                            "HH MM SS (am/pm)",
                                            "HH MM (AM/PM)",
                                            "HH MM SS (AM/PM)",
                                            "HH MM (24 hour clock)",
                                            "HH MM SS (24 hour clock)",
                                            "HH-MM (am/pm)",
                                            "HH-MM-SS (am/pm)",
                                            "HH-MM (AM/PM)",
                                            "HH-MM-SS (AM/PM)",
                                            "HH-MM (24 hour clock)",
                                            "HH-MM-SS (24 hour clock)"};
    std::vector<std::string> replaceOccurrences = {"Replace all occurences"};
    for (const char* n :
         {"1st", "2nd", "3rd", "4th", "5th", "last", "2nd to last", "3rd to last", "4th to last", "5th to last"})
        replaceOccurrences.push_back(std::string("Replace ") + n + " occurence");

    struct Expected {
        int templateId;
        int controlId;
        std::vector<std::string> entries;
    };
    const std::vector<Expected> expected = {
        {IDD_PANEL_ADD_ANYWHERE, IDC_PANEL_TO_DIRECTION, directions},
        {IDD_PANEL_ADD_ANYWHERE, IDC_PANEL_TO_EDGE, {"before the", "after the"}},
        {IDD_PANEL_ADD_ANYWHERE, IDC_PANEL_TO_OCCURRENCE, occurrences},
        {IDD_PANEL_REMOVE_ANYWHERE, IDC_PANEL_START_DIRECTION, directions},
        {IDD_PANEL_REMOVE_ANYWHERE, IDC_PANEL_START_OCCURRENCE, occurrences},
        {IDD_PANEL_REMOVE_ANYWHERE, IDC_PANEL_TO_DIRECTION, directions},
        {IDD_PANEL_REMOVE_ANYWHERE, IDC_PANEL_TO_EDGE, {"start of the", "end of the"}},
        {IDD_PANEL_REMOVE_ANYWHERE, IDC_PANEL_TO_OCCURRENCE, occurrences},
        {IDD_PANEL_REMOVE_ANYWHERE, IDC_PANEL_TO_WAY, {"next", "previous"}},
        {IDD_PANEL_REPLACE_ANYWHERE, IDC_PANEL_OCCURRENCE, replaceOccurrences},
        {IDD_PANEL_PROPERCASE, IDC_PANEL_DELIMITERS, delimiters},
        {IDD_PANEL_TITLECASE, IDC_PANEL_DELIMITERS, delimiters},
        {IDD_PANEL_REFORMAT_NUMBER, IDC_PANEL_CALCULATION, {"Add", "Substract"}},
        {IDD_PANEL_ADD_DATE_AT_BEGINNING, IDC_PANEL_DATE, sources},
        {IDD_PANEL_ADD_DATE_AT_BEGINNING, IDC_PANEL_DATE_FORMAT, dates},
        {IDD_PANEL_ADD_DATE_AT_BEGINNING, IDC_PANEL_TIME_FORMAT, times},
        {IDD_PANEL_ADD_DATE_AT_END, IDC_PANEL_DATE, sources},
        {IDD_PANEL_ADD_DATE_AT_END, IDC_PANEL_DATE_FORMAT, dates},
        {IDD_PANEL_ADD_DATE_AT_END, IDC_PANEL_TIME_FORMAT, times},
        {IDD_PANEL_TO_DATE, IDC_PANEL_DATE, sources},
        {IDD_PANEL_TO_DATE, IDC_PANEL_DATE_FORMAT, dates},
        {IDD_PANEL_TO_DATE, IDC_PANEL_TIME_FORMAT, times},
    };
    CParentDialog parent;
    for (const Expected& e : expected) {
        CBarePanel panel(e.templateId, parent.hwnd());
        ASSERT_NE(panel.hwnd(), nullptr);
        FillPanelLists(panel.hwnd(), ::GetModuleHandleW(nullptr), e.templateId);
        EXPECT_EQ(ComboEntries(::GetDlgItem(panel.hwnd(), e.controlId)), e.entries)
            << "template " << e.templateId << ", combo " << e.controlId;
    }
}

TEST(PanelLists, ReadsListsLineByLine) {
    struct Case {
        const char* text;
        std::map<int, std::vector<std::string>> lists;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"@1\na\nb\n", {{1, {"a", "b"}}}},
        // An empty line is an empty entry; a last line may lack its break.
        {"@1\n\nMMDD\n@2\nx", {{1, {"", "MMDD"}}, {2, {"x"}}}},
        {"@7\r\nwith cr\r\n", {{7, {"with cr"}}}},
        // Lines outside a list, and lists without a usable id, are dropped.
        {"stray\n@x\nlost\n@\nlost\n@3\nkept\n", {{3, {"kept"}}}},
        {"@12a\nlost\n@4\n", {{4, {}}}},
        {"@5\nÉté ✓\n", {{5, {"Été ✓"}}}},
    };
    for (const Case& c : cases) {
        std::map<int, std::vector<std::string>> got;
        for (const CPanelList& list : ParsePanelLists(c.text)) got[list.controlId] = list.entries;
        EXPECT_EQ(got, c.lists) << "for \"" << c.text << "\"";
    }
}

TEST(PanelLists, ATemplateWithoutCombosHasNoLists) {
    EXPECT_TRUE(LoadPanelLists(::GetModuleHandleW(nullptr), IDD_PANEL_ADD_AT_END).empty());
    EXPECT_TRUE(LoadPanelLists(::GetModuleHandleW(nullptr), 4242).empty());
}

}  // namespace
