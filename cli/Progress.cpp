#include "cli/Progress.h"

#include <algorithm>
#include <utility>

#include "cli/Terminal.h"

namespace {

constexpr auto kQuiet = std::chrono::seconds(1);
constexpr auto kInterval = std::chrono::milliseconds(200);
// The clock is read once per this many calls: a rename costs far more than
// the check, and a stalled one shows on the next.
constexpr unsigned kCallsPerCheck = 32;

}  // namespace

CProgressFileSystem::CProgressFileSystem(platform::IFileSystem& inner, CStatusLine* status,
                                         std::function<Clock::time_point()> now)
    : CForwardingFileSystem(inner), status_(status), now_(std::move(now)), start_(now_()), shown_(start_) {}

void CProgressFileSystem::Tick() {
    if (!status_ || ++calls_ % kCallsPerCheck != 0) return;
    const auto now = now_();
    if (now - start_ < kQuiet || now - shown_ < kInterval) return;
    shown_ = now;
    std::string text = "quorlin: " + std::to_string(read_) + " items read";
    if (renamed_ > 0) text += ", " + std::to_string(renamed_) + " renamed";
    status_->Show(text + "...");
}

uint32_t CProgressFileSystem::getAttributes(const std::string& path, platform::Attributes& out) {
    ++read_;
    Tick();
    return inner().getAttributes(path, out);
}

uint32_t CProgressFileSystem::listFolderEntries(
    const std::string& folder, const std::function<void(const std::string&, platform::EntryKind)>& each) {
    return inner().listFolderEntries(folder, [&](const std::string& name, platform::EntryKind kind) {
        // An entry whose kind the listing tells is read with it.
        if (kind != platform::EntryKind::kUnknown) {
            ++read_;
            Tick();
        }
        each(name, kind);
    });
}

uint32_t CProgressFileSystem::move(const std::string& from, const std::string& to) {
    const uint32_t code = inner().move(from, to);
    if (code == platform::kErrorSuccess) ++renamed_;
    Tick();
    return code;
}
