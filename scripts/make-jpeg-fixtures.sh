#!/usr/bin/env bash
# Makes the JPEG fixtures of the picture-date reader with ImageMagick and
# exiftool, and expected.txt: what exiftool reads as the EXIF DateTimeOriginal
# of each file ("name<TAB>text", the text empty when it finds none). The
# results are committed; run this again only to change a fixture.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$top/tests/fixtures/jpeg
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
rm -f "$out"/*.jpg "$out"/expected.txt

date="2004:03:05 14:07:09"
et() { exiftool -q -q -overwrite_original "$@"; }

convert -size 16x16 gradient:red-blue -quality 80 "$work/plain.jpg"
convert -size 8x8 xc:green "$work/thumb.jpg"

cp "$work/plain.jpg" "$out/no-exif.jpg"

cp "$work/plain.jpg" "$out/exif-le.jpg"
et -ExifByteOrder=II "-DateTimeOriginal=$date" "$out/exif-le.jpg"

cp "$work/plain.jpg" "$out/exif-be.jpg"
et -ExifByteOrder=MM "-DateTimeOriginal=$date" "$out/exif-be.jpg"

# A thumbnail adds a second main directory behind the first one's link, and
# InteropIndex an interoperability directory; the date lies past 2038.
cp "$work/plain.jpg" "$out/exif-be-thumbnail.jpg"
et -ExifByteOrder=MM "-DateTimeOriginal=2041:12:31 23:59:58" -InteropIndex=R98 \
    "-ThumbnailImage<=$work/thumb.jpg" "$out/exif-be-thumbnail.jpg"

cp "$work/plain.jpg" "$out/exif-no-date.jpg"
et -Make=Quorlin "-ModifyDate=$date" "$out/exif-no-date.jpg"

# Cameras whose clock was never set write dates like these; '#' writes the
# text as it is, past exiftool's own check.
cp "$work/plain.jpg" "$out/month-zero.jpg"
et "-DateTimeOriginal#=2004:00:05 14:07:09" "$out/month-zero.jpg"
cp "$work/plain.jpg" "$out/all-zero.jpg"
et "-DateTimeOriginal#=0000:00:00 00:00:00" "$out/all-zero.jpg"

# The date only in XMP (an APP1 section that is not EXIF).
cp "$work/plain.jpg" "$out/xmp-only.jpg"
et "-XMP-exif:DateTimeOriginal=$date" "$out/xmp-only.jpg"

# ImageMagick cuts a large Photoshop profile into APP13 sections of 65500
# bytes: 11 of them with the EXIF block and the 7 table and frame sections
# make 19 kept sections before the image data, 12 make 20.
head -c 700000 /dev/zero >"$work/11.8bim"
head -c 750000 /dev/zero >"$work/12.8bim"
convert "$out/exif-le.jpg" -profile "8BIM:$work/11.8bim" "$out/sections-19.jpg"
convert "$out/exif-le.jpg" -profile "8BIM:$work/12.8bim" "$out/sections-20.jpg"

convert -size 16x16 xc:red -strip -define png:exclude-chunks=date,time "png:$out/png-named.jpg"
printf 'This is not a picture.\n' >"$out/text-named.jpg"

# Cut inside the EXIF section, between the EXIF section and the image data,
# and inside the image data of a larger picture.
head -c 150 "$out/exif-le.jpg" >"$out/truncated-exif.jpg"
scan=$(perl -0777 -ne 'print index($_, "\xFF\xDA")' "$out/exif-le.jpg")
head -c $((scan - 10)) "$out/exif-le.jpg" >"$out/truncated-tables.jpg"
convert -size 256x256 gradient:red-blue -quality 95 "$work/large.jpg"
et "-DateTimeOriginal=$date" "$work/large.jpg"
head -c $(($(stat -c %s "$work/large.jpg") / 2)) "$work/large.jpg" >"$out/truncated-image.jpg"

# No tool writes a directory chain that loops, so the link behind the EXIF
# directory of a little-endian file is pointed back at the main directory.
cp "$out/exif-le.jpg" "$out/ifd-loop.jpg"
perl -e '
    my $f = shift;
    open(my $h, "+<:raw", $f) or die "$f: $!";
    local $/; my $d = <$h>;
    my $base = index($d, "Exif\0\0") + 6;
    die "no little-endian EXIF in $f\n" if $base < 6 || substr($d, $base, 2) ne "II";
    my $u16 = sub { unpack("v", substr($d, $base + $_[0], 2)) };
    my $u32 = sub { unpack("V", substr($d, $base + $_[0], 4)) };
    my $ifd0 = $u32->(4);
    my $exif;
    for my $i (0 .. $u16->($ifd0) - 1) {
        my $e = $ifd0 + 2 + 12 * $i;
        $exif = $u32->($e + 8) if $u16->($e) == 0x8769;
    }
    die "no EXIF directory in $f\n" unless defined $exif;
    my $link = $exif + 2 + 12 * $u16->($exif);
    substr($d, $base + $link, 4) = pack("V", $ifd0);
    seek($h, 0, 0); print $h $d; close($h);
' "$out/ifd-loop.jpg"

for f in "$out"/*.jpg; do
    printf '%s\t%s\n' "$(basename "$f")" "$(exiftool -s3 -EXIF:DateTimeOriginal "$f" 2>/dev/null || true)"
done >"$out/expected.txt"
cat "$out/expected.txt"
