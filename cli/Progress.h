#pragma once

#include <chrono>
#include <functional>

#include "core/RenameRun.h"

class CStatusLine;

/// Shows how far a run has got on a status line: once it has taken longer
/// than a second, a few times a second.
class CProgressLine {
public:
    using Clock = std::chrono::steady_clock;

    /// `now` reads the time (a test's own clock in tests).
    explicit CProgressLine(CStatusLine* status, std::function<Clock::time_point()> now = Clock::now);

    /// What the run reports, item by item; shown now and then.
    void Show(const CRunProgress& progress);
    /// A listener for CRenameRun::SetProgress; it borrows this line.
    std::function<void(const CRunProgress&)> Listener() {
        return [this](const CRunProgress& p) { Show(p); };
    }

private:
    CStatusLine* status_;
    std::function<Clock::time_point()> now_;
    Clock::time_point start_;
    Clock::time_point shown_;
    unsigned calls_ = 0;
};
