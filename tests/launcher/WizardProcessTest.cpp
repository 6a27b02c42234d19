// The wizard of the real Qln.exe of this tree, started on its own as a user
// starts it, and watched from outside.
#include <gtest/gtest.h>

#include <windows.h>

#include <prsht.h>

#include <algorithm>

#include "platform/win32/Wide.h"
#include "tests/launcher/LauncherTestSupport.h"
#include "tests/launcher/WizardDriver.h"

using namespace launcher_test;

namespace {

// Explorer windows, as Windows and Wine name their class. Other tests may
// open windows of their own meanwhile; only these count.
std::vector<HWND> ExplorerWindows() {
    std::vector<HWND> out;
    for (const wchar_t* name : {L"CabinetWClass", L"ExploreWClass", L"ExplorerWClass"}) {
        const auto found = TopLevelWindows(0, name);
        out.insert(out.end(), found.begin(), found.end());
    }
    return out;
}

std::vector<HWND> NewExplorerWindows(const std::vector<HWND>& before) {
    std::vector<HWND> out;
    for (const HWND window : ExplorerWindows())
        if (std::find(before.begin(), before.end(), window) == before.end()) out.push_back(window);
    return out;
}

// Its pictures lie beside it, as the setup program lays them out: no page
// reports one missing. Cancel ends it, and nothing else is started.
TEST(WizardProcess, StartedOnItsOwnItShowsTheFivePagesUntilCancel) {
    const auto before = ExplorerWindows();
    CProcess run(BuiltLauncher(), L"");
    const HWND sheet = run.WaitForWindow(L"Quorlin Info");
    ASSERT_TRUE(sheet) << "no wizard";
    const CWizard wizard(sheet);
    for (int i = 0; i < 5; ++i) {
        if (i > 0) {
            ASSERT_TRUE(wizard.Go(PSBTN_NEXT, i)) << "page " << i + 1;
        }
        EXPECT_EQ(wizard.text(), kExpectedPages[i].text) << "page " << i + 1;
        EXPECT_TRUE(wizard.ShowsButtons(kExpectedPages[i].buttons)) << "page " << i + 1;
        EXPECT_FALSE(run.WaitForWindow(L"Error", 200)) << "page " << i + 1 << " has its picture";
    }
    ASSERT_TRUE(wizard.Go(PSBTN_BACK, 3));
    wizard.Press(PSBTN_CANCEL);
    ASSERT_TRUE(run.Wait()) << "still running after Cancel";
    EXPECT_EQ(run.exitCode(), 0u);
    ::Sleep(500);
    EXPECT_EQ(NewExplorerWindows(before), std::vector<HWND>{});
}

// What the shell does with "explore" is the shell's; the program ends.
TEST(WizardProcess, FinishEndsTheProgram) {
    const auto before = ExplorerWindows();
    CProcess run(BuiltLauncher(), L"");
    const HWND sheet = run.WaitForWindow(L"Quorlin Info");
    ASSERT_TRUE(sheet);
    const CWizard wizard(sheet);
    for (int i = 1; i < 5; ++i) ASSERT_TRUE(wizard.Go(PSBTN_NEXT, i));
    wizard.Press(PSBTN_FINISH);
    EXPECT_TRUE(run.Wait()) << "still running after Finish";
    // An Explorer window that the shell opened is closed again.
    ::Sleep(500);
    for (const HWND window : NewExplorerWindows(before)) ::PostMessageW(window, WM_CLOSE, 0, 0);
}

}  // namespace
