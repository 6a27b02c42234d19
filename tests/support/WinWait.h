#pragma once

// Waiting in the Windows tests for what another thread or process does: the
// windows it opens, the files it writes.

#include <windows.h>

#include <functional>

namespace win_test {

/// Asks `done` every 20 ms until it is true or `timeoutMs` have passed; its
/// last answer.
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start >= timeoutMs) return done();
        ::Sleep(20);
    }
    return true;
}

}  // namespace win_test
