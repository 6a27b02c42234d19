#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

/// The bytes of a run journal. A journal is a file that a run only ever
/// appends to, so that a crash at any moment leaves a file whose records are
/// whole up to some point and not after it:
///
///     file    = magic record*
///     magic   = "QLNJRNL" 0x01                 (the 1 is the format's version)
///     record  = length:u32 crc:u32 body        (length counts the body's bytes,
///                                               crc is CRC-32 of the body)
///     body    = type:u8 field*
///
/// Numbers are little-endian; a text field is its length (u32) and its bytes,
/// which are taken as they are: POSIX names are bytes, not always UTF-8.
/// The bodies, by type:
///
///     'B' begin     kind:u8 time:i64 what:text where:text undone:text
///     'F' folder    id:u32 path:text           (ids count up from 0)
///     'I' intent    item:u32 folder:u32 flags:u8 old:text new:text
///     'N' not done  item:u32 code:u32
///     'S' settled   item:u32
///     'E' end       stopped:u8
///
/// An intent is on the disk before the rename it announces is tried; a later
/// intent for the same item replaces it (the run tries another name only
/// after the last one failed). "Not done" says an item kept its name;
/// "settled" that every item up to it has ended, renamed unless it has a
/// "not done"; "end" that the run is over and no other item was renamed.
/// A reader stops at the first record that is not whole and sound, and
/// trusts nothing after it.
namespace journal {

inline constexpr std::string_view kMagic{"QLNJRNL\x01", 8};
/// Larger bodies are not written, and a length beyond it is read as damage.
inline constexpr uint32_t kMaxBody = 1u << 20;

enum RecordType : uint8_t {
    kBegin = 'B',
    kFolder = 'F',
    kIntent = 'I',
    kNotDone = 'N',
    kSettled = 'S',
    kEnd = 'E',
};

/// Intent flags.
inline constexpr uint8_t kFlagFolder = 1;

/// CRC-32 (the polynomial of zlib and PNG) of `size` bytes, continuing from `crc`.
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);

/// Appends records to a buffer: Start, the fields, Finish.
class RecordWriter {
public:
    explicit RecordWriter(std::string& out) : out_(out) {}
    /// Opens a record of `type`.
    void Start(RecordType type);
    void U8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void U32(uint32_t v);
    void I64(int64_t v);
    void Text(std::string_view s);
    /// Frames the record opened last with its length and checksum.
    void Finish();

private:
    std::string& out_;
    size_t start_ = 0;
};

/// True when the journal's bytes end with its end record, whole: the run
/// finished or stopped by itself, and was not cut short. Walks the records
/// by their lengths alone, which is quick for a file of millions of them.
bool EndsWhole(std::string_view data);

/// Reads the records of a journal's bytes, one after another.
class RecordReader {
public:
    /// `data` holds the whole file, magic included.
    explicit RecordReader(std::string_view data);
    /// False when the file does not start with the magic: nothing is trusted.
    bool validMagic() const { return validMagic_; }
    /// The next whole and sound record's body into `body`; false at the end
    /// of the data or at the first record that is cut short or damaged.
    bool Next(std::string_view& body);
    /// True when every byte was read as whole records.
    bool atEnd() const { return at_ == data_.size(); }

private:
    std::string_view data_;
    size_t at_ = 0;
    bool validMagic_ = false;
};

/// Reads the fields of one body; any read past its end fails, and stays failed.
class FieldReader {
public:
    explicit FieldReader(std::string_view body) : body_(body) {}
    uint8_t U8();
    uint32_t U32();
    int64_t I64();
    std::string_view Text();
    /// True when every read so far found its bytes.
    bool ok() const { return ok_; }
    /// True when every byte was read.
    bool done() const { return ok_ && at_ == body_.size(); }

private:
    bool Take(size_t n);
    std::string_view body_;
    size_t at_ = 0;
    bool ok_ = true;
};

}  // namespace journal
