#include "cli/Progress.h"

#include <utility>

#include "cli/Terminal.h"
#include "core/Words.h"

namespace {

constexpr auto kQuiet = std::chrono::seconds(1);
constexpr auto kInterval = std::chrono::milliseconds(200);
// The clock is read once per this many reports: an item costs far more than
// the check, and a stalled one shows on the next.
constexpr unsigned kCallsPerCheck = 32;

}  // namespace

CProgressLine::CProgressLine(CStatusLine* status, std::function<Clock::time_point()> now)
    : status_(status), now_(std::move(now)), start_(now_()), shown_(start_) {}

void CProgressLine::Show(const CRunProgress& progress) {
    if (!status_ || ++calls_ % kCallsPerCheck != 0) return;
    const auto now = now_();
    if (now - start_ < kQuiet || now - shown_ < kInterval) return;
    shown_ = now;
    std::string text = "quorlin: " + GroupedNumber(progress.read) + " items read";
    if (progress.renamed > 0) text += ", " + GroupedNumber(progress.renamed) + " renamed";
    status_->Show(text + "...");
}
