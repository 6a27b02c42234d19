#pragma once

// The info wizard "Quorlin Info" that Qln.exe shows when it is started on
// its own: five pages that tell how the product is used from Explorer.

#include <windows.h>

namespace launcher {

/// How the wizard ended.
enum class WizardEnd {
    Finished,   ///< through Finish on the last page
    Cancelled,  ///< through Cancel, Escape or the close box
    Failed,     ///< it could not be shown
};

/// Shows the wizard modally, without an owner. Each page shows its picture
/// (wizard1.jpg .. wizard5.jpg) from the folder of the loaded module "Qln",
/// or from this program's folder when no such module is loaded; a picture
/// that cannot be opened is reported once, when its page is first shown.
WizardEnd RunWizard();

/// The shell's ShellExecuteW, or what a test puts in its place.
using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);

/// Opens an Explorer window, as Finish promises: the shell's "explore" on an
/// empty name, shown normally, without owner. False when the shell could not.
bool OpenExplorer(ShellExecuteFunction execute);

}  // namespace launcher
