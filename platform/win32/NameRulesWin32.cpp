#include <windows.h>

#include "platform/NameRules.h"

namespace platform {

namespace {

// Long paths need both the manifest (ours declares them) and the system's
// setting; ntdll tells whether both hold. Older systems lack the call and
// never allow them. Wine keeps no such limit: its paths end only where its
// host's do.
bool LongPathsEnabled() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) return false;
    if (::GetProcAddress(ntdll, "wine_get_version")) return true;
    using Query = BOOLEAN(WINAPI*)();
    const auto query =
        reinterpret_cast<Query>(reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlAreLongPathsEnabled")));
    return query && query() != FALSE;
}

}  // namespace

const NameRules& SystemNameRules() {
    static const NameRules rules = WindowsNameRules(LongPathsEnabled());
    return rules;
}

}  // namespace platform
