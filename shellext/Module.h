#pragma once

// What the whole module shares: its instance handle, the count of live
// objects that decides whether Explorer may unload it, and the trace line
// every entry point writes.

#include <windows.h>

namespace qlnext {

/// This module's handle, kept when the process attached.
HINSTANCE ModuleInstance();

/// Every factory and extension object counts itself in while it lives.
void ObjectCreated();
void ObjectDestroyed();
LONG LiveObjects();

/// One line to the debugger's output.
inline void Trace(const char* line) {
    ::OutputDebugStringA(line);
}

/// Makes a class factory and asks it for `iid`; on failure `*out` is null and
/// the factory is gone again.
HRESULT CreateClassFactory(const GUID& iid, void** out);

}  // namespace qlnext
