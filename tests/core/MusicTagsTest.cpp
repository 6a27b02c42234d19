#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/MusicTags.h"
#include "platform/FileSystem.h"
#include "tests/support/Bytes.h"
#include "tests/support/TempDir.h"

namespace {

using namespace testing_support;
using namespace std::string_literals;

CMusicTags Read(const std::string& bytes) {
    return ReadMusicTags(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}
// A pipe, say: it cannot move on without reading.
class PipeStream final : public platform::IReadStream {
public:
    explicit PipeStream(const std::string& bytes) : bytes_(bytes) {}
    size_t Read(void* buffer, size_t size) override {
        const size_t n = bytes_.copy(static_cast<char*>(buffer), size, pos_);
        pos_ += n;
        return n;
    }

private:
    const std::string& bytes_;
    size_t pos_ = 0;
};
std::string Fields(const CMusicTags& t) {
    return t.artist + "|" + t.album + "|" + t.title + "|" + t.track + "|" + t.disc + "|" + t.year + "|" + t.genre;
}
std::string Fixture(const std::string& name) { return FixtureBytes("tags", name); }

std::string Syncsafe(uint32_t v) {
    return Be((v & 0x7F) | (v << 1 & 0x7F00) | (v << 2 & 0x7F0000) | (v << 3 & 0x7F000000), 4);
}
// An ID3v2.3 or 2.4 frame.
std::string Frame(int major, const std::string& id, const std::string& body, int flags = 0) {
    return id + (major == 4 ? Syncsafe(body.size()) : Be(body.size(), 4)) + Be(flags, 2) + body;
}
std::string Id3(int major, const std::string& frames, int flags = 0) {
    return "ID3"s + char(major) + '\0' + char(flags) + Syncsafe(frames.size()) + frames;
}
// Puts a 0x00 after every 0xFF, as unsynchronisation does before a byte
// that could start an MPEG frame.
std::string Unsync(const std::string& s) {
    std::string out;
    for (char c : s) out += c == '\xFF' ? "\xFF\0"s : std::string(1, c);
    return out;
}
std::string Id3v1(const std::string& title, int genre) {
    return "TAG" + title + std::string(30 - title.size(), '\0') + std::string(92, '\0') + '\0' + '\5' + char(genre);
}
std::string Item(const std::string& type, int dataType, const std::string& value) {
    return Box(type, Box("data", Be(dataType, 4) + Be(0, 4) + value));
}
std::string Mp4(const std::string& meta) {
    return Box("ftyp", "M4A "s + Be(0, 4)) + Box("moov", Box("udta", meta));
}
std::string Comments(const std::vector<std::string>& texts) {
    std::string out = Le(6, 4) + "vendor" + Le(texts.size(), 4);
    for (const auto& t : texts) out += Le(t.size(), 4) + t;
    return out;
}
// Ogg pages of one stream, `segments` lacing values a page at most.
std::string Ogg(const std::vector<std::string>& packets, size_t segments, uint32_t serial = 1) {
    std::vector<std::string> lacing(1), bodies(1);
    for (const auto& p : packets) {
        for (size_t at = 0;; at += 255) {
            if (lacing.back().size() == segments) lacing.emplace_back(), bodies.emplace_back();
            const size_t n = std::min<size_t>(255, p.size() - at);
            lacing.back() += char(n), bodies.back() += p.substr(at, n);
            if (n < 255) break;
        }
    }
    std::string out;
    for (size_t i = 0; i < lacing.size(); ++i)
        out += "OggS\0"s + char(i ? 0 : 2) + Be(0, 8) + Le(serial, 4) + Le(i, 4) + Be(0, 4) + char(lacing[i].size()) +
               lacing[i] + bodies[i];
    return out;
}
const std::string kVorbisHead = "\x01vorbis"s + std::string(23, '\0');

TEST(MusicTags, FixturesReadAsMutagenReadsThem) {
    // What scripts/make-tag-fixtures.sh wrote (tests/fixtures/tags/mutagen.txt):
    // artist|album|title|track|disc|year|genre.
    const std::pair<const char*, const char*> cases[] = {
        {"id3v24-utf8.mp3", "AC/DC|Back in Black|Hells Bells|1|1|1980|Hard Rock"},
        {"id3v23-utf16.mp3", "Sigur Rós|Takk...|Hoppípolla ♫|7||2005|Rock"},  // album from ID3v1
        {"id3v23-latin1.mp3", "Édith Piaf|Café|La Vie en rose||2||Jazz"},
        {"id3v22.mp3", "Django Reinhardt|Djangology|Nuages|4||1940|Jazz"},
        {"id3v1-only.mp3", "Black Sabbath|Paranoid|Paranoid|2||1970|Metal"},
        {"no-tags.mp3", "||||||"},
        {"flac-vorbis-comment.flac", "AC/DC|Highway to Hell|Touch Too Much|7|1|1979|Hard Rock"},
        {"ogg-vorbis.ogg", "Björk|Homogenic|Jóga|3||1997|Electronic"},
        {"opus.opus", "Daft Punk||Contact|13|2|2013|"},
        {"m4a-ilst.m4a", "AC/DC|Let There Be Rock|Whole Lotta Rosie|8|1|1977|Hard Rock"},
    };
    for (const auto& [file, fields] : cases) {
        const std::string bytes = Fixture(file);
        ASSERT_FALSE(bytes.empty()) << file;
        const CMusicTags t = Read(bytes);
        EXPECT_EQ(Fields(t), fields) << file;
        EXPECT_EQ(t.found, std::string(file) != "no-tags.mp3") << file;
        PipeStream pipe(bytes);
        EXPECT_EQ(Fields(ReadMusicTags(pipe, bytes.size())), fields) << file << " read through";

        // A file cut short loses fields, never gets one wrong.
        for (size_t cut = 0; cut < bytes.size(); cut += 1 + cut / 16) {
            const CMusicTags part = Read(bytes.substr(0, cut));
            const std::string got[] = {part.artist, part.album, part.title, part.track,
                                       part.disc,   part.year,  part.genre};
            const std::string want[] = {t.artist, t.album, t.title, t.track, t.disc, t.year, t.genre};
            for (int i = 0; i < 7; ++i) {
                if (!got[i].empty()) {
                    EXPECT_EQ(got[i], want[i]) << file << " cut at " << cut;
                }
            }
        }
    }
}

TEST(MusicTags, Id3EncodingsAndForms) {
    const std::string utf16 = "\1\xFF\xFE"s + "A\0/\0\x3D\xD8\x35\xDE"s;  // "A/😵", the emoji as a surrogate pair
    const std::string title = Frame(3, "TIT2", utf16);
    struct Case {
        const char* what;
        std::string file;
        const char* fields;
    };
    const Case cases[] = {
        {"UTF-16 without BOM", Id3(3, Frame(3, "TPE1", "\1A\0b\0"s)), "Ab||||||"},
        {"UTF-16BE, unpaired surrogate", Id3(4, Frame(4, "TPE1", "\2\0A\xD8\0\0B"s)),
         "A\xEF\xBF\xBD"
         "B||||||"},
        {"bad UTF-8", Id3(4, Frame(4, "TPE1", "\3a\xC3(\xE0\x80\x80\xFF\xAA"s)),
         "a\xEF\xBF\xBD(\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD||||||"},
        {"2.3 whole-tag unsynchronisation",
         Id3(3,
             Unsync(title + Frame(3, "TRCK",
                                  "\0"
                                  "07/9"s)),
             0x80),
         "||A/😵|7|||"},
        {"2.4 frame unsynchronisation, data length",
         Id3(4, Frame(4, "TIT2", Be(utf16.size(), 4) + Unsync(utf16), 0x03) + Frame(4, "TRCK",
                                                                                    "\3"
                                                                                    "12"s)),
         "||A/😵|12|||"},
        {"2.3 extended header", Id3(3, Be(6, 4) + Be(0, 6) + title, 0x40), "||A/😵||||"},
        {"2.4 extended header",
         Id3(4, Syncsafe(6) + "\1\0"s + title.substr(0, 4) + Syncsafe(utf16.size()) + Be(0, 2) + utf16, 0x40),
         "||A/😵||||"},
        {"compressed, grouped",
         Id3(3, Frame(3, "TIT2", "\0x"s, 0x80) + Frame(3, "TALB",
                                                       "G\0"
                                                       "Album"s,
                                                       0x20)),
         "|Album|||||"},
        {"2.4 value lists, numbered genre",
         Id3(4, Frame(4, "TPE1", "\0One\0Two"s) + Frame(4, "TCON",
                                                        "\0"
                                                        "80\0"
                                                        "Pop"s)),
         "One||||||Folk"},
        {"dates and numbers",
         Id3(4, Frame(4, "TDRC",
                      "\0"
                      "2019-05-01T10:00"s) +
                    Frame(4, "TPOS",
                          "\0"
                          "0/2"s)),
         "|||||2019|"},
        {"short year, long track",
         Id3(3, Frame(3, "TYER",
                      "\0"
                      "19"s) +
                    Frame(3, "TRCK",
                          "\0"
                          "1234567890"s)),
         "||||||"},
        {"ID3v1 right behind ID3v2 fills the gaps", Id3(3, title) + Id3v1("Old", 17), "||A/😵|5|||Rock"},
        {"ID3v2 before FLAC",
         Id3(4, title) + "fLaC" + Be(0x04000000 | Comments({"ALBUM=X"}).size(), 4) + Comments({"ALBUM=X"}) + "\x81" +
             Be(200, 3) + std::string(200, '\0'),
         "|X|A/😵||||"},
    };
    for (const auto& c : cases) EXPECT_EQ(Fields(Read(c.file)), c.fields) << c.what;

    const std::pair<const char*, const char*> genres[] = {
        {"(17)", "Rock"},    {"(4)Eurodisco", "Disco"}, {"(RX)(17)", "Remix"}, {"((a) b", "(a) b"},
        {"(999)Own", "Own"}, {"147", "Synthpop"},       {"148", "148"},        {"Own (x)", "Own (x)"},
    };
    for (const auto& [text, name] : genres) EXPECT_EQ(Read(Id3(3, Frame(3, "TCON", "\0"s + text))).genre, name) << text;
}

TEST(MusicTags, ContainersBuiltByHand) {
    const std::string comments =
        Comments({"TITLE=" + std::string(600, 't'), "tracknumber=02/3", "Artist=A", "ARTIST=B"});
    const std::string vorbis = "\x03vorbis" + comments + "\1";
    std::string interleaved = Ogg({kVorbisHead, vorbis}, 2);
    interleaved.insert(0, Ogg({"other stream"}, 1, 9));
    const std::string title600 = "A||" + std::string(600, 't') + "|2|||";
    const std::string picture = "\x06" + Be(70000, 3) + std::string(70000, 'p');
    const std::pair<std::string, std::string> cases[] = {
        {Ogg({kVorbisHead, vorbis}, 255), title600},
        {interleaved, title600},  // a page each segment, after another stream's page
        {Ogg({"OpusHead\1\2", "OpusTags" + Comments({"DATE=1999"})}, 1), "|||||1999|"},
        {Ogg({"\x7F"
              "FLAC\1\0\0\1",
              "\x84" + Be(12, 3) + Comments({})},
             4),
         "||||||"},
        {Ogg({"Speex   ", "\x03vorbis" + comments}, 4), "||||||"},
        {"fLaC" + picture + "\x84" + Be(comments.size(), 3) + comments, title600},
        {Mp4(Box("meta", Be(0, 4) + Box("hdlr", std::string(25, '\0')) +
                             Box("ilst", Item("gnre", 0, Be(19, 2)) + Item("disk", 0, Be(3, 4) + Be(0, 2)) +
                                             Item("\xA9nam", 1, "Name") +
                                             Item("\xA9"
                                                  "ART",
                                                  2, "UTF-16?")))),
         "||Name||3||Techno"},
        {Mp4(Box("meta",
                 Box("hdlr", std::string(25, '\0')) + Box("ilst", Item("trkn", 0, Be(0, 2) + Be(7, 2) + Be(9, 4))))),
         "|||7|||"},  // QuickTime's meta, no version and flags
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(Fields(Read(cases[i].first)), cases[i].second) << "case " << i;
        PipeStream pipe(cases[i].first);
        EXPECT_EQ(Fields(ReadMusicTags(pipe, 0)), cases[i].second) << "case " << i << " read through";
    }
}

TEST(MusicTags, DamagedAndBounded) {
    const std::string title = Frame(3, "TIT2", "\0Title"s);
    const std::string ilst = Box("meta", Be(0, 4) + Box("ilst", Item("\xA9nam", 1, "T")));
    const std::string mdat = Box("mdat", std::string(9 << 20, '\0'));
    struct Case {
        const char* what;
        std::string file;
        const char* title;
    };
    const Case cases[] = {
        {"frame past the tag", Id3(3, title + "TALB" + Be(1000, 4) + "\0\0\0Album"s), "Title"},
        {"tag size past the file", Id3(3, title).replace(6, 4, Syncsafe(0xFFFFFFF)), "Title"},
        {"frame size not syncsafe", Id3(4, "TIT2\0\0\x80\0\0\0"s + title), ""},
        {"text frame of only its encoding", Id3(3, Frame(3, "TIT2", "\1"s)), ""},
        {"title behind 4 MiB of tag", Id3(3, Frame(3, "APIC", std::string(5 << 20, 'p')) + title), ""},
        {"comment count past the block", "fLaC\x84" + Be(24, 3) + Le(0, 4) + Le(99999999, 4) + Le(7, 4) + "TITLE=T",
         "T"},
        {"comment running past the block", "fLaC\x84" + Be(20, 3) + Le(0, 4) + Le(1, 4) + Le(99, 4) + "TITLE=T", ""},
        {"vendor past the block", "fLaC\x84" + Be(8, 3) + Le(0xFFFFFFFF, 4) + Le(0, 4), ""},
        {"Ogg page lacing past the file", Ogg({kVorbisHead, "\x03vorbis" + Comments({"TITLE=T"})}, 255).substr(0, 60),
         ""},
        {"box smaller than its header", Box("ftyp", "M4A ") + Be(4, 4) + "moov" + Box("moov", Box("udta", ilst)), ""},
        {"largesize moov", Box("ftyp", "M4A ") + Be(1, 4) + "moov" + Be(16 + 8 + ilst.size(), 8) + Box("udta", ilst),
         "T"},
        {"moov behind 9 MiB of media", Box("ftyp", "M4A ") + mdat + Box("moov", Box("udta", ilst)), "T"},
        {"text", "Just some text, no music.", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(c.file).title, c.title) << c.what;

    // Without moving on, the movie box behind the media is out of the budget.
    const std::string late = Box("ftyp", "M4A ") + mdat + Box("moov", Box("udta", ilst));
    PipeStream pipe(late);
    EXPECT_FALSE(ReadMusicTags(pipe, late.size()).found);
}

}  // namespace
