#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

/// Drives the modal dialogs of this thread with the same window messages a
/// user's keys and clicks produce.
namespace dialog_test {

/// What a dialog returns when the watchdog had to close it.
inline constexpr int kWatchdog = -77;

/// Calls `open`, which shows one modal dialog; once the dialog is on screen,
/// runs `script` on it from inside the modal loop. A dialog still open after
/// `timeoutMs` is ended with kWatchdog and the test fails, so no test hangs.
/// Returns what `open` returned.
int Drive(const std::function<int()>& open, const std::function<void(HWND dialog)>& script, unsigned timeoutMs = 10000);

/// Text of control `id` (or of the dialog itself for id 0) as UTF-8.
std::string Text(HWND dialog, int id);
/// Texts of every child window that shows, in creation order.
std::vector<std::string> ChildTexts(HWND dialog);
/// Selection of edit `id` as EM_GETSEL reports it (UTF-16 units).
std::pair<DWORD, DWORD> Selection(HWND dialog, int id);
/// Types `text` into edit `id` one WM_CHAR per UTF-16 unit.
void Type(HWND dialog, int id, const std::string& text);
/// Replaces the selection of edit `id` with `text` (EM_REPLACESEL), as a paste would.
void Paste(HWND dialog, int id, const std::string& text);
/// True when the end of the text of edit `id` is scrolled into view (and its start is not).
bool ShowsItsEnd(HWND dialog, int id);
/// Clicks button `id` (BM_CLICK).
void Click(HWND dialog, int id);
/// Queues a key press for the focused control, so that it passes the dialog manager as a real key would.
void PressKey(HWND dialog, UINT virtualKey);

}  // namespace dialog_test
