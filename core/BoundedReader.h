#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/FileSystem.h"

// What the readers of pictures, films and music share: a file is read
// through a budget, since a damaged or hostile one may claim anything.

/// A block in memory as a stream.
class CMemoryStream final : public platform::IReadStream {
public:
    CMemoryStream(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t Read(void* buffer, size_t size) override {
        const size_t n = std::min(size, size_ - pos_);
        if (n) std::memcpy(buffer, data_ + pos_, n);
        pos_ += n;
        return n;
    }
    bool Skip(uint64_t size) override {
        pos_ += static_cast<size_t>(std::min<uint64_t>(size, size_ - pos_));
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

/// A file seen through a read budget, with its first bytes held back so
/// that its format can be told before anything is consumed.
class CBoundedReader {
public:
    CBoundedReader(platform::IReadStream& in, uint64_t budget) : in_(in), budget_(budget) {
        headSize_ = Pull(head_.data(), head_.size());
    }

    /// The first bytes of the file (fewer when it is shorter).
    const uint8_t* head() const { return head_.data(); }
    size_t headSize() const { return headSize_; }
    /// How far into the file the reader is.
    uint64_t pos() const { return pos_; }

    /// Up to `size` bytes: fewer at the end of the file or of the budget.
    size_t ReadUpTo(void* buffer, size_t size) {
        if (size == 0) return 0;  // an empty vector's data() may be null
        auto* out = static_cast<uint8_t*>(buffer);
        size_t done = 0;
        if (headPos_ < headSize_) {
            done = std::min(size, headSize_ - headPos_);
            // A loop, not memcpy: GCC's bounds warning misjudges the copy out of the head.
            for (size_t i = 0; i < done; ++i) out[i] = head_[headPos_ + i];
            headPos_ += done;
        }
        if (done < size) done += Pull(out + done, size - done);
        pos_ += done;
        return done;
    }
    bool Read(void* buffer, size_t size) { return ReadUpTo(buffer, size) == size; }
    bool Read(std::vector<uint8_t>& out, size_t size) {
        out.resize(size);
        return Read(out.data(), size);
    }
    /// What is there of `size` bytes, for a block whose end may be cut off.
    /// The buffer grows with what arrives, not with what a header claims.
    void ReadSome(std::vector<uint8_t>& out, size_t size) {
        out.clear();
        while (out.size() < size) {
            const size_t had = out.size();
            const size_t step = std::min<size_t>(size - had, 64 << 10);
            out.resize(had + step);
            const size_t got = ReadUpTo(out.data() + had, step);
            out.resize(had + got);
            if (got < step) break;
        }
    }

    /// What the head holds back is passed over first; the stream moves past
    /// the rest without reading it, so a header after gigabytes of media
    /// costs one seek, not the budget.
    bool Skip(uint64_t size) {
        const size_t fromHead = static_cast<size_t>(std::min<uint64_t>(size, headSize_ - headPos_));
        headPos_ += fromHead;
        pos_ += fromHead;
        size -= fromHead;
        if (size == 0) return true;
        if (in_.Skip(size)) {
            pos_ += size;
            return true;
        }
        // A stream that cannot move on is read, within the budget.
        uint8_t scratch[16384];
        while (size > 0) {
            const size_t n = static_cast<size_t>(std::min<uint64_t>(size, sizeof scratch));
            if (ReadUpTo(scratch, n) != n) return false;
            size -= n;
        }
        return true;
    }
    bool SkipTo(uint64_t at) { return at >= pos_ && Skip(at - pos_); }

private:
    size_t Pull(uint8_t* out, size_t size) {
        const size_t n = in_.Read(out, static_cast<size_t>(std::min<uint64_t>(size, budget_)));
        budget_ -= n;
        return n;
    }

    platform::IReadStream& in_;
    std::array<uint8_t, 16> head_{};
    size_t headSize_ = 0;
    size_t headPos_ = 0;
    uint64_t pos_ = 0;
    uint64_t budget_;
};
