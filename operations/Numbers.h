#pragma once

#include <cstdint>
#include <string>

#include "core/Execute.h"

/// The widest padding honoured. A name never holds more than a few hundred
/// characters, so a larger minimum width could only fail the rename after
/// building an enormous string.
inline constexpr int kMaxNumberWidth = 255;

/// The minimum width typed by the user as a padding width: 0 (no padding) for
/// zero, empty or negative input, and at most kMaxNumberWidth.
int PaddingWidth(int digits);

/// `value` in plain decimal, then padded on the left with '0' to `width`
/// characters. The padding goes in front of the text, sign included, so -5
/// with width 3 is "0-5"; a longer text is written whole.
std::string WriteNumber(int64_t value, int width);

/// Base of the numbering family: a counter that starts at `start` at the first
/// position of a pass and moves by `step` once per numbered item, in the
/// order the items reach Compute.
class CAddNumberExecute : public CExecute {
public:
    CAddNumberExecute(const CRunOptions& options,
                      const std::string& start, const std::string& step, const std::string& digits);

    int start() const { return start_; }
    int step() const { return step_; }
    /// Minimum width of what is written (digits, or letters for the
    /// alphabetical kin).
    int digits() const { return digits_; }
    /// The next value to write. 64 bits wide, so a counter that passes the
    /// range of the typed numbers keeps counting instead of wrapping.
    int64_t counter() const { return counter_; }

protected:
    /// The counter of the item at the context's position: every item before
    /// it moved the counter once, so a name can be computed from its
    /// position alone, as the rows on screen are before the others.
    void Begin(const CNameContext& context) { counter_ = CounterAt(context.position); }
    /// Start moved `position` steps, staying at the ends of its range.
    int64_t CounterAt(size_t position) const;
    /// The counter as padded decimal text.
    std::string CounterText() const { return WriteNumber(counter_, digits_); }
    /// Moves the counter by step; stops at the ends of its range.
    void Advance();

private:
    int start_;
    int step_;
    int digits_;
    int64_t counter_;
};

/// "Add number to beginning": number + part.
class CAddNumberAtBeginningExecute : public CAddNumberExecute {
public:
    using CAddNumberExecute::CAddNumberExecute;
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;
};

/// "Add number to end": part + number.
class CAddNumberAtEndExecute : public CAddNumberExecute {
public:
    using CAddNumberExecute::CAddNumberExecute;
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;
};

/// "Produce numbered list": the part becomes prefix + number + suffix.
class CProduceNumberedListExecute : public CAddNumberExecute {
public:
    CProduceNumberedListExecute(const CRunOptions& options, const std::string& start, const std::string& step,
                                const std::string& digits, const std::string& prefix, const std::string& suffix);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    std::string prefix_;
    std::string suffix_;
};

/// "Renumber existing number sequence": the first digit run of the part is
/// replaced by the number. An item without digits keeps its name and does not
/// use up a value.
class CRenumberExecute : public CAddNumberExecute {
public:
    using CAddNumberExecute::CAddNumberExecute;
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;
    /// An item without a number leaves the counter where it is.
    bool NamesInOrder() const override { return true; }

private:
    bool counting_ = false;
};

/// "Change numbers": adds `amount` to, or subtracts it from, every number in
/// the part, left to right, writing each result padded to `digits`.
class CReformatNumberExecute : public CExecute {
public:
    CReformatNumberExecute(const CRunOptions& options, const std::string& digits, int add, const std::string& amount);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    int digits_;
    int add_;  ///< 1: add; anything else subtracts
    int amount_;
};
