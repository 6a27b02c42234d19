// Qln.exe: started by the Explorer extension with a list file, or by the
// user with the items to rename (dropped on it, "Send To", "Open with"), it
// shows the rename dialog of Qln.dll; started on its own, the info wizard.
// It never runs a message loop of its own: the wizard and the rename dialog
// are modal and bring theirs.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include "launcher/Launcher.h"
#include "launcher/Wizard.h"

namespace {

// The rename dialog's save box and the shell want OLE on the window thread.
class ScopedOle {
public:
    ScopedOle() : result_(::OleInitialize(nullptr)) {}
    ~ScopedOle() {
        if (SUCCEEDED(result_)) ::OleUninitialize();
    }
    ScopedOle(const ScopedOle&) = delete;
    ScopedOle& operator=(const ScopedOle&) = delete;

private:
    HRESULT result_;
};

int Run() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    ScopedOle ole;
    using launcher::CommandLine;
    const CommandLine command = launcher::ParseCommandLine(::GetCommandLineW());
    switch (command.mode) {
        case CommandLine::Mode::ListFile:
            return launcher::RenameListFile(command.arguments.front(), launcher::LoadRenameLibrary(), command.preset)
                       ? 0
                       : 1;
        case CommandLine::Mode::Paths:
            return launcher::RenamePaths(command.arguments, launcher::LoadRenameLibrary()) ? 0 : 1;
        case CommandLine::Mode::Wizard:
            break;
    }
    switch (launcher::RunWizard()) {
        case launcher::WizardEnd::Finished:
            return launcher::OpenExplorer(::ShellExecuteW) ? 0 : 1;
        case launcher::WizardEnd::Cancelled:
            return 0;
        case launcher::WizardEnd::Failed:
            break;
    }
    return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Nothing is left to catch an exception above this.
    try {
        return Run();
    } catch (...) {
        return 1;
    }
}
