#!/usr/bin/env bash
# Makes the fixtures of the date-taken reader (core/DateTaken.cpp) under
# tests/fixtures/media: small pictures from ImageMagick with dates written by
# exiftool, and videos whose few boxes python3 writes. exiftool.txt records
# what exiftool reads in each file; tests/core/DateTakenTest.cpp holds the
# same values. The results are committed; run this again only to change a
# fixture, and then update the test's table from exiftool.txt.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$top/tests/fixtures/media
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
rm -f "$out"/*

original="2023:05:01 10:00:00"
digitized="2022:06:02 11:30:00"
modified="2021:07:03 12:45:30"
et() { exiftool -q -q -overwrite_original "$@"; }
# '#' writes a text as it is, past exiftool's own check: cameras whose clock
# was never set write dates like these.
impossible=("-DateTimeOriginal#=2023:04:31 10:00:00" "-CreateDate#=2022:00:02 11:30:00")

convert -size 16x16 gradient:red-blue -quality 80 "$work/plain.jpg"

# JPEG: the three dates with an offset each; then with the better ones impossible.
cp "$work/plain.jpg" "$out/jpeg-original.jpg"
et "-DateTimeOriginal=$original" "-CreateDate=$digitized" "-ModifyDate=$modified" \
    -OffsetTimeOriginal=+02:00 -OffsetTimeDigitized=-05:00 -OffsetTime=+09:00 "$out/jpeg-original.jpg"
cp "$work/plain.jpg" "$out/jpeg-digitized.jpg"
et "${impossible[0]}" "-CreateDate=$digitized" "-ModifyDate=$modified" \
    -OffsetTimeOriginal=+02:00 -OffsetTimeDigitized=-05:30 "$out/jpeg-digitized.jpg"
cp "$work/plain.jpg" "$out/jpeg-modified.jpg"
et "${impossible[@]}" "-ModifyDate=$modified" "$out/jpeg-modified.jpg"
cp "$work/plain.jpg" "$out/jpeg-no-date.jpg"
et -Make=Quorlin "$out/jpeg-no-date.jpg"

# TIFF in both byte orders; raw files are TIFF like these.
convert -size 16x16 gradient:red-blue -compress none -endian LSB "$out/tiff-le.tif"
et "-DateTimeOriginal=$original" "-ModifyDate=$modified" "$out/tiff-le.tif"
convert -size 16x16 gradient:red-blue -compress none -endian MSB "$out/tiff-be.tif"
et "-ModifyDate=$modified" -OffsetTime=+09:00 "$out/tiff-be.tif"

# PNG: eXIf ahead of a text date; text dates alone in the forms writers use.
convert -size 8x8 xc:red -strip -define png:exclude-chunks=date,time "$work/plain.png"
cp "$work/plain.png" "$out/png-exif.png"
et "-DateTimeOriginal=$original" "-PNG:CreationTime=$modified" "$out/png-exif.png"
cp "$work/plain.png" "$out/png-text.png"
et "-PNG:CreationTime=$original+02:00" "$out/png-text.png"
cp "$work/plain.png" "$out/png-rfc1123.png"
et "-PNG:CreationTime#=Mon, 01 May 2023 08:00:00 GMT" "$out/png-rfc1123.png"
# A language makes exiftool write iTXt instead of tEXt.
cp "$work/plain.png" "$out/png-itxt.png"
et "-PNG:CreationTime-de#=2023-05-01T10:00:00" "$out/png-itxt.png"
cp "$work/plain.png" "$out/png-no-date.png"

convert -size 8x8 xc:red "$out/webp-exif.webp"
et "-DateTimeOriginal=$original" -OffsetTimeOriginal=+02:00 "$out/webp-exif.webp"

# HEIF: ImageMagick's libheif writes the pictures, exiftool adds the Exif item.
convert -size 16x16 gradient:red-blue "$out/heic-exif.heic"
et "-DateTimeOriginal=$original" -OffsetTimeOriginal=+02:00 "-CreateDate=$digitized" "$out/heic-exif.heic"
convert -size 16x16 gradient:red-blue "$out/avif-exif.avif"
et "-CreateDate=$digitized" "$out/avif-exif.avif"

# Videos: ftyp, moov with only its mvhd, and a little media data, in the
# layouts that cameras and editors write. 2023-05-01 08:00:00 UTC is
# 3765772800 seconds after 1904.
python3 - "$out" <<'EOF'
import struct, sys
out = sys.argv[1]
created = 3765772800
def box(kind, payload, size=None):
    return struct.pack('>I', 8 + len(payload) if size is None else size) + kind + payload
def mvhd(version, when):
    if version == 1:
        times = struct.pack('>QQIQ', when, when, 1000, 0)
    else:
        times = struct.pack('>IIII', when, when, 1000, 0)
    rest = struct.pack('>IH', 0x10000, 0x100) + bytes(10)
    rest += struct.pack('>9I', 0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000) + bytes(24) + struct.pack('>I', 1)
    return box(b'mvhd', bytes([version, 0, 0, 0]) + times + rest)
def ftyp(brand):
    return box(b'ftyp', brand + struct.pack('>I', 0x200) + brand + b'isom')
media = bytes(64)
def write(name, data):
    open(f'{out}/{name}', 'wb').write(data)
# exiftool sets the date of this one.
write('mp4-v0.mp4', ftyp(b'isom') + box(b'moov', mvhd(0, 1)) + box(b'mdat', media))
write('mov-v1-moov-last.mov', ftyp(b'qt  ') + box(b'mdat', media) + box(b'moov', mvhd(1, created)))
# A 64-bit size (size field 1, then the size) on the media data ahead of moov.
write('mp4-largesize.mp4', ftyp(b'mp42') + struct.pack('>I4sQ', 1, b'mdat', 16 + len(media)) + media +
      box(b'moov', mvhd(0, created)))
# Size 0: the media data runs to the end of the file.
write('m4v-open-mdat.m4v', ftyp(b'M4V ') + box(b'moov', mvhd(1, created)) + box(b'mdat', media, 0))
write('3gp-no-date.3gp', ftyp(b'3gp4') + box(b'moov', mvhd(0, 0)) + box(b'mdat', media))
EOF
et -api QuickTimeUTC "-QuickTime:CreateDate=2023:05:01 08:00:00" "$out/mp4-v0.mp4"

# What exiftool reads, in UTC for the videos.
for f in "$out"/*; do
    [ "$(basename "$f")" = exiftool.txt ] && continue
    TZ=UTC exiftool -q -time:all -G1 -a -s -api QuickTimeUTC "$f" | grep -v '^\[System\]' |
        sed "s|^|$(basename "$f"): |" || echo "$(basename "$f"): (no date)"
done >"$out/exiftool.txt"
cat "$out/exiftool.txt"
du -cb "$out" | tail -1
