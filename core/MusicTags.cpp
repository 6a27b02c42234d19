#include "core/MusicTags.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/BoundedReader.h"
#include "platform/FileSystem.h"

namespace {

// What one file may cost in reading. Tags sit at the head of a file or,
// for MP4, in a movie box that may follow the media data; pictures and
// media between are passed over without reading where the stream allows.
constexpr uint64_t kMaxReadBytes = 8 << 20;
// An ID3v2 tag is read whole, pictures included; text frames come first in
// what every common tagger writes, so a larger tag keeps its text here.
constexpr size_t kMaxId3Bytes = 4 << 20;
// A Vorbis comment block may carry a cover picture; the text comments that
// are wanted stand before it in every tagger seen.
constexpr size_t kMaxCommentBytes = 1 << 20;
constexpr size_t kMaxAtomBytes = 64 << 10;
constexpr int kMaxFrames = 4096;
constexpr int kMaxComments = 4096;
constexpr int kMaxBlocks = 256;
constexpr int kMaxPages = 1024;
constexpr int kMaxBoxes = 1024;
constexpr size_t kMaxNumberDigits = 9;
constexpr size_t kId3v1Size = 128;

uint32_t Be32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           p[3];
}
uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 |
           p[0];
}
uint64_t Be64(const uint8_t* p) {
    return static_cast<uint64_t>(Be32(p)) << 32 | Be32(p + 4);
}
// The 28-bit "syncsafe" integers of ID3v2.4, seven bits a byte so that no
// byte looks like an MPEG frame start; a byte with its top bit set is damage.
bool Syncsafe(const uint8_t* p, uint32_t& out) {
    if ((p[0] | p[1] | p[2] | p[3]) & 0x80) return false;
    out =
        static_cast<uint32_t>(p[0]) << 21 | static_cast<uint32_t>(p[1]) << 14 | static_cast<uint32_t>(p[2]) << 7 | p[3];
    return true;
}
bool Is(const uint8_t* p, const char* tag, size_t n) {
    return std::memcmp(p, tag, n) == 0;
}

// ---- Text ----

void AppendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}
constexpr uint32_t kReplacement = 0xFFFD;

std::string_view UpToNul(const uint8_t* p, size_t n) {
    const auto* end = static_cast<const uint8_t*>(std::memchr(p, 0, n));
    return {reinterpret_cast<const char*>(p), end ? static_cast<size_t>(end - p) : n};
}

std::string Latin1(std::string_view s) {
    std::string out;
    for (unsigned char c : s) AppendUtf8(out, c);
    return out;
}

// UTF-8 as it should be; each byte that does not belong to a well-formed
// sequence (overlong forms and surrogates included) becomes U+FFFD.
std::string Utf8(std::string_view s) {
    std::string out;
    size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        int extra = b >= 0xF0 && b <= 0xF4 ? 3 : b >= 0xE0 && b <= 0xEF ? 2 : b >= 0xC2 && b <= 0xDF ? 1 : 0;
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        uint32_t c = b & (0x3F >> extra);
        bool ok = extra > 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + k >= s.size()) {
                ok = false;
                break;
            }
            const auto n = static_cast<unsigned char>(s[i + k]);
            if ((n & 0xC0) != 0x80) ok = false;
            c = c << 6 | (n & 0x3F);
        }
        if (ok && ((extra == 2 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) ||
                   (extra == 3 && (c < 0x10000 || c > 0x10FFFF))))
            ok = false;
        if (ok) {
            out.append(s.substr(i, extra + 1));
            i += extra + 1;
        } else {
            AppendUtf8(out, kReplacement);
            ++i;
        }
    }
    return out;
}

// UTF-16 up to its first NUL; an unpaired surrogate becomes U+FFFD.
std::string Utf16(const uint8_t* p, size_t n, bool bigEndian) {
    std::string out;
    auto unit = [&](size_t i) -> uint32_t {
        return bigEndian ? static_cast<uint32_t>(p[i]) << 8 | p[i + 1] : static_cast<uint32_t>(p[i + 1]) << 8 | p[i];
    };
    for (size_t i = 0; i + 1 < n; i += 2) {
        uint32_t c = unit(i);
        if (c == 0) break;
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < n && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::string Trim(std::string s) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t b = 0, e = s.size();
    while (b < e && space(s[b])) ++b;
    while (e > b && space(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// "7" from "7/12", " 07 " or "7 of 12"; nothing from "0", "A1" or a run of
// digits no file would number a track with.
std::string Number(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    while (i < s.size() && s[i] == '0') ++i;
    const size_t start = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    if (i == start || i - start > kMaxNumberDigits) return {};
    return std::string(s.substr(start, i - start));
}
std::string Number(uint32_t n) {
    return n ? std::to_string(n) : std::string();
}

// The year a date begins with: "2019" from "2019", "2019-05-01" or
// "2019-05-01T10:00:00Z"; nothing from "19" or "May 2019".
std::string Year(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    if (s.size() < 4) return {};
    for (size_t i = 0; i < 4; ++i)
        if (s[i] < '0' || s[i] > '9') return {};
    if (s.size() > 4 && s[4] >= '0' && s[4] <= '9') return {};
    return std::string(s.substr(0, 4));
}

enum class Field : uint8_t { kArtist, kAlbum, kTitle, kGenre, kTrack, kDisc, kYear };

// The first value of a field wins; the text is put in its field's form.
void Set(CMusicTags& tags, Field field, const std::string& text) {
    std::string* target = nullptr;
    std::string value;
    switch (field) {
        case Field::kArtist:
            target = &tags.artist, value = Trim(text);
            break;
        case Field::kAlbum:
            target = &tags.album, value = Trim(text);
            break;
        case Field::kTitle:
            target = &tags.title, value = Trim(text);
            break;
        case Field::kGenre:
            target = &tags.genre, value = Trim(text);
            break;
        case Field::kTrack:
            target = &tags.track, value = Number(text);
            break;
        case Field::kDisc:
            target = &tags.disc, value = Number(text);
            break;
        case Field::kYear:
            target = &tags.year, value = Year(text);
            break;
    }
    if (target->empty()) *target = std::move(value);
}

constexpr const char* kGenres[] = {
    "Blues",
    "Classic Rock",
    "Country",
    "Dance",
    "Disco",
    "Funk",
    "Grunge",
    "Hip-Hop",
    "Jazz",
    "Metal",
    "New Age",
    "Oldies",
    "Other",
    "Pop",
    "R&B",
    "Rap",
    "Reggae",
    "Rock",
    "Techno",
    "Industrial",
    "Alternative",
    "Ska",
    "Death Metal",
    "Pranks",
    "Soundtrack",
    "Euro-Techno",
    "Ambient",
    "Trip-Hop",
    "Vocal",
    "Jazz+Funk",
    "Fusion",
    "Trance",
    "Classical",
    "Instrumental",
    "Acid",
    "House",
    "Game",
    "Sound Clip",
    "Gospel",
    "Noise",
    "Alternative Rock",
    "Bass",
    "Soul",
    "Punk",
    "Space",
    "Meditative",
    "Instrumental Pop",
    "Instrumental Rock",
    "Ethnic",
    "Gothic",
    "Darkwave",
    "Techno-Industrial",
    "Electronic",
    "Pop-Folk",
    "Eurodance",
    "Dream",
    "Southern Rock",
    "Comedy",
    "Cult",
    "Gangsta",
    "Top 40",
    "Christian Rap",
    "Pop/Funk",
    "Jungle",
    "Native American",
    "Cabaret",
    "New Wave",
    "Psychedelic",
    "Rave",
    "Showtunes",
    "Trailer",
    "Lo-Fi",
    "Tribal",
    "Acid Punk",
    "Acid Jazz",
    "Polka",
    "Retro",
    "Musical",
    "Rock & Roll",
    "Hard Rock",
    // What Winamp added, which ID3v1 taggers have used ever since.
    "Folk",
    "Folk-Rock",
    "National Folk",
    "Swing",
    "Fast Fusion",
    "Bebop",
    "Latin",
    "Revival",
    "Celtic",
    "Bluegrass",
    "Avantgarde",
    "Gothic Rock",
    "Progressive Rock",
    "Psychedelic Rock",
    "Symphonic Rock",
    "Slow Rock",
    "Big Band",
    "Chorus",
    "Easy Listening",
    "Acoustic",
    "Humour",
    "Speech",
    "Chanson",
    "Opera",
    "Chamber Music",
    "Sonata",
    "Symphony",
    "Booty Bass",
    "Primus",
    "Porn Groove",
    "Satire",
    "Slow Jam",
    "Club",
    "Tango",
    "Samba",
    "Folklore",
    "Ballad",
    "Power Ballad",
    "Rhythmic Soul",
    "Freestyle",
    "Duet",
    "Punk Rock",
    "Drum Solo",
    "A Cappella",
    "Euro-House",
    "Dance Hall",
    "Goa",
    "Drum & Bass",
    "Club-House",
    "Hardcore Techno",
    "Terror",
    "Indie",
    "BritPop",
    "Afro-Punk",
    "Polsk Punk",
    "Beat",
    "Christian Gangsta Rap",
    "Heavy Metal",
    "Black Metal",
    "Crossover",
    "Contemporary Christian",
    "Christian Rock",
    "Merengue",
    "Salsa",
    "Thrash Metal",
    "Anime",
    "Jpop",
    "Synthpop",
};

// ---- ID3 ----

struct Id3Frame {
    const char* v23;
    const char* v22;
    Field field;
};
constexpr Id3Frame kId3Frames[] = {
    {"TPE1", "TP1", Field::kArtist}, {"TALB", "TAL", Field::kAlbum}, {"TIT2", "TT2", Field::kTitle},
    {"TCON", "TCO", Field::kGenre},  {"TRCK", "TRK", Field::kTrack}, {"TPOS", "TPA", Field::kDisc},
    {"TYER", "TYE", Field::kYear},   {"TDRC", "---", Field::kYear},
};

// Undoes unsynchronisation: the 0x00 put after every 0xFF so that no MPEG
// frame start shows in the tag.
std::vector<uint8_t> Resync(const uint8_t* p, size_t n) {
    std::vector<uint8_t> out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        out.push_back(p[i]);
        if (p[i] == 0xFF && i + 1 < n && p[i + 1] == 0) ++i;
    }
    return out;
}

// The first value of a text frame, whatever its encoding. A 2.4 frame may
// list several, NUL between them.
std::string Id3Text(const uint8_t* p, size_t n) {
    if (n < 1) return {};
    const uint8_t encoding = p[0];
    ++p, --n;
    switch (encoding) {
        case 0:
            return Latin1(UpToNul(p, n));
        case 1:
            if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF) return Utf16(p + 2, n - 2, true);
            if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) return Utf16(p + 2, n - 2, false);
            return Utf16(p, n, false);  // no byte order mark: what Windows taggers mean
        case 2:
            return Utf16(p, n, true);
        case 3:
            return Utf8(UpToNul(p, n));
        default:
            return {};
    }
}

// A content type names its genre by ID3v1 number, "(17)" in 2.3 with
// perhaps a text refining it, plain "17" in 2.4; "((" starts a text that
// begins with a parenthesis. The number's name wins over the refinement,
// which taggers fill with the same name or leave out.
std::string Id3Genre(const std::string& raw) {
    const std::string s = Trim(raw);
    const auto numbered = [](const std::string& t) {
        return !t.empty() && t.size() <= 3 && t.find_first_not_of("0123456789") == std::string::npos
                   ? Id3v1GenreName(std::stoi(t))
                   : std::string();
    };
    std::string named;
    size_t i = 0;
    while (i < s.size() && s[i] == '(') {
        if (i + 1 < s.size() && s[i + 1] == '(') break;
        const size_t close = s.find(')', i);
        if (close == std::string::npos) break;
        const std::string inside = s.substr(i + 1, close - i - 1);
        if (named.empty()) named = inside == "RX" ? "Remix" : inside == "CR" ? "Cover" : numbered(inside);
        i = close + 1;
    }
    if (!named.empty()) return named;
    std::string rest = Trim(s.substr(i));
    if (rest.size() >= 2 && rest[0] == '(' && rest[1] == '(') return rest.substr(1);
    const std::string name = numbered(rest);
    return name.empty() ? rest : name;
}

void ParseId3Frames(const uint8_t* p, size_t n, int major, bool tagUnsync, CMusicTags& tags) {
    const size_t idSize = major == 2 ? 3 : 4;
    const size_t headerSize = major == 2 ? 6 : 10;
    size_t pos = 0;
    for (int count = 0; count < kMaxFrames && n - pos >= headerSize; ++count) {
        const uint8_t* h = p + pos;
        if (h[0] == 0) break;  // padding
        for (size_t i = 0; i < idSize; ++i)
            if (!((h[i] >= 'A' && h[i] <= 'Z') || (h[i] >= '0' && h[i] <= '9'))) return;
        uint32_t size = 0;
        if (major == 2) {
            size = static_cast<uint32_t>(h[3]) << 16 | static_cast<uint32_t>(h[4]) << 8 | h[5];
        } else if (major == 3) {
            size = Be32(h + 4);
        } else if (!Syncsafe(h + 4, size)) {
            return;
        }
        pos += headerSize;
        if (size > n - pos) return;
        const uint8_t* body = p + pos;
        size_t bodySize = size;
        pos += size;

        const Id3Frame* frame = nullptr;
        for (const auto& f : kId3Frames)
            if (Is(h, major == 2 ? f.v22 : f.v23, idSize)) frame = &f;
        if (!frame) continue;
        std::vector<uint8_t> resynced;
        if (major == 3) {
            // Compressed or encrypted: nothing readable. A group byte comes first.
            if (h[9] & 0xC0) continue;
            if (h[9] & 0x20) {
                if (bodySize < 1) continue;
                ++body, --bodySize;
            }
        } else if (major == 4) {
            if (h[9] & 0x0C) continue;
            if (h[9] & 0x40) {
                if (bodySize < 1) continue;
                ++body, --bodySize;
            }
            if (h[9] & 0x01) {  // the data length before unsynchronisation
                if (bodySize < 4) continue;
                body += 4, bodySize -= 4;
            }
            if (h[9] & 0x02 || tagUnsync) {
                resynced = Resync(body, bodySize);
                body = resynced.data();
                bodySize = resynced.size();
            }
        }
        const std::string text = Utf8(Id3Text(body, bodySize));  // re-checked: Latin-1 and UTF-16 come out whole
        Set(tags, frame->field, frame->field == Field::kGenre ? Id3Genre(text) : text);
    }
}

// The ID3v2 tag at the reader's position, its 10-byte header already read.
void ReadId3v2(CBoundedReader& r, const uint8_t* header, CMusicTags& tags) {
    const int major = header[3];
    const uint8_t flags = header[5];
    uint32_t size = 0;
    if (major < 2 || major > 4 || header[4] == 0xFF || !Syncsafe(header + 6, size)) return;
    std::vector<uint8_t> body;
    r.ReadSome(body, std::min<size_t>(size, kMaxId3Bytes));
    if (size > body.size()) r.Skip(size - body.size());
    if (major == 4 && flags & 0x10) r.Skip(10);  // footer
    tags.found = true;
    if (major == 2 && flags & 0x40) return;  // 2.2 compression, never defined
    if (major < 4 && flags & 0x80) body = Resync(body.data(), body.size());
    size_t start = 0;
    if (major >= 3 && flags & 0x40) {
        if (body.size() < 4) return;
        uint32_t extended = 0;
        if (major == 3) {
            extended = Be32(body.data()) + 4;  // 2.3 counts without its size field
        } else if (!Syncsafe(body.data(), extended)) {
            return;
        }
        if (extended > body.size()) return;
        start = extended;
    }
    ParseId3Frames(body.data() + start, body.size() - start, major, major == 4 && flags & 0x80, tags);
}

std::string Id3v1Text(const uint8_t* p, size_t n) {
    return Trim(Latin1(UpToNul(p, n)));
}

void ParseId3v1(const uint8_t* t, CMusicTags& tags) {
    tags.found = true;
    Set(tags, Field::kTitle, Id3v1Text(t + 3, 30));
    Set(tags, Field::kArtist, Id3v1Text(t + 33, 30));
    Set(tags, Field::kAlbum, Id3v1Text(t + 63, 30));
    Set(tags, Field::kYear, Id3v1Text(t + 93, 4));
    if (t[125] == 0 && t[126] != 0) Set(tags, Field::kTrack, Number(t[126]));  // ID3v1.1
    Set(tags, Field::kGenre, Id3v1GenreName(t[127]));
}

void ReadId3v1(CBoundedReader& r, uint64_t fileSize, CMusicTags& tags) {
    if (fileSize < kId3v1Size || !r.SkipTo(fileSize - kId3v1Size)) return;
    uint8_t t[kId3v1Size];
    if (r.Read(t, sizeof t) && Is(t, "TAG", 3)) ParseId3v1(t, tags);
}

// ---- Vorbis comments ----

// The comments of Vorbis, Opus and FLAC: a vendor string, then "KEY=value"
// texts, lengths little-endian. A comment cut off ends the reading, and
// what came before it stands.
void ParseVorbisComments(const uint8_t* p, size_t n, CMusicTags& tags) {
    if (n < 4) return;
    const uint32_t vendor = Le32(p);
    if (vendor > n - 4 || n - 4 - vendor < 4) return;
    size_t pos = 4 + vendor;
    const uint32_t count = Le32(p + pos);
    pos += 4;
    tags.found = true;
    struct Key {
        const char* name;
        Field field;
    };
    static constexpr Key kKeys[] = {
        {"ARTIST", Field::kArtist}, {"ALBUM", Field::kAlbum},       {"TITLE", Field::kTitle},
        {"GENRE", Field::kGenre},   {"TRACKNUMBER", Field::kTrack}, {"DISCNUMBER", Field::kDisc},
        {"DATE", Field::kYear},     {"YEAR", Field::kYear},
    };
    for (uint32_t i = 0; i < count && i < static_cast<uint32_t>(kMaxComments) && n - pos >= 4; ++i) {
        const uint32_t length = Le32(p + pos);
        pos += 4;
        if (length > n - pos) return;
        const std::string_view comment(reinterpret_cast<const char*>(p + pos), length);
        pos += length;
        const size_t equals = comment.find('=');
        if (equals == std::string_view::npos) continue;
        for (const auto& key : kKeys) {
            if (equals != std::strlen(key.name)) continue;
            bool same = true;
            for (size_t k = 0; k < equals && same; ++k)
                same = (comment[k] >= 'a' && comment[k] <= 'z' ? comment[k] - 32 : comment[k]) == key.name[k];
            if (same) Set(tags, key.field, Utf8(comment.substr(equals + 1)));
        }
    }
}

// ---- FLAC ----

// Metadata blocks after "fLaC", which the reader has passed.
void ReadFlac(CBoundedReader& r, CMusicTags& tags) {
    for (int i = 0; i < kMaxBlocks; ++i) {
        uint8_t h[4];
        if (!r.Read(h, sizeof h)) return;
        const uint32_t size = static_cast<uint32_t>(h[1]) << 16 | static_cast<uint32_t>(h[2]) << 8 | h[3];
        if ((h[0] & 0x7F) == 4) {
            std::vector<uint8_t> block;
            r.ReadSome(block, std::min<size_t>(size, kMaxCommentBytes));
            ParseVorbisComments(block.data(), block.size(), tags);
            return;
        }
        if (h[0] & 0x80 || !r.Skip(size)) return;  // the last block, or the end
    }
}

// ---- Ogg ----

// The first stream's comment packet, its second, gathered from the
// segments of as many pages as it spans.
void ReadOgg(CBoundedReader& r, CMusicTags& tags) {
    std::vector<uint8_t> packet;
    int packetIndex = 0;
    bool haveSerial = false;
    uint32_t serial = 0;
    enum class Kind { kVorbis, kOpus, kFlac } kind = Kind::kVorbis;
    for (int page = 0; page < kMaxPages; ++page) {
        uint8_t h[27];
        uint8_t lacing[255];
        if (!r.Read(h, sizeof h) || !Is(h, "OggS", 4) || h[4] != 0 || !r.Read(lacing, h[26])) return;
        size_t bodySize = 0;
        for (int i = 0; i < h[26]; ++i) bodySize += lacing[i];
        const uint32_t pageSerial = Le32(h + 14);
        if (haveSerial && pageSerial != serial) {
            if (!r.Skip(bodySize)) return;
            continue;
        }
        std::vector<uint8_t> body(bodySize);
        if (!r.Read(body.data(), bodySize)) return;
        if (!haveSerial) {
            // The stream to follow is the first whose opening page names a
            // codec with comments; a video's stream may open before it.
            const auto opens = [&](const char* magic, size_t n) { return bodySize >= n && Is(body.data(), magic, n); };
            if (!(h[5] & 0x02)) return;
            if (!opens("\x01vorbis", 7) && !opens("OpusHead", 8) &&
                !opens("\x7F"
                       "FLAC",
                       5))
                continue;
            haveSerial = true;
            serial = pageSerial;
        }
        size_t at = 0;
        for (int i = 0; i < h[26]; ++i) {
            const size_t take =
                std::min<size_t>(lacing[i], kMaxCommentBytes - std::min(packet.size(), kMaxCommentBytes));
            packet.insert(packet.end(), body.begin() + static_cast<ptrdiff_t>(at),
                          body.begin() + static_cast<ptrdiff_t>(at + take));
            at += lacing[i];
            if (lacing[i] == 255) continue;
            // A whole packet.
            if (packetIndex == 0) {
                if (packet.size() >= 7 && Is(packet.data(), "\x01vorbis", 7)) {
                    kind = Kind::kVorbis;
                } else if (packet.size() >= 8 && Is(packet.data(), "OpusHead", 8)) {
                    kind = Kind::kOpus;
                } else if (packet.size() >= 5 && Is(packet.data(),
                                                    "\x7F"
                                                    "FLAC",
                                                    5)) {
                    kind = Kind::kFlac;
                } else {
                    return;
                }
            } else {
                const uint8_t* p = packet.data();
                const size_t n = packet.size();
                if (kind == Kind::kVorbis && n >= 7 && Is(p, "\x03vorbis", 7)) ParseVorbisComments(p + 7, n - 7, tags);
                if (kind == Kind::kOpus && n >= 8 && Is(p, "OpusTags", 8)) ParseVorbisComments(p + 8, n - 8, tags);
                if (kind == Kind::kFlac && n >= 4 && (p[0] & 0x7F) == 4) ParseVorbisComments(p + 4, n - 4, tags);
                return;
            }
            ++packetIndex;
            packet.clear();
        }
        // The comment packet may be the first of its page, after a full one.
        if (packetIndex > 0 && packet.size() >= kMaxCommentBytes) {
            // Too long to gather whole: what it holds so far is read.
            const uint8_t* p = packet.data();
            if (kind == Kind::kVorbis && Is(p, "\x03vorbis", 7)) ParseVorbisComments(p + 7, packet.size() - 7, tags);
            if (kind == Kind::kOpus && Is(p, "OpusTags", 8)) ParseVorbisComments(p + 8, packet.size() - 8, tags);
            if (kind == Kind::kFlac && (p[0] & 0x7F) == 4) ParseVorbisComments(p + 4, packet.size() - 4, tags);
            return;
        }
    }
}

// ---- MP4 ----

// Walks boxes from the reader's position up to `end` (the file's end when
// unknown) to the first of `type`, and leaves the reader after its header
// with `boxEnd` where it stops.
bool FindBox(CBoundedReader& r, uint64_t end, const char* type, uint64_t& boxEnd, int& boxes) {
    while (r.pos() + 8 <= end && ++boxes <= kMaxBoxes) {
        uint8_t h[16];
        if (!r.Read(h, 8)) return false;
        uint64_t size = Be32(h);
        uint64_t header = 8;
        if (size == 1) {
            if (!r.Read(h + 8, 8)) return false;
            size = Be64(h + 8);
            header = 16;
        } else if (size == 0) {
            size = end - (r.pos() - 8);  // to the end of what holds it
        }
        const uint64_t start = r.pos() - header;
        if (size < header || size > end - start) return false;
        if (Is(h + 4, type, 4)) {
            boxEnd = start + size;
            return true;
        }
        if (!r.SkipTo(start + size)) return false;
    }
    return false;
}

void ParseIlstItem(const uint8_t* type, const uint8_t* p, size_t n, CMusicTags& tags) {
    // The item's first 'data' box: type, locale, then the value.
    if (n < 16 || !Is(p + 4, "data", 4)) return;
    const uint32_t size = Be32(p);
    if (size < 16 || size > n) return;
    const uint32_t dataType = Be32(p + 8) & 0xFFFFFF;
    const uint8_t* v = p + 16;
    const size_t vn = size - 16;
    struct Text {
        const char* type;
        Field field;
    };
    static constexpr Text kTexts[] = {
        {"\xA9"
         "ART",
         Field::kArtist},
        {"\xA9"
         "alb",
         Field::kAlbum},
        {"\xA9"
         "nam",
         Field::kTitle},
        {"\xA9"
         "gen",
         Field::kGenre},
        {"\xA9"
         "day",
         Field::kYear},
    };
    for (const auto& t : kTexts)
        if (Is(type, t.type, 4) && dataType == 1) Set(tags, t.field, Utf8(UpToNul(v, vn)));
    if ((Is(type, "trkn", 4) || Is(type, "disk", 4)) && vn >= 4)
        Set(tags, Is(type, "trkn", 4) ? Field::kTrack : Field::kDisc, Number(static_cast<uint32_t>(v[2] << 8 | v[3])));
    if (Is(type, "gnre", 4) && vn >= 2 && (v[0] << 8 | v[1]) > 0)
        Set(tags, Field::kGenre, Id3v1GenreName((v[0] << 8 | v[1]) - 1));
}

void ReadMp4(CBoundedReader& r, uint64_t fileSize, CMusicTags& tags) {
    const uint64_t end = fileSize ? fileSize : UINT64_MAX;
    int boxes = 0;
    uint64_t moovEnd = 0, udtaEnd = 0, metaEnd = 0, ilstEnd = 0;
    if (!FindBox(r, end, "moov", moovEnd, boxes) || !FindBox(r, moovEnd, "udta", udtaEnd, boxes) ||
        !FindBox(r, udtaEnd, "meta", metaEnd, boxes))
        return;
    // meta is a full box in MP4, but a plain one in QuickTime files: there
    // its first child's size stands where the version and flags would be.
    uint8_t probe[8];
    if (metaEnd - r.pos() < 8 || !r.Read(probe, 4)) return;
    if (Be32(probe) != 0) {
        if (!r.Read(probe + 4, 4) || !Is(probe + 4, "hdlr", 4)) return;
        const uint32_t size = Be32(probe);
        if (size < 8 || !r.Skip(size - 8)) return;
    }
    if (!FindBox(r, metaEnd, "ilst", ilstEnd, boxes)) return;
    tags.found = true;
    while (r.pos() + 8 <= ilstEnd && ++boxes <= kMaxBoxes) {
        uint8_t h[8];
        if (!r.Read(h, 8)) return;
        const uint32_t size = Be32(h);
        const uint64_t start = r.pos() - 8;
        if (size < 8 || size > ilstEnd - start) return;
        if (h[4] == 0xA9 || Is(h + 4, "trkn", 4) || Is(h + 4, "disk", 4) || Is(h + 4, "gnre", 4)) {
            std::vector<uint8_t> item;
            r.ReadSome(item, std::min<size_t>(size - 8, kMaxAtomBytes));
            ParseIlstItem(h + 4, item.data(), item.size(), tags);
        }
        if (!r.SkipTo(start + size)) return;
    }
}

}  // namespace

std::string Id3v1GenreName(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kGenres))) return {};
    return kGenres[index];
}

CMusicTags ReadMusicTags(platform::IReadStream& in, uint64_t fileSize) {
    CMusicTags tags;
    CBoundedReader r(in, kMaxReadBytes);
    const uint8_t* head = r.head();
    const size_t n = r.headSize();
    if (n >= 4 && Is(head, "fLaC", 4)) {
        r.Skip(4);
        ReadFlac(r, tags);
    } else if (n >= 4 && Is(head, "OggS", 4)) {
        ReadOgg(r, tags);
    } else if (n >= 8 && Is(head + 4, "ftyp", 4)) {
        ReadMp4(r, fileSize, tags);
    } else {
        uint8_t h[10];
        if (n >= 10 && Is(head, "ID3", 3) && r.Read(h, sizeof h)) {
            ReadId3v2(r, h, tags);
            // A FLAC file a careless tagger put an ID3v2 tag in front of;
            // the look must not pass an ID3v1 block right behind the tag.
            uint8_t magic[4];
            const bool room = fileSize == 0 || fileSize >= r.pos() + sizeof magic + kId3v1Size;
            if (room && r.Read(magic, 4) && Is(magic, "fLaC", 4)) {
                ReadFlac(r, tags);
                return tags;
            }
        }
        ReadId3v1(r, fileSize, tags);
    }
    return tags;
}

CMusicTags ReadMusicTags(const uint8_t* data, size_t size) {
    CMemoryStream in(data, size);
    return ReadMusicTags(in, size);
}
