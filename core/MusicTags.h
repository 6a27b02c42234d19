#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {
class IReadStream;
}  // namespace platform

/// What the tags of a music file say about the recording. Every text is
/// valid UTF-8 without spaces around it, and empty when the file does not
/// tell; what the file holds in another encoding is converted, and what
/// cannot be read as text becomes U+FFFD.
struct CMusicTags {
    std::string artist, album, title, genre;
    /// The number alone, without zeros in front: "7" from "7/12" or "07".
    /// Empty when missing, 0 or not a number.
    std::string track, disc;
    /// Four digits: "2019" from "2019-05-01". Empty when the date does not
    /// begin with a year.
    std::string year;
    /// Some tag block was read, even one without any of the fields above.
    bool found = false;
};

/// Reads the tags of a music file, recognised by its first bytes whatever
/// its name:
/// - ID3v2.2, 2.3 and 2.4 at the head of an MP3 (or of a FLAC file), with
///   the ID3v1 block in the last 128 bytes filling what ID3v2 lacks. Files
///   not recognised as another format are looked at for ID3v1 too, since an
///   MP3 may begin with anything.
/// - FLAC's Vorbis comment block.
/// - Ogg Vorbis, Opus and FLAC: the comment packet of the first stream.
/// - MP4/M4A: the iTunes-style list moov/udta/meta/ilst.
/// Where a file holds a field twice, the first wins. Nothing in the file is
/// trusted: every offset and length is checked, blocks, frames, boxes and
/// pages visited are counted, and at most 8 MiB is read. What lies between
/// the parts wanted (pictures, media data) is passed over where the stream
/// can move on without reading; a stream that cannot is read through within
/// the budget. `fileSize` locates ID3v1; 0 leaves it out.
CMusicTags ReadMusicTags(platform::IReadStream& in, uint64_t fileSize);

/// The same over bytes in memory.
CMusicTags ReadMusicTags(const uint8_t* data, size_t size);

/// The name of an ID3v1 genre number (0 "Blues", 17 "Rock", up to 147
/// "Synthpop"); empty for others.
std::string Id3v1GenreName(int index);
