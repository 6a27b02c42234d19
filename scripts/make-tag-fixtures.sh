#!/usr/bin/env bash
# Makes the fixtures of the music tag reader (core/MusicTags.cpp) under
# tests/fixtures/tags: a few silent MPEG frames, FLAC, Ogg Vorbis and Opus
# files from flac, oggenc and opusenc, tagged by python3-mutagen; the
# ID3v2.2 tag, the ID3v1 block and the MP4 boxes mutagen does not write from
# scratch are written by python itself. mutagen.txt records what mutagen
# reads back in each file; tests/core/MusicTagsTest.cpp holds the same
# values. The results are committed; run this again only to change a
# fixture, and then update the test's table.
# Needs: python3-mutagen flac vorbis-tools opus-tools (Debian).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$top/tests/fixtures/tags
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
rm -f "$out"/*
py=/usr/bin/python3  # Debian's, where python3-mutagen is

# A tenth of a second of silence, 16-bit stereo at 44.1 kHz, for the encoders.
head -c 17640 /dev/zero >"$work/silence.raw"
flac -s --force-raw-format --endian=little --sign=signed --channels=2 --bps=16 --sample-rate=44100 \
    -o "$out/flac-vorbis-comment.flac" "$work/silence.raw"
oggenc -Q -r -B 16 -C 2 -R 44100 -o "$out/ogg-vorbis.ogg" "$work/silence.raw"
opusenc --quiet --raw --raw-rate 44100 --raw-chan 2 "$work/silence.raw" "$out/opus.opus"

OUT=$out "$py" - <<'EOF'
import os, struct
from mutagen import id3
from mutagen.flac import FLAC
from mutagen.oggvorbis import OggVorbis
from mutagen.oggopus import OggOpus
from mutagen.mp4 import MP4

out = os.environ["OUT"]
def path(name): return os.path.join(out, name)

# Three MPEG-1 layer III frames of silence (128 kbit/s, 44.1 kHz: 417 bytes each).
body = (b"\xff\xfb\x90\x64" + bytes(413)) * 3
def mp3(name, tail=b""):
    with open(path(name), "wb") as f: f.write(body + tail)

def id3v1(title=b"", artist=b"", album=b"", year=b"", track=0, genre=255):
    pad = lambda s, n: s.ljust(n, b"\0")[:n]
    return (b"TAG" + pad(title, 30) + pad(artist, 30) + pad(album, 30) + pad(year, 4)
            + pad(b"", 28) + b"\0" + bytes([track, genre]))

# ID3v2.4, UTF-8, a list of two artists, the date in full.
mp3("id3v24-utf8.mp3")
t = id3.ID3()
t.add(id3.TPE1(encoding=3, text=["AC/DC", "Brian Johnson"]))
t.add(id3.TALB(encoding=3, text="Back in Black"))
t.add(id3.TIT2(encoding=3, text="Hells Bells"))
t.add(id3.TRCK(encoding=3, text="1/10"))
t.add(id3.TPOS(encoding=3, text="1/1"))
t.add(id3.TDRC(encoding=3, text="1980-07-25"))
t.add(id3.TCON(encoding=3, text="79"))
t.save(path("id3v24-utf8.mp3"), v2_version=4)

# ID3v2.3 in UTF-16, no album, with an ID3v1 block behind that has one.
mp3("id3v23-utf16.mp3")
t = id3.ID3()
t.add(id3.TPE1(encoding=1, text="Sigur Rós"))
t.add(id3.TIT2(encoding=1, text="Hoppípolla ♫"))
t.add(id3.TRCK(encoding=1, text="7/12"))
t.add(id3.TYER(encoding=1, text="2005"))
t.add(id3.TCON(encoding=1, text="(17)Rock"))
t.save(path("id3v23-utf16.mp3"), v2_version=3, v1=0)
with open(path("id3v23-utf16.mp3"), "ab") as f:  # mutagen would write its own from the ID3v2 frames
    f.write(id3v1(b"Other title", b"Other artist", b"Takk...", b"2004", 3, 12))

# ID3v2.3 in Latin-1.
mp3("id3v23-latin1.mp3")
t = id3.ID3()
t.add(id3.TPE1(encoding=0, text="Édith Piaf"))
t.add(id3.TIT2(encoding=0, text="La Vie en rose"))
t.add(id3.TALB(encoding=0, text="Café"))
t.add(id3.TPOS(encoding=0, text="2"))
t.add(id3.TCON(encoding=0, text="(8)"))
t.save(path("id3v23-latin1.mp3"), v2_version=3)

# ID3v2.2, which mutagen reads but no longer writes: three-letter frames
# with three-byte sizes.
def frame22(fid, text): return fid + struct.pack(">I", len(text) + 1)[1:] + b"\0" + text
frames = (frame22(b"TT2", b"Nuages") + frame22(b"TP1", b"Django Reinhardt") + frame22(b"TAL", b"Djangology")
          + frame22(b"TRK", b"04") + frame22(b"TYE", b"1940") + frame22(b"TCO", b"(8)Jazz")) + bytes(20)
size = len(frames)
syncsafe = bytes([size >> 21 & 127, size >> 14 & 127, size >> 7 & 127, size & 127])
with open(path("id3v22.mp3"), "wb") as f: f.write(b"ID3\x02\x00\x00" + syncsafe + frames + body)

mp3("id3v1-only.mp3", id3v1(b"Paranoid", b"Black Sabbath", b"Paranoid", b"1970", 2, 9))
mp3("no-tags.mp3")

f = FLAC(path("flac-vorbis-comment.flac"))
f["Artist"] = "AC/DC"; f["ALBUM"] = "Highway to Hell"; f["title"] = "Touch Too Much"
f["TRACKNUMBER"] = "7/12"; f["discnumber"] = "1"; f["DATE"] = "1979-07-27"; f["GENRE"] = "Hard Rock"
f.save()

f = OggVorbis(path("ogg-vorbis.ogg"))
f["ARTIST"] = "Björk"; f["ALBUM"] = "Homogenic"; f["TITLE"] = "Jóga"
f["TRACKNUMBER"] = "3"; f["DATE"] = "1997"; f["GENRE"] = "Electronic"
f.save()

f = OggOpus(path("opus.opus"))
f["ARTIST"] = "Daft Punk"; f["TITLE"] = "Contact"; f["TRACKNUMBER"] = "13/13"; f["DISCNUMBER"] = "2/2"
f["DATE"] = "2013-05-17"
f.save()

# MP4: mutagen adds tags to a movie but needs one to start from; an
# audio track with an empty sample table is enough for it.
def box(kind, payload): return struct.pack(">I", 8 + len(payload)) + kind + payload
def full(kind, payload, version=0): return box(kind, struct.pack(">I", version << 24) + payload)
mvhd = full(b"mvhd", struct.pack(">IIII", 0, 0, 44100, 0) + struct.pack(">IH", 0x10000, 0x100) + bytes(10)
            + struct.pack(">9I", 0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000) + bytes(24) + struct.pack(">I", 2))
stbl = box(b"stbl", full(b"stsd", struct.pack(">I", 0)) + full(b"stts", struct.pack(">I", 0))
           + full(b"stsc", struct.pack(">I", 0)) + full(b"stsz", struct.pack(">II", 0, 0)) + full(b"stco", struct.pack(">I", 0)))
mdia = box(b"mdia", full(b"mdhd", struct.pack(">IIIIHH", 0, 0, 44100, 0, 0x55c4, 0))
           + full(b"hdlr", struct.pack(">I", 0) + b"soun" + bytes(12) + b"\0")
           + box(b"minf", full(b"smhd", bytes(4)) + stbl))
trak = box(b"trak", full(b"tkhd", struct.pack(">IIIII", 0, 0, 1, 0, 0) + bytes(60), 0) + mdia)
with open(path("m4a-ilst.m4a"), "wb") as f:
    f.write(box(b"ftyp", b"M4A \0\0\0\0M4A isom") + box(b"moov", mvhd + trak) + box(b"mdat", bytes(64)))
f = MP4(path("m4a-ilst.m4a"))
f["\xa9ART"] = "AC/DC"; f["\xa9alb"] = "Let There Be Rock"; f["\xa9nam"] = "Whole Lotta Rosie"
f["trkn"] = [(8, 8)]; f["disk"] = [(1, 1)]; f["\xa9day"] = "1977-03-21"; f["\xa9gen"] = "Hard Rock"
f.save()
EOF

# What mutagen reads back, for the test's table.
for f in "$out"/*.*; do
    [ "$(basename "$f")" = mutagen.txt ] && continue
    echo "== $(basename "$f")"
    "$py" -c 'import sys, mutagen
f = mutagen.File(sys.argv[1])
for k, v in sorted((f.tags or {}).items()) if f and f.tags is not None else []:
    print(" ", repr(k)[:24], repr(v)[:120])' "$f" 2>&1 || true
done >"$out/mutagen.txt"
