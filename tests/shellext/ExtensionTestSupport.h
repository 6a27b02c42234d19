#pragma once

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32/Scoped.h"
#include "tests/support/WinFolders.h"
#include "tests/support/WinWait.h"

/// Helpers of the extension's tests: the DLL loaded as Explorer loads it,
/// hand-made data objects, and a watcher that closes message boxes.
namespace ext_test {

/// The exports, with pointers where the COM headers have references, so
/// that tests can pass null.
using GetClassObjectFn = HRESULT(WINAPI*)(const CLSID*, const IID*, void**);
using CanUnloadNowFn = HRESULT(WINAPI*)();

/// A build-tree path ("Z:/...") as Windows spells it, with backslashes.
std::wstring WindowsPath(const char* path);
/// The extension built in this tree.
std::wstring BuiltDll();
/// The stand-in launcher that records how it was started.
std::wstring StandInLauncher();

/// QlnExt.dll loaded with LoadLibrary for as long as the object lives.
class CLoadedExtension {
public:
    explicit CLoadedExtension(const std::wstring& path);
    ~CLoadedExtension();
    CLoadedExtension(const CLoadedExtension&) = delete;
    CLoadedExtension& operator=(const CLoadedExtension&) = delete;

    HMODULE module() const { return module_; }
    HRESULT getClassObject(const CLSID* clsid, const IID* iid, void** out) const;
    HRESULT canUnloadNow() const;
    /// The factory of the extension's class (null on failure).
    win::ComPtr<IClassFactory> factory() const;
    /// A new extension object's IContextMenu (null on failure).
    win::ComPtr<IContextMenu> create() const;

private:
    HMODULE module_ = nullptr;
    GetClassObjectFn getClassObject_ = nullptr;
    CanUnloadNowFn canUnloadNow_ = nullptr;
};

/// Each test loads the built extension afresh and ends with every object
/// released: DllCanUnloadNow must say S_OK then, or something leaked.
class ExtensionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(extension_.module(), nullptr) << "cannot load the extension"; }
    void TearDown() override { EXPECT_EQ(extension_.canUnloadNow(), S_OK) << "an object is still alive"; }

    win::ScopedCom com_;
    CLoadedExtension extension_{BuiltDll()};
};

/// What a hand-made data object answers for CF_HDROP.
enum class DropAnswer { NoFileList, Paths, WrongMedium, NullMemory };

/// An IDataObject that offers only CF_HDROP, built from `paths`, and counts
/// its references and the GetData calls it gets.
class CFakeDataObject final : public IDataObject {
public:
    CFakeDataObject(DropAnswer answer, std::vector<std::wstring> paths = {});
    LONG references() const { return references_; }
    int dataRequests() const { return dataRequests_; }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override;
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    DropAnswer answer_;
    std::vector<std::wstring> paths_;
    LONG references_ = 1;  // the test's own, on the stack
    int dataRequests_ = 0;
};

/// A message box the watcher saw and closed.
struct CSeenBox {
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
};

/// Watches the calling thread's windows from a second thread and closes
/// every message box that appears, so that no test waits on one.
class CBoxWatcher {
public:
    CBoxWatcher();
    ~CBoxWatcher();
    CBoxWatcher(const CBoxWatcher&) = delete;
    CBoxWatcher& operator=(const CBoxWatcher&) = delete;
    /// Stops watching and returns the boxes seen.
    std::vector<CSeenBox> stop();

private:
    DWORD thread_;
    std::atomic<bool> stop_{false};
    std::vector<CSeenBox> seen_;
    std::thread watcher_;
};

/// A hidden top-level window to own message boxes.
class COwnerWindow {
public:
    COwnerWindow();
    ~COwnerWindow();
    COwnerWindow(const COwnerWindow&) = delete;
    COwnerWindow& operator=(const COwnerWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_;
};

/// A new folder under the temporary folder, named from `stem`, the process
/// and a count; removed with its content.
class CTempFolder {
public:
    explicit CTempFolder(const std::wstring& stem);
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;
    /// The folder, ending in a backslash.
    const std::wstring& path() const { return path_; }
    /// Names of the entries in the folder.
    std::vector<std::wstring> entries() const;

private:
    std::wstring path_;
};

/// Kept presets, as the rename dialog lists them for the menu: the names
/// (one a line) in a settings key of the test's own, which the extension
/// finds through the settings variable for as long as the object lives.
class CKeptPresets {
public:
    explicit CKeptPresets(const std::wstring& names);
    ~CKeptPresets();
    CKeptPresets(const CKeptPresets&) = delete;
    CKeptPresets& operator=(const CKeptPresets&) = delete;
};

/// Waits until `path` exists, at most `timeoutMs`.
bool WaitForFile(const std::wstring& path, DWORD timeoutMs);

}  // namespace ext_test
