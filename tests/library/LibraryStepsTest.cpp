// The rename dialog's steps, presets and pattern action, driven from a second
// thread with window messages, with the disk and the registry checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>

#include "dialog/PanelIds.h"
#include "dialog/win32/MainResource.h"
#include "platform/win32/Wide.h"
#include "tests/library/LibraryDriver.h"
#include "tests/support/TempDir.h"

using namespace library_test;
using testing_support::TempDir;

namespace {

using Snap = std::set<std::string>;

std::wstring StoredText(const wchar_t* name) {
    wchar_t text[4096] = {};
    DWORD size = sizeof text;
    if (::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Tavrel\\A Quorlin", name, RRF_RT_REG_SZ, nullptr, text, &size))
        return L"<missing>";
    return text;
}

class LibraryStepsTest : public testing::Test {
protected:
    void SetUp() override { ForgetSettings(); }
    void TearDown() override { ForgetSettings(); }
    Library library;
};

// Sends a command of the Presets menu as choosing it does, without the menu.
void PresetCommand(const MainDialog& d, int id) {
    ::PostMessageW(d.main, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

TEST_F(LibraryStepsTest, TwoStepsKeptAsAPresetAndAppliedToOk) {
    TempDir dir;
    dir.File("IMG_a.jpg", "a");
    dir.File("IMG_b.jpg", "b");
    Rename(library, {dir / "IMG_a.jpg", dir / "IMG_b.jpg"}, [](MainDialog& d) {
        EXPECT_EQ(Text(d.main, IDC_MAIN_STEP), "Step 1 of 1");
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d.main, IDC_MAIN_STEP_REMOVE)));
        ComboChoose(d.scope, 1);
        ASSERT_TRUE(d.Choose("Replace anywhere"));
        EditSetText(d.Field(IDC_PANEL_FIND), "IMG_");
        EditSetText(d.Field(IDC_PANEL_REPLACE), "Trip ");
        Click(::GetDlgItem(d.main, IDC_MAIN_STEP_ADD));
        EXPECT_EQ(Text(d.main, IDC_MAIN_STEP), "Step 2 of 2");
        ComboChoose(d.scope, 3);
        ASSERT_TRUE(d.Choose("Make UPPERCASE"));
        EXPECT_TRUE(d.ShowsRows({{"IMG_a.jpg", "Trip a.JPG", ""}, {"IMG_b.jpg", "Trip b.JPG", ""}}));
        EXPECT_EQ(d.Status(), "2 items, 2 to rename (2 steps)");

        // Kept as a preset through the name box.
        PresetCommand(d, ID_PRESET_SAVE_AS);
        const HWND box = WaitForWindow("Save preset");
        ASSERT_TRUE(box);
        EditSetText(::GetDlgItem(box, IDC_PRESET_NAME), "holiday");
        Click(::GetDlgItem(box, IDOK));
        EXPECT_TRUE(WaitUntil([] { return StoredText(L"presetNames") == L"holiday\n"; }));

        // Back to one step: the first shows again, then the preset brings
        // both back.
        Click(::GetDlgItem(d.main, IDC_MAIN_STEP_REMOVE));
        EXPECT_EQ(Text(d.main, IDC_MAIN_STEP), "Step 1 of 1");
        EXPECT_EQ(Text(d.action), "Replace anywhere");
        EXPECT_TRUE(d.ShowsRows({{"IMG_a.jpg", "Trip a.jpg", ""}, {"IMG_b.jpg", "Trip b.jpg", ""}}));
        PresetCommand(d, ID_PRESET_APPLY);
        EXPECT_TRUE(WaitUntil([&] { return Text(d.main, IDC_MAIN_STEP) == "Step 1 of 2"; }));
        EXPECT_TRUE(d.ShowsRows({{"IMG_a.jpg", "Trip a.JPG", ""}, {"IMG_b.jpg", "Trip b.JPG", ""}}));
        ClickLater(::GetDlgItem(d.main, IDOK));
    });
    EXPECT_EQ(dir.Snapshot(), (Snap{"Trip a.JPG=a", "Trip b.JPG=b"}));
}

TEST_F(LibraryStepsTest, APatternThatDoesNotCompileSaysWhereAndKeepsOkOff) {
    TempDir dir;
    dir.File("a1.txt", "a");
    Rename(library, {dir / "a1.txt"}, [](MainDialog& d) {
        ComboChoose(d.scope, 1);
        ASSERT_TRUE(d.Choose("Replace by pattern"));
        EditSetText(d.Field(IDC_PANEL_REPLACE), "[$1]");
        EditSetText(d.Field(IDC_PANEL_FIND), "(\\d");
        const std::string error = "Error at character 4: missing closing parenthesis";
        const HWND ok = ::GetDlgItem(d.main, IDOK);
        // The preview follows a change once the dialog has its message.
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindowEnabled(ok); }));
        EXPECT_EQ(Text(::GetDlgItem(ChildDialogWith(d.main, IDC_PANEL_PROBLEM), IDC_PANEL_PROBLEM)), error);
        EXPECT_EQ(d.Status(), error);
        EXPECT_TRUE(d.ShowsRows({}));
        EditSetText(d.Field(IDC_PANEL_FIND), "(\\d)");
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(ok) != FALSE; }));
        EXPECT_TRUE(d.ShowsRows({{"a1.txt", "a[1].txt", ""}}));
        ClickLater(::GetDlgItem(d.main, IDOK));
    });
    EXPECT_EQ(dir.Snapshot(), (Snap{"a[1].txt=a"}));
}

}  // namespace
