#include "tests/shellext/ExtensionTestSupport.h"

#include <algorithm>
#include <utility>

#include "shellext/ClassId.h"
#include "tests/support/WinFolders.h"

namespace ext_test {

namespace {

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

BOOL CALLBACK collectBox(HWND window, LPARAM boxes) {
    wchar_t cls[16] = {};
    ::GetClassNameW(window, cls, 16);
    if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(window)) {
        reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(window);
    }
    return TRUE;
}

}  // namespace

std::wstring WindowsPath(const char* path) {
    std::wstring out;
    for (; *path; ++path) out += *path == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*path));
    return out;
}

std::wstring BuiltDll() {
    return WindowsPath(QLN_EXT_DLL);
}

std::wstring StandInLauncher() {
    return WindowsPath(QLN_STAND_IN);
}

CLoadedExtension::CLoadedExtension(const std::wstring& path) : module_(::LoadLibraryW(path.c_str())) {
    if (!module_) return;
    getClassObject_ =
        reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(::GetProcAddress(module_, "DllGetClassObject")));
    canUnloadNow_ =
        reinterpret_cast<CanUnloadNowFn>(reinterpret_cast<void*>(::GetProcAddress(module_, "DllCanUnloadNow")));
}

CLoadedExtension::~CLoadedExtension() {
    if (module_) ::FreeLibrary(module_);
}

HRESULT CLoadedExtension::getClassObject(const CLSID* clsid, const IID* iid, void** out) const {
    return getClassObject_ ? getClassObject_(clsid, iid, out) : E_UNEXPECTED;
}

HRESULT CLoadedExtension::canUnloadNow() const {
    return canUnloadNow_ ? canUnloadNow_() : E_UNEXPECTED;
}

win::ComPtr<IClassFactory> CLoadedExtension::factory() const {
    win::ComPtr<IClassFactory> factory;
    getClassObject(&kQlnExtClsid, &IID_IClassFactory, factory.outVoid());
    return factory;
}

win::ComPtr<IContextMenu> CLoadedExtension::create() const {
    win::ComPtr<IContextMenu> menu;
    if (const auto f = factory()) f->CreateInstance(nullptr, IID_IContextMenu, menu.outVoid());
    return menu;
}

CFakeDataObject::CFakeDataObject(DropAnswer answer, std::vector<std::wstring> paths)
    : answer_(answer), paths_(std::move(paths)) {}

STDMETHODIMP CFakeDataObject::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
        *out = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CFakeDataObject::AddRef() {
    return static_cast<ULONG>(++references_);
}

STDMETHODIMP_(ULONG) CFakeDataObject::Release() {
    return static_cast<ULONG>(--references_);
}

STDMETHODIMP CFakeDataObject::QueryGetData(FORMATETC* format) {
    return answer_ != DropAnswer::NoFileList && format && format->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC;
}

STDMETHODIMP CFakeDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    ++dataRequests_;
    if (!format || !medium) return E_POINTER;
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    *medium = {};
    if (answer_ == DropAnswer::WrongMedium) {
        medium->tymed = TYMED_NULL;
        return S_OK;
    }
    medium->tymed = TYMED_HGLOBAL;
    if (answer_ == DropAnswer::NullMemory) return S_OK;
    // DROPFILES, then each path with its terminator, then one more; an empty
    // list is two terminators, as DragQueryFile reads past the first.
    std::wstring list;
    for (const std::wstring& path : paths_) list += path + L'\0';
    if (paths_.empty()) list += L'\0';
    list += L'\0';
    const size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    medium->hGlobal = ::GlobalAlloc(GHND, bytes);
    win::ScopedGlobalLock lock(medium->hGlobal);
    auto* drop = static_cast<DROPFILES*>(lock.data());
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(drop + 1));
    return S_OK;
}

CBoxWatcher::CBoxWatcher() : thread_(::GetCurrentThreadId()) {
    watcher_ = std::thread([this] {
        std::vector<HWND> closed;
        while (!stop_) {
            std::vector<HWND> boxes;
            ::EnumThreadWindows(thread_, collectBox, reinterpret_cast<LPARAM>(&boxes));
            for (const HWND box : boxes) {
                if (std::find(closed.begin(), closed.end(), box) != closed.end()) continue;
                closed.push_back(box);
                wchar_t text[512] = {};
                ::GetDlgItemTextW(box, 0xFFFF, text, 512);
                seen_.push_back({WindowText(box), text, ::GetWindow(box, GW_OWNER)});
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
            ::Sleep(20);
        }
    });
}

CBoxWatcher::~CBoxWatcher() {
    stop();
}

std::vector<CSeenBox> CBoxWatcher::stop() {
    stop_ = true;
    if (watcher_.joinable()) watcher_.join();
    return seen_;
}

COwnerWindow::COwnerWindow()
    : hwnd_(::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr)) {}

COwnerWindow::~COwnerWindow() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

CTempFolder::CTempFolder(const std::wstring& stem) : path_(win_test::MakeFreshTempFolder(stem)) {}

// A launcher that has just written its last file may still be running from
// the folder.
CTempFolder::~CTempFolder() {
    win_test::RemoveTreeSoon(path_);
}

std::vector<std::wstring> CTempFolder::entries() const {
    return win_test::FolderEntries(path_);
}

bool WaitForFile(const std::wstring& path, DWORD timeoutMs) {
    return win_test::WaitUntil([&] { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; },
                               timeoutMs);
}

namespace {
constexpr wchar_t kPresetsKey[] = L"Software\\QuorlinTests\\shellext";
}  // namespace

CKeptPresets::CKeptPresets(const std::wstring& names) {
    ::SetEnvironmentVariableW(L"QUORLIN_SETTINGS", kPresetsKey);
    const std::wstring key = std::wstring(kPresetsKey) + L"\\A Quorlin";
    ::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"presetNames", REG_SZ, names.c_str(),
                      static_cast<DWORD>((names.size() + 1) * sizeof(wchar_t)));
}

CKeptPresets::~CKeptPresets() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kPresetsKey);
    ::SetEnvironmentVariableW(L"QUORLIN_SETTINGS", nullptr);
}

}  // namespace ext_test
