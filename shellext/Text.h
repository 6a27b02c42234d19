#pragma once

// Text for the code that runs inside Explorer. It is built without
// exceptions and without the C++ library's containers, so a failed
// allocation is a state the caller checks (ok()), never a throw or an abort
// in someone else's process.

#include <windows.h>

namespace qlnext {

/// A growable, always terminated string of Char on the process heap.
/// After a failed allocation it stays failed: further appends do nothing and
/// ok() is false, so a caller checks once after building.
template <typename Char>
class TextBuffer {
public:
    TextBuffer() = default;
    ~TextBuffer() {
        if (data_) ::HeapFree(::GetProcessHeap(), 0, data_);
    }
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    bool ok() const { return !failed_; }
    /// The text, terminated; an empty string before anything was added.
    const Char* c_str() const { return data_ ? data_ : empty(); }
    Char* data() { return data_; }
    size_t size() const { return size_; }

    /// Makes room for `count` characters plus the terminator.
    bool reserve(size_t count) {
        if (failed_) return false;
        if (count < capacity_) return true;
        size_t capacity = capacity_ ? capacity_ : 64;
        while (capacity <= count) capacity *= 2;
        const HANDLE heap = ::GetProcessHeap();
        void* grown = data_ ? ::HeapReAlloc(heap, 0, data_, capacity * sizeof(Char))
                            : ::HeapAlloc(heap, 0, capacity * sizeof(Char));
        if (!grown) {
            failed_ = true;
            return false;
        }
        data_ = static_cast<Char*>(grown);
        if (!capacity_) data_[0] = Char();
        capacity_ = capacity;
        return true;
    }

    /// Sets the length to `count`; new characters are zero.
    bool resize(size_t count) {
        if (!reserve(count)) return false;
        for (size_t i = size_; i < count; ++i) data_[i] = Char();
        size_ = count;
        data_[size_] = Char();
        return true;
    }

    bool append(const Char* text, size_t count) {
        if (!reserve(size_ + count)) return false;
        for (size_t i = 0; i < count; ++i) data_[size_ + i] = text[i];
        size_ += count;
        data_[size_] = Char();
        return true;
    }
    bool append(const Char* text) { return append(text, length(text)); }
    bool append(Char c) { return append(&c, 1); }

    static size_t length(const Char* text) {
        size_t n = 0;
        while (text[n]) ++n;
        return n;
    }

private:
    static const Char* empty() {
        static const Char nothing[1] = {};
        return nothing;
    }

    Char* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
    bool failed_ = false;
};

using WideText = TextBuffer<wchar_t>;
using Utf8Text = TextBuffer<char>;

/// Appends `count` UTF-16 units as UTF-8. An unpaired surrogate becomes
/// U+FFFD, the only thing UTF-8 can say for it.
bool AppendUtf8(Utf8Text& out, const wchar_t* text, size_t count);

/// `format` with its one "%s" replaced by `value`.
bool Format(WideText& out, const wchar_t* format, const wchar_t* value);

}  // namespace qlnext
