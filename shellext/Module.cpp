// The module's entry points. This file includes nothing but <windows.h> on
// purpose: the COM headers declare DllGetClassObject with references, which
// cannot be checked for null, and a caller that reaches the export through
// GetProcAddress can pass anything. Declared here with pointers, the two
// exports keep the same ABI and can refuse such a call.

#include <windows.h>

#include "shellext/ClassId.h"
#include "shellext/Module.h"

namespace {

HINSTANCE g_instance = nullptr;
// Explorer may ask DllCanUnloadNow on another thread than the one that
// releases our objects, so the count changes atomically.
volatile LONG g_liveObjects = 0;

}  // namespace

namespace qlnext {

HINSTANCE ModuleInstance() {
    return g_instance;
}

void ObjectCreated() {
    ::InterlockedIncrement(&g_liveObjects);
}

void ObjectDestroyed() {
    ::InterlockedDecrement(&g_liveObjects);
}

LONG LiveObjects() {
    return ::InterlockedCompareExchange(&g_liveObjects, 0, 0);
}

}  // namespace qlnext

// Runs under the loader lock inside Explorer: keep the handle, nothing else.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        qlnext::Trace("In DLLMain, DLL_PROCESS_ATTACH\r\n");
    } else if (reason == DLL_PROCESS_DETACH) {
        qlnext::Trace("In DLLMain, DLL_PROCESS_DETACH\r\n");
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(const CLSID* clsid, const IID* iid, void** out) {
    qlnext::Trace("In DllGetClassObject\r\n");
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!clsid || !iid) return E_INVALIDARG;
    if (!IsEqualGUID(*clsid, kQlnExtClsid)) return CLASS_E_CLASSNOTAVAILABLE;
    return qlnext::CreateClassFactory(*iid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
    qlnext::Trace("In DLLCanUnloadNow\r\n");
    return qlnext::LiveObjects() == 0 ? S_OK : S_FALSE;
}
