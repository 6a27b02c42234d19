// libFuzzer target for the music tag reader, every format at once: the
// reader tells them apart by their first bytes. Built and run by
// scripts/fuzz-music-tags.sh, outside the CMake test build.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/MusicTags.h"
#include "platform/FileSystem.h"

namespace {

// A stream that cannot move on: the reader must then read what it passes
// over, and come to the same tags.
class PipeStream final : public platform::IReadStream {
public:
    PipeStream(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t Read(void* buffer, size_t size) override {
        const size_t n = size < size_ - pos_ ? size : size_ - pos_;
        if (n) std::memcpy(buffer, data_ + pos_, n);
        pos_ += n;
        return n;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

bool ValidUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const size_t n = b < 0x80                 ? 1
                         : b >= 0xC2 && b <= 0xDF ? 2
                         : b >= 0xE0 && b <= 0xEF ? 3
                         : b >= 0xF0 && b <= 0xF4 ? 4
                                                  : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}
bool Trimmed(const std::string& s) {
    return s.empty() || (s.front() != ' ' && s.back() != ' ' && s.front() != '\n' && s.back() != '\n');
}
bool Digits(const std::string& s, size_t min, size_t max, bool leadingZero) {
    if (s.empty()) return true;
    if (s.size() < min || s.size() > max || (!leadingZero && s[0] == '0')) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CMusicTags t = ReadMusicTags(data, size);
    for (const std::string* s : {&t.artist, &t.album, &t.title, &t.genre})
        if (!ValidUtf8(*s) || !Trimmed(*s)) std::abort();
    if (!Digits(t.track, 1, 9, false) || !Digits(t.disc, 1, 9, false) || !Digits(t.year, 4, 4, true)) std::abort();
    if (!t.found && !(t.artist + t.album + t.title + t.genre + t.track + t.disc + t.year).empty()) std::abort();
    PipeStream pipe(data, size);
    const CMusicTags p = ReadMusicTags(pipe, size);
    if (p.found != t.found || p.artist != t.artist || p.album != t.album || p.title != t.title || p.genre != t.genre ||
        p.track != t.track || p.disc != t.disc || p.year != t.year)
        std::abort();
    return 0;
}
