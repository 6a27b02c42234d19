#pragma once

#include <windows.h>

#include <unknwn.h>

namespace qlnext {

/// Makes CShellExt objects for the shell.
class CShellExtClassFactory final : public IClassFactory {
public:
    /// A new factory asked for `iid`; on failure `*out` is null and nothing
    /// stays alive.
    static HRESULT Create(REFIID iid, void** out);

    CShellExtClassFactory(const CShellExtClassFactory&) = delete;
    CShellExtClassFactory& operator=(const CShellExtClassFactory&) = delete;

    // Allocation failure answers null (E_OUTOFMEMORY), never a throw.
    static void* operator new(size_t size) noexcept;
    static void operator delete(void* p) noexcept;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    CShellExtClassFactory();
    ~CShellExtClassFactory();

    volatile LONG references_ = 0;
};

}  // namespace qlnext
