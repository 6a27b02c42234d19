#include "tests/launcher/WizardDriver.h"

#include <commctrl.h>
#include <prsht.h>

#include "tests/launcher/LauncherTestSupport.h"

namespace launcher_test {

namespace {

// The sheet's own buttons.
constexpr int kBack = 0x3023;
constexpr int kNext = 0x3024;
constexpr int kFinish = 0x3025;

bool Offered(HWND sheet, int id) {
    const HWND button = ::GetDlgItem(sheet, id);
    return button && ::IsWindowVisible(button) && ::IsWindowEnabled(button);
}

}  // namespace

const CExpectedPage kExpectedPages[5] = {
    {L"\"Quorlin\" is an Explorer extension! There is no real 'exe' file!\n\nTo launch \"Quorlin\", please open "
     L"Explorer, select the file you want to rename and right click with the mouse to show the popup menu.",
     {false, true, false}},
    {L"Now please select what you want rename: the entire file name,  with or without the extension, ...\nYou can "
     L"then decide wether to rename only files and/or folders and/or subfolders with their content.",
     {true, true, false}},
    {L"Now you can select what kind of rename you want.", {true, true, false}},
    {L"Please enter how you want the files to be renamed.", {true, true, false}},
    {L"After clicking on the OK button, the files will be renamed.\nIf you click now on the finish button, Explorer "
     L"will be launched and you can start renaming your files using \"Quorlin\".",
     {true, false, true}},
};

HWND CWizard::page() const {
    return reinterpret_cast<HWND>(::SendMessageW(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
}

int CWizard::index() const {
    const HWND shown = page();
    return shown ? static_cast<int>(::SendMessageW(sheet_, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(shown), 0)) : -1;
}

std::wstring CWizard::text() const {
    return Text(page(), 1002);
}

CWizardButtons CWizard::buttons() const {
    return {Offered(sheet_, kBack), Offered(sheet_, kNext), Offered(sheet_, kFinish)};
}

void CWizard::Press(int button) const {
    ::PostMessageW(sheet_, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
}

bool CWizard::Go(int button, int target) const {
    Press(button);
    return WaitUntil([&] { return index() == target; }) && ShowsButtons(kExpectedPages[target].buttons);
}

bool CWizard::ShowsButtons(const CWizardButtons& expected) const {
    return WaitUntil([&] { return buttons() == expected; }, 5000);
}

}  // namespace launcher_test
