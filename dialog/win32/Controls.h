#pragma once

// Free helpers for the windows and controls of our dialogs, named after the
// object they act on. Text crosses them as UTF-8; the wide calls underneath
// keep every name intact whatever the process code page.

#include <windows.h>

#include <string>
#include <string_view>

/// The text of `window` (a control or a dialog).
std::string WindowText(HWND window);
/// Sets the text of `window`.
void WindowSetText(HWND window, std::string_view text);
/// The class name of `window` ("Edit", "#32770", ...).
std::wstring WindowClass(HWND window);
/// Shows or hides `window`.
void WindowShow(HWND window, bool show);
/// The rectangle of `window` in the client coordinates of its parent.
RECT WindowRectInParent(HWND window);
/// Moves `window` to `rect`, given in its parent's client coordinates.
void WindowMove(HWND window, const RECT& rect);

/// The text of control `id` of `dialog`.
std::string DialogItemText(HWND dialog, int id);
/// Sets the text of control `id` of `dialog`.
void DialogItemSetText(HWND dialog, int id, std::string_view text);
/// Moves the focus to `control` the way the dialog manager does (an edit
/// gets its text selected, the default button follows).
void DialogFocus(HWND dialog, HWND control);
/// Dialog units to pixels of `dialog`'s font.
RECT DialogUnitsToPixels(HWND dialog, RECT units);
int DialogUnitsToPixelsX(HWND dialog, int units);
int DialogUnitsToPixelsY(HWND dialog, int units);

/// Selects characters [first, last) of `edit`, in UTF-16 units as the control counts.
void EditSelect(HWND edit, int first, int last);
/// Selects everything in `edit` and scrolls the caret into view.
void EditSelectAll(HWND edit);
/// Scrolls `edit` so that the end of its text shows, leaving nothing selected.
void EditRevealEnd(HWND edit);

/// Empties `combo`.
void ComboClear(HWND combo);
/// Appends `text` with `data`; returns its index.
int ComboAdd(HWND combo, std::string_view text, LPARAM data = 0);
/// The selected index, or -1.
int ComboSelection(HWND combo);
/// Selects entry `index` (-1: none), without telling the parent.
void ComboSelect(HWND combo, int index);
LPARAM ComboData(HWND combo, int index);
int ComboCount(HWND combo);

/// Whether check box `id` of `dialog` is checked.
bool ButtonChecked(HWND dialog, int id);
void ButtonSetChecked(HWND dialog, int id, bool checked);

/// Draws a section header, an owner-drawn button, as a label of the
/// dialog's font and colours, with the focus rectangle around its text when
/// it has the focus.
void DrawHeader(const DRAWITEMSTRUCT& draw);

/// True when the rectangle `r` is drawn (not empty) and holds `p`.
inline bool RectHolds(const RECT& r, POINT p) {
    return r.right > r.left && ::PtInRect(&r, p);
}
