#include "operations/Numbers.h"

#include <algorithm>
#include <limits>

#include "core/DigitRun.h"

int PaddingWidth(int digits) {
    return std::clamp(digits, 0, kMaxNumberWidth);
}

std::string WriteNumber(int64_t value, int width) {
    // The padding is applied to the finished text rather than through a
    // formatted print, so nothing the user typed ever becomes a format.
    std::string text = std::to_string(value);
    const size_t w = static_cast<size_t>(PaddingWidth(width));
    if (text.size() < w) text.insert(0, w - text.size(), '0');
    return text;
}

CAddNumberExecute::CAddNumberExecute(const CRunOptions& options, const std::string& start, const std::string& step,
                                     const std::string& digits)
    : CExecute(options),
      start_(ScanInt(start)),
      step_(ScanInt(step)),
      digits_(PaddingWidth(ScanInt(digits))),
      counter_(start_) {}

int64_t CAddNumberExecute::CounterAt(size_t position) const {
    constexpr __int128 kMax = std::numeric_limits<int64_t>::max();
    constexpr __int128 kMin = std::numeric_limits<int64_t>::min();
    const __int128 value = static_cast<__int128>(start_) + static_cast<__int128>(step_) * static_cast<__int128>(position);
    return static_cast<int64_t>(value > kMax ? kMax : value < kMin ? kMin : value);
}

void CAddNumberExecute::Advance() {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    // Out of reach in practice (2^32 items at the widest step), but a counter
    // must never be undefined behaviour: it stays at the end of its range.
    if (step_ > 0 && counter_ > kMax - step_)
        counter_ = kMax;
    else if (step_ < 0 && counter_ < kMin - step_)
        counter_ = kMin;
    else
        counter_ += step_;
}

std::unique_ptr<CFileDescriptor> CAddNumberAtBeginningExecute::Compute(const CFileDescriptor& fd, const CNameContext& context) {
    Begin(context);
    auto out = WithPart(fd, CounterText() + fd.part());
    Advance();
    return out;
}

std::unique_ptr<CFileDescriptor> CAddNumberAtEndExecute::Compute(const CFileDescriptor& fd, const CNameContext& context) {
    Begin(context);
    auto out = WithPart(fd, fd.part() + CounterText());
    Advance();
    return out;
}

CProduceNumberedListExecute::CProduceNumberedListExecute(const CRunOptions& options, const std::string& start,
                                                         const std::string& step, const std::string& digits,
                                                         const std::string& prefix, const std::string& suffix)
    : CAddNumberExecute(options, start, step, digits),
      prefix_(prefix),
      suffix_(suffix) {}

std::unique_ptr<CFileDescriptor> CProduceNumberedListExecute::Compute(const CFileDescriptor& fd, const CNameContext& context) {
    Begin(context);
    auto out = WithPart(fd, prefix_ + CounterText() + suffix_);
    Advance();
    return out;
}

std::unique_ptr<CFileDescriptor> CRenumberExecute::Compute(const CFileDescriptor& fd, const CNameContext& context) {
    // Counted from the first position of a pass, one step per number met.
    if (context.position == 0 || !counting_) {
        Begin(CNameContext(0, context.fileSystem));
        counting_ = true;
    }
    const CDigitRun run = FindDigitRun(fd, 0);
    if (!run.found()) return WithPart(fd, fd.part());
    const std::string& part = fd.part();
    auto out = WithPart(fd, part.substr(0, run.first) + CounterText() + part.substr(run.end));
    Advance();
    return out;
}

CReformatNumberExecute::CReformatNumberExecute(const CRunOptions& options, const std::string& digits, int add,
                                               const std::string& amount)
    : CExecute(options),
      digits_(PaddingWidth(ScanInt(digits))),
      add_(add),
      amount_(ScanInt(amount)) {}

std::unique_ptr<CFileDescriptor> CReformatNumberExecute::Compute(const CFileDescriptor& fd, const CNameContext&) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    // |delta| <= 2^31 and values read are >= 0, so only a sum can overflow.
    const int64_t delta = add_ == 1 ? static_cast<int64_t>(amount_) : -static_cast<int64_t>(amount_);
    std::string part = fd.part();
    for (CDigitRun run = FindDigitRun(part, 0); run.found();) {
        int64_t value = 0;
        const bool readable = ReadDigitRun(std::string_view(part).substr(run.first, run.length()), value);
        if (!readable || (delta > 0 && value > kMax - delta)) {
            // A number this long is an identifier rather than a count: it is
            // kept as it was, never replaced by a wrapped or clipped value.
            run = FindDigitRun(part, run.end);
            continue;
        }
        const std::string number = WriteNumber(value + delta, digits_);
        part.replace(run.first, run.length(), number);
        run = FindDigitRun(part, run.first + number.size());
    }
    return WithPart(fd, part);
}
