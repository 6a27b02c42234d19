// Not a test: starts Qln.exe on its own and turns its wizard to one page for
// scripts/screenshot-wizard.sh:
//   WizardPilot <page 1..5> <ready-file>
// (the Qln.exe of this tree, beside Qln.dll and the pictures).
// Once the page shows it writes the wizard's place on the screen to
// <ready-file> (an ImageMagick geometry, WxH+X+Y), and cancels the wizard
// when that file is removed again, or after two minutes at the latest.
#include <windows.h>

#include <prsht.h>

#include <string>

#include "tests/launcher/LauncherTestSupport.h"
#include "tests/launcher/WizardDriver.h"
#include "tests/support/ScreenshotReady.h"

using namespace launcher_test;

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const int page = _wtoi(argv[1]);
    const std::wstring readyFile = argv[2];
    if (page < 1 || page > 5) return 2;
    CProcess run(BuiltLauncher(), L"");
    // The first start creates the prefix, which takes a while.
    const HWND sheet = run.WaitForWindow(L"Quorlin Info", 120000);
    if (!sheet) return 1;
    const CWizard wizard(sheet);
    for (int i = 1; i < page; ++i)
        if (!wizard.Go(PSBTN_NEXT, i)) return 1;
    ::Sleep(700);  // painted, picture and all
    RECT bounds{};
    ::GetWindowRect(sheet, &bounds);
    screenshot::AnnounceRect(readyFile, bounds);
    WaitUntil([&] { return ::GetFileAttributesW(readyFile.c_str()) == INVALID_FILE_ATTRIBUTES; }, 120000);
    wizard.Press(PSBTN_CANCEL);
    return run.Wait(10000) ? 0 : 1;
}
