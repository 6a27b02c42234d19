#include "shellext/ShellExt.h"

#include <shellapi.h>
#include <wchar.h>

#include "platform/win32/Scoped.h"
#include "shellext/ListFile.h"
#include "shellext/Module.h"
#include "shellext/Text.h"

namespace qlnext {

namespace {

constexpr wchar_t kItemText[] = L"Quorl&in...";
constexpr wchar_t kPresetsText[] = L"Quorlin presets";
constexpr char kPresetHelpText[] = "Renames a list of files with a preset";
constexpr wchar_t kPresetHelpTextW[] = L"Renames a list of files with a preset";
// A menu is no place for a long list: presets past these stay out of it.
constexpr UINT kMaxMenuPresets = 50;
constexpr char kHelpText[] = "Renames a list of files";
constexpr wchar_t kHelpTextW[] = L"Renames a list of files";
constexpr wchar_t kErrorCaption[] = L"Error";
constexpr wchar_t kNoTempName[] = L"Unable to create temporary file";
constexpr wchar_t kCannotOpen[] = L"Unable to open %s";
constexpr wchar_t kCannotWrite[] = L"Unable to write to %s";
constexpr wchar_t kCannotClose[] = L"Unable to close %s";
constexpr wchar_t kCannotStart[] = L"Unable to start %s";

// The maker's two other products frame one group with us: we go after the
// attributes product's item and before the selection product's.
struct Sibling {
    const wchar_t* text;
    bool weGoAfter;
};
constexpr Sibling kSiblings[] = {
    {L"&Ostrel", true},
    {L"Ostr&el...", true},
    {L"&Vinmar", false},
    {L"Vinm&ar...", false},
};

// Where the sibling group puts our item, or -1 when no sibling is in the
// menu. Texts must match exactly: an ordinal comparison, because the
// locale-aware one may take texts for equal that differ.
int SiblingInsertPosition(HMENU menu) {
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        wchar_t text[64] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = static_cast<UINT>(sizeof text / sizeof text[0]);
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item)) continue;
        if (item.fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)) continue;
        for (const Sibling& sibling : kSiblings) {
            if (::wcscmp(text, sibling.text) == 0) return sibling.weGoAfter ? position + 1 : position;
        }
    }
    return -1;
}

void ShowError(HWND owner, bool quiet, const wchar_t* format, const wchar_t* fileName) {
    if (quiet) return;
    WideText message;
    if (!Format(message, format, fileName)) return;
    ::MessageBoxW(owner, message.c_str(), kErrorCaption, MB_OK | MB_ICONERROR);
}

HRESULT FromError(DWORD error) {
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

template <typename Char>
void CopyTruncated(Char* buffer, UINT size, const Char* text) {
    UINT i = 0;
    for (; i + 1 < size && text[i]; ++i) buffer[i] = text[i];
    buffer[i] = Char();
}

}  // namespace

HRESULT CShellExt::Create(REFIID iid, void** out) {
    *out = nullptr;
    CShellExt* extension = new CShellExt();
    if (!extension) return E_OUTOFMEMORY;
    const HRESULT hr = extension->QueryInterface(iid, out);
    // Nobody holds an object that answered no interface.
    if (FAILED(hr)) delete extension;
    return hr;
}

void* CShellExt::operator new(size_t size) noexcept {
    return ::HeapAlloc(::GetProcessHeap(), 0, size);
}

void CShellExt::operator delete(void* p) noexcept {
    if (p) ::HeapFree(::GetProcessHeap(), 0, p);
}

CShellExt::CShellExt() {
    Trace("CShellExt::CShellExt()\r\n");
    ObjectCreated();
}

CShellExt::~CShellExt() {
    ObjectDestroyed();
}

STDMETHODIMP CShellExt::QueryInterface(REFIID iid, void** out) {
    void* found = nullptr;
    if (IsEqualIID(iid, IID_IShellExtInit) || IsEqualIID(iid, IID_IUnknown)) {
        Trace("CShellExt::QueryInterface()==>IID_IShellExtInit\r\n");
        found = static_cast<IShellExtInit*>(this);
    } else if (IsEqualIID(iid, IID_IContextMenu)) {
        Trace("CShellExt::QueryInterface()==>IID_IContextMenu\r\n");
        found = static_cast<IContextMenu*>(this);
    } else {
        Trace("CShellExt::QueryInterface()==>Unknown Interface!\r\n");
    }
    if (!out) return E_POINTER;
    *out = found;
    if (!found) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CShellExt::AddRef() {
    Trace("CShellExt::AddRef()\r\n");
    return static_cast<ULONG>(::InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) CShellExt::Release() {
    Trace("CShellExt::Release()\r\n");
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

// A null data object is refused: with no selection there is nothing our
// item could do, and the refusal keeps it out of that menu.
STDMETHODIMP CShellExt::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) {
    Trace("CShellExt::Initialize()\r\n");
    data_.reset();
    if (!data) return E_INVALIDARG;
    data->AddRef();
    data_.reset(data);
    return S_OK;
}

STDMETHODIMP CShellExt::QueryContextMenu(HMENU menu, UINT insertIndex, UINT firstId, UINT lastId, UINT flags) {
    Trace("CShellExt::QueryContextMenu()\r\n");
    const HRESULT nothingAdded = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    bool add = false;
    if ((flags & 0xF) == 0) {
        Trace("CMF_NORMAL...\r\n");
        add = true;
    } else if (flags & CMF_VERBSONLY) {
        Trace("CMF_VERBSONLY...\r\n");
    } else if (flags & CMF_EXPLORE) {
        Trace("CMF_EXPLORE...\r\n");
        add = true;
    } else if (flags & CMF_DEFAULTONLY) {
        Trace("CMF_DEFAULTONLY...\r\n");
    } else {
        Trace("CMF_default...\r\n");
        char line[32];
        ::wsprintfA(line, "uFlags==>%d\r\n", static_cast<int>(flags));
        Trace(line);
    }
    if (!add) return nothingAdded;
    if (!::IsMenu(menu)) return E_INVALIDARG;
    // An id past the range the shell gave us would belong to another handler.
    if (lastId < firstId) return nothingAdded;

    const int siblingPosition = SiblingInsertPosition(menu);
    UINT itemPosition = 0;
    if (siblingPosition >= 0) {
        if (!::InsertMenuW(menu, static_cast<UINT>(siblingPosition), MF_BYPOSITION | MF_STRING, firstId, kItemText)) {
            return nothingAdded;
        }
        itemPosition = static_cast<UINT>(siblingPosition);
    } else {
        // Whichever of the three products comes first frames the group.
        ::InsertMenuW(menu, insertIndex, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        if (!::InsertMenuW(menu, insertIndex + 1, MF_BYPOSITION | MF_STRING, firstId, kItemText)) {
            ::DeleteMenu(menu, insertIndex, MF_BYPOSITION);
            return nothingAdded;
        }
        ::InsertMenuW(menu, insertIndex + 2, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        itemPosition = insertIndex + 1;
    }
    const UINT presets = AddPresets(menu, itemPosition + 1, firstId + 1, lastId);
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1 + presets);
}

UINT CShellExt::AddPresets(HMENU menu, UINT position, UINT firstId, UINT lastId) {
    presetCount_ = 0;
    presetNames_.resize(0);
    if (firstId > lastId || !ReadPresetNames(presetNames_)) return 0;
    const HMENU submenu = ::CreatePopupMenu();
    if (!submenu) return 0;
    UINT count = 0;
    const wchar_t* line = presetNames_.c_str();
    while (*line && count < kMaxMenuPresets && firstId + count <= lastId) {
        const wchar_t* end = line;
        while (*end && *end != L'\n') ++end;
        // An ampersand in a name is the name's own, not a shortcut.
        WideText text;
        for (const wchar_t* c = line; c < end; ++c) {
            if (*c == L'&') text.append(L'&');
            text.append(*c);
        }
        if (end > line && text.ok() && ::AppendMenuW(submenu, MF_STRING, firstId + count, text.c_str())) ++count;
        line = *end ? end + 1 : end;
    }
    if (count == 0 || !::InsertMenuW(menu, position, MF_BYPOSITION | MF_POPUP | MF_STRING,
                                     reinterpret_cast<UINT_PTR>(submenu), kPresetsText)) {
        ::DestroyMenu(submenu);
        return 0;
    }
    presetCount_ = count;
    return count;
}

bool CShellExt::PresetName(UINT index, WideText& name) const {
    if (index >= presetCount_) return false;
    const wchar_t* line = presetNames_.c_str();
    for (UINT i = 0; *line;) {
        const wchar_t* end = line;
        while (*end && *end != L'\n') ++end;
        if (end > line && i++ == index) return name.append(line, static_cast<size_t>(end - line));
        line = *end ? end + 1 : end;
    }
    return false;
}

STDMETHODIMP CShellExt::InvokeCommand(CMINVOKECOMMANDINFO* info) {
    Trace("CShellExt::InvokeCommand()\r\n");
    if (!info || info->cbSize < sizeof(CMINVOKECOMMANDINFO)) return E_INVALIDARG;
    // A verb is either a string or a command offset in its low word.
    if (!IS_INTRESOURCE(info->lpVerb)) return E_INVALIDARG;
    const UINT offset = LOWORD(reinterpret_cast<ULONG_PTR>(info->lpVerb));
    const bool quiet = (info->fMask & CMIC_MASK_FLAG_NO_UI) != 0;
    if (offset == 0) return DoGAKMenu1(info->hwnd, quiet);
    // An entry of the presets submenu.
    WideText preset;
    if (!PresetName(offset - 1, preset)) return E_INVALIDARG;
    if (!preset.ok()) return E_OUTOFMEMORY;
    return DoGAKMenu1(info->hwnd, quiet, preset.c_str());
}

// The only answers are the help text and "the command exists". The item has
// no language-independent verb, and an empty string reported as one would be
// taken for an answer, so verb requests get E_NOTIMPL.
STDMETHODIMP CShellExt::GetCommandString(UINT_PTR offset, UINT type, UINT*, CHAR* buffer, UINT size) {
    Trace("CShellExt::GetCommandString()\r\n");
    if (!buffer || size == 0) return E_INVALIDARG;
    const bool wide = (type & GCS_UNICODE) != 0;
    if (wide) {
        *reinterpret_cast<wchar_t*>(buffer) = L'\0';
    } else {
        *buffer = '\0';
    }
    if (offset > presetCount_) return E_INVALIDARG;
    switch (type) {
        case GCS_HELPTEXTA:
            CopyTruncated(buffer, size, offset ? kPresetHelpText : kHelpText);
            return S_OK;
        case GCS_HELPTEXTW:
            CopyTruncated(reinterpret_cast<wchar_t*>(buffer), size, offset ? kPresetHelpTextW : kHelpTextW);
            return S_OK;
        case GCS_VALIDATEA:
        case GCS_VALIDATEW:
            return S_OK;
        default:
            return E_NOTIMPL;
    }
}

HRESULT CShellExt::DoGAKMenu1(HWND owner, bool quiet, const wchar_t* preset) {
    Trace("CShellExt::DoGAKMenu1()\r\n");
    if (!data_) return S_OK;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    win::ScopedStgMedium medium;
    if (FAILED(data_->GetData(&format, medium.out()))) return S_OK;
    medium.MarkFilled();
    if (medium.get().tymed != TYMED_HGLOBAL || !medium.get().hGlobal) return S_OK;

    Utf8Text lines;
    UINT count = 0;
    if (!CollectPaths(static_cast<HDROP>(medium.get().hGlobal), lines, count)) return E_OUTOFMEMORY;
    if (count == 0) return S_OK;

    WideText listPath;
    DWORD error = 0;
    switch (WriteListFile(lines, listPath, error)) {
        case ListFileError::None:
            break;
        case ListFileError::NoName:
            ShowError(owner, quiet, kNoTempName, L"");
            return FromError(error);
        case ListFileError::Open:
            ShowError(owner, quiet, kCannotOpen, listPath.c_str());
            return FromError(error);
        case ListFileError::Write:
            ShowError(owner, quiet, kCannotWrite, listPath.c_str());
            return FromError(error);
        case ListFileError::Close:
            ShowError(owner, quiet, kCannotClose, listPath.c_str());
            return FromError(error);
    }
    // From here the launcher owns the list file; one that no launcher will
    // read would stay in the temporary folder for good.
    WideText launcher;
    error = StartLauncher(listPath.c_str(), preset, launcher);
    if (error) {
        ::DeleteFileW(listPath.c_str());
        // A click that does nothing would say all went well.
        ShowError(owner, quiet, kCannotStart, launcher.c_str());
        return FromError(error);
    }
    return S_OK;
}

}  // namespace qlnext
