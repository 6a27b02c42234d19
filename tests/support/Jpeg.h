#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

/// TIFF formats used by the tests.
enum : uint16_t { kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5 };

/// One directory entry as stored: `value` is the value itself (up to four
/// bytes) or the offset of it.
struct ExifEntry {
    uint16_t tag;
    uint16_t format;
    uint32_t count;
    uint32_t value;
};

/// Builds a TIFF block (what follows "Exif\0\0") in either byte order; offsets
/// are counted from its first byte, as in the file.
class TiffBuilder {
public:
    explicit TiffBuilder(bool bigEndian, uint32_t firstOffset = 8) : bigEndian_(bigEndian) {
        bytes = bigEndian ? "MM" : "II";
        Put16(42);
        Put32(firstOffset);
    }

    /// Appends a directory and returns its offset.
    uint32_t Directory(const std::vector<ExifEntry>& entries, uint32_t next = 0) {
        const uint32_t at = Size();
        Put16(static_cast<uint16_t>(entries.size()));
        for (const auto& e : entries) {
            Put16(e.tag);
            Put16(e.format);
            Put32(e.count);
            if (e.format == kAscii && e.count <= 4) {
                // Short texts are stored left-aligned in the value field.
                for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((e.value >> (8 * i)) & 0xFF));
            } else {
                Put32(e.value);
            }
        }
        Put32(next);
        return at;
    }
    /// Appends raw bytes and returns their offset.
    uint32_t Data(const std::string& data) {
        const uint32_t at = Size();
        bytes += data;
        return at;
    }
    /// Offset of the value field of entry `index` of the directory at `dir`.
    static uint32_t ValueField(uint32_t dir, int index) { return dir + 2 + 12 * index + 8; }
    /// Offset of the next-directory link of the directory at `dir` with `count` entries.
    static uint32_t LinkField(uint32_t dir, int count) { return dir + 2 + 12 * count; }

    void Set16(uint32_t at, uint16_t v) { Write(at, v, 2); }
    void Set32(uint32_t at, uint32_t v) { Write(at, v, 4); }
    uint32_t Size() const { return static_cast<uint32_t>(bytes.size()); }

    std::string bytes;

private:
    void Put16(uint16_t v) { Write(Size(), v, 2); }
    void Put32(uint32_t v) { Write(Size(), v, 4); }
    void Write(uint32_t at, uint32_t v, int size) {
        if (bytes.size() < at + size) bytes.resize(at + size);
        for (int i = 0; i < size; ++i) {
            const int shift = bigEndian_ ? 8 * (size - 1 - i) : 8 * i;
            bytes[at + i] = static_cast<char>((v >> shift) & 0xFF);
        }
    }
    bool bigEndian_;
};

/// The APP1 payload of an EXIF block.
inline std::string ExifPayload(const std::string& tiff) {
    return std::string("Exif\0\0", 6) + tiff;
}

/// Builds a JPEG head from sections; Build adds the start of the image data.
class JpegBuilder {
public:
    JpegBuilder& Section(uint8_t marker, const std::string& payload) {
        const size_t length = payload.size() + 2;
        out_ += '\xFF';
        out_ += static_cast<char>(marker);
        out_ += static_cast<char>(length >> 8);
        out_ += static_cast<char>(length & 0xFF);
        out_ += payload;
        return *this;
    }
    JpegBuilder& Exif(const std::string& tiff) { return Section(0xE1, ExifPayload(tiff)); }
    /// Quantisation table, frame header and Huffman table: three kept sections.
    JpegBuilder& Tables() {
        Section(0xDB, std::string(65, '\x01'));
        Section(0xC0, std::string("\x08\x00\x10\x00\x10\x01\x01\x11\x00", 9));
        return Section(0xC4, std::string(20, '\x00'));
    }
    JpegBuilder& Raw(const std::string& bytes) {
        out_ += bytes;
        return *this;
    }
    /// The file: start marker, the sections, and a scan with some image data.
    std::string Build() const {
        return std::string("\xFF\xD8", 2) + out_ + std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10) +
               std::string(32, '\x5A') + std::string("\xFF\xD9", 2);
    }
    /// Only the start marker and the sections.
    std::string Head() const { return std::string("\xFF\xD8", 2) + out_; }

private:
    std::string out_;
};

/// The TIFF block of a typical camera file: main directory with a maker
/// text, EXIF directory with DateTimeOriginal and an interoperability one.
inline std::string CameraTiff(const std::string& date, bool bigEndian) {
    TiffBuilder t(bigEndian);
    const uint32_t ifd0 = t.Directory({{0x010F, kAscii, 8, 0}, {0x8769, kLong, 1, 0}});
    const uint32_t make = t.Data(std::string("Quorlin", 8));
    t.Set32(TiffBuilder::ValueField(ifd0, 0), make);
    // Padded so that even an empty date lies behind an offset, like the rest.
    std::string stored = date + std::string(1, '\0');
    if (stored.size() < 5) stored.resize(5, '\0');
    const uint32_t exif =
        t.Directory({{0x9003, kAscii, static_cast<uint32_t>(stored.size()), 0}, {0xA005, kLong, 1, 0}});
    t.Set32(TiffBuilder::ValueField(ifd0, 1), exif);
    const uint32_t text = t.Data(stored);
    t.Set32(TiffBuilder::ValueField(exif, 0), text);
    const uint32_t interop = t.Directory({{0x0001, kAscii, 4, 0x00383952}});  // "R98"
    t.Set32(TiffBuilder::ValueField(exif, 1), interop);
    return t.bytes;
}

/// A whole camera-like JPEG with `date` as its DateTimeOriginal.
inline std::string CameraJpeg(const std::string& date, bool bigEndian = false) {
    return JpegBuilder()
        .Section(0xE0, std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14))
        .Exif(CameraTiff(date, bigEndian))
        .Tables()
        .Build();
}

}  // namespace testing_support
