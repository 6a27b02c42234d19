#pragma once

#include <windows.h>

#include <shlobj.h>

#include "platform/win32/Scoped.h"
#include "shellext/Text.h"

namespace qlnext {

/// The context-menu handler: adds "Quorl&in..." to the menu of a selection
/// and, when it is chosen, hands the selection to the launcher.
class CShellExt final : public IContextMenu, public IShellExtInit {
public:
    /// A new object asked for `iid`; on failure `*out` is null and nothing
    /// stays alive.
    static HRESULT Create(REFIID iid, void** out);

    CShellExt(const CShellExt&) = delete;
    CShellExt& operator=(const CShellExt&) = delete;

    // Allocation failure answers null (E_OUTOFMEMORY), never a throw.
    static void* operator new(size_t size) noexcept;
    static void operator delete(void* p) noexcept;

    // IUnknown, shared by both interfaces.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT insertIndex, UINT firstId, UINT lastId, UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    STDMETHODIMP GetCommandString(UINT_PTR offset, UINT type, UINT* reserved, CHAR* buffer, UINT size) override;

    // IShellExtInit
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY programKey) override;

private:
    CShellExt();
    ~CShellExt();

    /// The command: writes the selection to a list file and starts the
    /// launcher with it, and with the name of the preset `preset` (null for
    /// none) to apply. Message boxes are owned by `owner`; `quiet` shows none.
    HRESULT DoGAKMenu1(HWND owner, bool quiet, const wchar_t* preset = nullptr);
    /// Adds the "Quorlin presets" submenu at `position` of `menu`, one entry
    /// per kept preset with the ids from `firstId`, none past `lastId`; the
    /// number of entries added.
    UINT AddPresets(HMENU menu, UINT position, UINT firstId, UINT lastId);
    /// Appends the name of preset `index` of the submenu to `name`; false
    /// when there is none.
    bool PresetName(UINT index, WideText& name) const;

    volatile LONG references_ = 0;
    win::ComPtr<IDataObject> data_;
    // The names the submenu shows, one a line, as read when it was made.
    WideText presetNames_;
    UINT presetCount_ = 0;
};

}  // namespace qlnext
