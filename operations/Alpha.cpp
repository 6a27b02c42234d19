#include "operations/Alpha.h"

#include <algorithm>
#include <climits>

#include "platform/Text.h"

namespace {

constexpr char kLetterDigits[] = "abcdefghijklmnopqrstuvwxyz";

// Magnitude without negating a signed value, so the lowest value has one too.
uint64_t Magnitude(int64_t value) {
    return value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
}

std::string MagnitudeLetters(uint64_t magnitude) {
    std::string out;
    do {
        out.push_back(kLetterDigits[magnitude % 26]);
        magnitude /= 26;
    } while (magnitude != 0);
    std::reverse(out.begin(), out.end());
    return out;
}

}  // namespace

std::string LettersOf(int64_t value) {
    return (value < 0 ? "-" : "") + MagnitudeLetters(Magnitude(value));
}

std::string WriteLetters(int64_t value, int width, bool uppercase) {
    std::string letters = MagnitudeLetters(Magnitude(value));
    const size_t w = static_cast<size_t>(PaddingWidth(width));
    if (letters.size() < w) letters.insert(0, w - letters.size(), 'a');
    if (value < 0) letters.insert(0, 1, '-');
    return uppercase ? text::ToUpper(letters) : letters;
}

bool FilterStartLetters(std::string& letters) {
    const size_t before = letters.size();
    std::erase_if(letters, [](char c) { return c < 'a' || c > 'z'; });
    return letters.size() != before;
}

int StartLettersValue(std::string_view letters, bool* overflow) {
    int64_t value = 0;
    bool over = false;
    for (char c : letters) {
        if (c < 'a' || c > 'z') continue;
        value = value * 26 + (c - 'a');
        if (value > INT_MAX) {
            value = INT_MAX;
            over = true;
            break;
        }
    }
    if (overflow) *overflow = over;
    return static_cast<int>(value);
}

CAddAlphaAtBeginningExecute::CAddAlphaAtBeginningExecute(const CRunOptions& options, const std::string& start,
                                                         const std::string& step, const std::string& digits,
                                                         int uppercase)
    : CAddNumberExecute(options, start, step, digits),
      uppercase_(uppercase) {}

std::unique_ptr<CFileDescriptor> CAddAlphaAtBeginningExecute::Compute(const CFileDescriptor& fd, const CNameContext& context) {
    Begin(context);
    auto out = WithPart(fd, WriteLetters(counter(), digits(), uppercase_ != 0) + fd.part());
    Advance();
    return out;
}

CAddAlphaAtEndExecute::CAddAlphaAtEndExecute(const CRunOptions& options, const std::string& start,
                                             const std::string& step, const std::string& digits, int uppercase)
    : CAddNumberExecute(options, start, step, digits),
      uppercase_(uppercase) {}

std::unique_ptr<CFileDescriptor> CAddAlphaAtEndExecute::Compute(const CFileDescriptor& fd, const CNameContext& context) {
    Begin(context);
    auto out = WithPart(fd, fd.part() + WriteLetters(counter(), digits(), uppercase_ != 0));
    Advance();
    return out;
}

CProduceAlphabeticalListExecute::CProduceAlphabeticalListExecute(const CRunOptions& options,
                                                                 const std::string& start, const std::string& step,
                                                                 const std::string& digits, const std::string& prefix,
                                                                 const std::string& suffix, int uppercase)
    : CAddNumberExecute(options, start, step, digits),
      prefix_(prefix),
      suffix_(suffix),
      uppercase_(uppercase) {}

std::unique_ptr<CFileDescriptor> CProduceAlphabeticalListExecute::Compute(const CFileDescriptor& fd, const CNameContext& context) {
    Begin(context);
    auto out = WithPart(fd, prefix_ + WriteLetters(counter(), digits(), uppercase_ != 0) + suffix_);
    Advance();
    return out;
}
