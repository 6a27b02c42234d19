// Qln.dll: the rename library. One call of HandleRename shows the rename
// dialog over the paths it is given and returns when the dialog closes.
#include <windows.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "dialog/win32/MainDlg.h"
#include "library/QlnDll.h"

namespace {

// Kept for the dialogs' resources; nothing else happens while the loader lock
// is held.
HINSTANCE g_module = nullptr;

// A folder tree that made the call shows the renamed names once it refreshes.
void RefreshTree(HWND parent) {
    if (!parent) return;
    wchar_t name[256] = {};
    if (::GetClassNameW(parent, name, 256) && std::wstring(name) == L"SysTreeView32")
        ::PostMessageW(parent, WM_KEYDOWN, VK_F5, 0x3F0001);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

CQLNDll::CQLNDll() = default;

CQLNDll& CQLNDll::operator=(const CQLNDll&) {
    return *this;
}

namespace {

void ShowDialog(HWND parent, const char* preset, const char* const* paths, int count) {
    // Nothing may leave the library: the caller is a plain C program.
    try {
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        std::vector<std::string> copied;
        if (paths && count > 0) {
            copied.reserve(static_cast<size_t>(count));
            for (int i = 0; i < count; ++i)
                if (paths[i]) copied.emplace_back(paths[i]);
        }
        {
            CMainDlg dialog(std::move(copied), parent);
            if (preset && *preset) dialog.SetStartPreset(preset);
            dialog.DoModal();
        }
        RefreshTree(parent);
    } catch (...) {
    }
}

}  // namespace

extern "C" void HandleRename(HWND parent, INT_PTR /*reserved*/, const char* const* paths, int count) {
    ShowDialog(parent, nullptr, paths, count);
}

extern "C" void HandleRenameWithPreset(HWND parent, const char* preset, const char* const* paths, int count) {
    ShowDialog(parent, preset, paths, count);
}
