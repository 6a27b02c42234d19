#include "core/Execute.h"

#include <cctype>
#include <climits>

#include "platform/FileSystem.h"

namespace {

class SkipPrompts final : public IPrompts {
public:
    int Confirm(CNameRequest&) override { return kAnswerSkip; }
    int Duplicate(CNameRequest&) override { return kAnswerSkip; }
    int Illegal(CNameRequest&) override { return kAnswerSkip; }
    int TooLong(CNameRequest&) override { return kAnswerSkip; }
    int DefaultError(CErrorReport&) override { return kAnswerSkip; }
};

}  // namespace

IPrompts& SkippingPrompts() {
    static SkipPrompts prompts;
    return prompts;
}

CExecute::CExecute(const CRunOptions& options) : options_(options) {}

CExecute::~CExecute() = default;

void INameSource::FillDialog(CNameRequest& dialog, const CFileDescriptor& oldFd, const CFileDescriptor& newFd) const {
    dialog.oldName = oldFd.path();
    dialog.computed = newFd.name();
    dialog.newName = newFd.name();
}

int CExecute::ScanInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        // Saturate rather than wrap: a typed 99999999999 must not become a
        // small or negative count.
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::unique_ptr<CFileDescriptor> CExecute::WithPart(const CFileDescriptor& fd, const std::string& part) {
    auto copy = std::make_unique<CFileDescriptor>(fd);
    copy->SetPart(part);
    return copy;
}
