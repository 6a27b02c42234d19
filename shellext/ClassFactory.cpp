#include "shellext/ClassFactory.h"

#include "shellext/Module.h"
#include "shellext/ShellExt.h"

namespace qlnext {

HRESULT CreateClassFactory(const GUID& iid, void** out) {
    return CShellExtClassFactory::Create(iid, out);
}

HRESULT CShellExtClassFactory::Create(REFIID iid, void** out) {
    *out = nullptr;
    CShellExtClassFactory* factory = new CShellExtClassFactory();
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, out);
    // Nobody holds a factory that answered no interface.
    if (FAILED(hr)) delete factory;
    return hr;
}

void* CShellExtClassFactory::operator new(size_t size) noexcept {
    return ::HeapAlloc(::GetProcessHeap(), 0, size);
}

void CShellExtClassFactory::operator delete(void* p) noexcept {
    if (p) ::HeapFree(::GetProcessHeap(), 0, p);
}

CShellExtClassFactory::CShellExtClassFactory() {
    Trace("CShellExtClassFactory::CShellExtClassFactory()\r\n");
    ObjectCreated();
}

CShellExtClassFactory::~CShellExtClassFactory() {
    ObjectDestroyed();
}

STDMETHODIMP CShellExtClassFactory::QueryInterface(REFIID iid, void** out) {
    Trace("CShellExtClassFactory::QueryInterface()\r\n");
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CShellExtClassFactory::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) CShellExtClassFactory::Release() {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP CShellExtClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    Trace("CShellExtClassFactory::CreateInstance()\r\n");
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return CShellExt::Create(iid, out);
}

// Counting locks into the live objects would let one unbalanced unlock from
// a caller unload the module under a live object; the shell holds the
// factory itself whenever it needs the module to stay.
STDMETHODIMP CShellExtClassFactory::LockServer(BOOL) {
    return S_OK;
}

}  // namespace qlnext
