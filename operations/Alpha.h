#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "operations/Numbers.h"

/// `value` in base 26 with "a" as the zero digit, most significant letter
/// first: 0 "a", 25 "z", 26 "ba", 676 "baa". A negative value is written as
/// "-" and the letters of its magnitude, so a counter that runs below zero
/// still gives every item its own name and shows plainly that it went below
/// the start of the alphabet.
std::string LettersOf(int64_t value);

/// The letters of `value`, padded with the zero letter "a" to `width` letters
/// (the padding goes after a minus sign: -1 with width 3 is "-aab"), raised to
/// capitals when `uppercase` is set.
std::string WriteLetters(int64_t value, int width, bool uppercase);

/// The panels' filter on the start field: keeps only the bytes "a" to "z".
/// True when it dropped something, so the panel can tell the user.
bool FilterStartLetters(std::string& letters);

/// The counter value of the start letters, the inverse of LettersOf: "ba" is
/// 26, "" is 0. Only "a" to "z" are read. A value beyond the range of a typed
/// number is clamped to its largest value and reported in `overflow`, so a
/// panel can refuse it rather than start somewhere the user did not type.
int StartLettersValue(std::string_view letters, bool* overflow = nullptr);

/// "Add alphabetical sequence to beginning": letters + part.
class CAddAlphaAtBeginningExecute : public CAddNumberExecute {
public:
    CAddAlphaAtBeginningExecute(const CRunOptions& options, const std::string& start, const std::string& step,
                                const std::string& digits, int uppercase);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    int uppercase_;
};

/// "Add alphabetical sequence to end": part + letters.
class CAddAlphaAtEndExecute : public CAddNumberExecute {
public:
    CAddAlphaAtEndExecute(const CRunOptions& options, const std::string& start, const std::string& step,
                          const std::string& digits, int uppercase);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    int uppercase_;
};

/// "Produce alphabetical list": the part becomes prefix + letters + suffix.
class CProduceAlphabeticalListExecute : public CAddNumberExecute {
public:
    CProduceAlphabeticalListExecute(const CRunOptions& options, const std::string& start, const std::string& step,
                                    const std::string& digits, const std::string& prefix, const std::string& suffix,
                                    int uppercase);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    std::string prefix_;
    std::string suffix_;
    int uppercase_;
};
