#pragma once

#include <windows.h>

#ifdef QLN_BUILDING_LIBRARY
#define QLN_EXPORT __declspec(dllexport)
#else
#define QLN_EXPORT __declspec(dllimport)
#endif

/// Exported for programs that link the library by its import library; it
/// holds nothing and does nothing.
class QLN_EXPORT CQLNDll {
public:
    CQLNDll();
    CQLNDll& operator=(const CQLNDll&);
};

extern "C" {
/// Shows the rename dialog over the `count` UTF-8 paths of `paths` and
/// returns when it closes. `parent` (may be null) owns the dialog; a folder
/// tree ("SysTreeView32") that called is told to refresh. `reserved` is 0.
void HandleRename(HWND parent, INT_PTR reserved, const char* const* paths, int count);
/// The type of HandleRename, for callers that look it up by name.
typedef void (*HandleRenameFunction)(HWND parent, INT_PTR reserved, const char* const* paths, int count);
/// As HandleRename, with the kept preset named `preset` (UTF-8) applied as
/// the dialog opens: the user still sees the preview and presses OK.
void HandleRenameWithPreset(HWND parent, const char* preset, const char* const* paths, int count);
typedef void (*HandleRenameWithPresetFunction)(HWND parent, const char* preset, const char* const* paths, int count);
}
