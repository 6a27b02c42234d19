#!/usr/bin/env bash
# Fuzzes the date-taken reader: builds fuzz/DateTakenFuzz.cpp with clang's
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer, and runs it for
# the given seconds (default 60) seeded with one family of fixtures:
#   fuzz-date-taken.sh [exif|isomedia|png|webp|all] [seconds]
# exif is JPEG and TIFF. Each family keeps its own corpus, so that a run
# goes on from where the last one of the family stopped. Needs clang and
# libclang-rt-14-dev. A finding is written to findings/ in the output folder
# (QLN_FUZZ_DIR, by default build/fuzz/date-taken) and makes the script fail.
# TZ=UTC lets the target check the offsets against the clock.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
family=${1:-all}
seconds=${2:-60}
out=${QLN_FUZZ_DIR:-$top/build/fuzz/date-taken}
media=$top/tests/fixtures/media

case $family in
    exif) patterns=("$media"/*.jpg "$media"/*.tif "$top"/tests/fixtures/jpeg/*.jpg) ;;
    isomedia) patterns=("$media"/*.heic "$media"/*.avif "$media"/*.mp4 "$media"/*.mov "$media"/*.m4v "$media"/*.3gp) ;;
    png) patterns=("$media"/*.png) ;;
    webp) patterns=("$media"/*.webp) ;;
    all) patterns=("$media"/*.* "$top"/tests/fixtures/jpeg/*.jpg) ;;
    *) echo "unknown family: $family" >&2; exit 2 ;;
esac
mkdir -p "$out/findings" "$out/$family/corpus" "$out/$family/seeds"
for f in "${patterns[@]}"; do
    [ "$(basename "$f")" = exiftool.txt ] || cp "$f" "$out/$family/seeds/"
done

if [ ! -x "$out/DateTakenFuzz" ] || [ -n "$(find "$top/core/DateTaken.cpp" "$top/core/DateTaken.h" \
        "$top/core/PictureDate.cpp" "$top/fuzz/DateTakenFuzz.cpp" -newer "$out/DateTakenFuzz")" ]; then
    clang++ -std=c++20 -g -O1 -fno-omit-frame-pointer \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
        -I"$top" \
        "$top/fuzz/DateTakenFuzz.cpp" \
        "$top/core/DateTaken.cpp" \
        "$top/core/PictureDate.cpp" \
        "$top/core/FileDescriptor.cpp" \
        "$top/platform/Time.cpp" \
        "$top/platform/posix/TimePosix.cpp" \
        -o "$out/DateTakenFuzz"
fi

# Tokens of the containers and of EXIF, beyond the JPEG ones.
cat "$top/fuzz/picture.dict" - >"$out/date-taken.dict" <<'EOF'
png="\x89PNG\x0D\x0A\x1A\x0A"
png_exif="eXIf"
png_text="tEXt"
png_itxt="iTXt"
png_idat="IDAT"
png_iend="IEND"
png_keyword="Creation Time\x00"
riff="RIFF"
webp="WEBP"
webp_exif="EXIF"
webp_vp8x="VP8X"
box_ftyp="ftyp"
box_meta="meta"
box_hdlr="hdlr"
box_iinf="iinf"
box_infe="infe"
box_iloc="iloc"
box_idat="idat"
box_mdat="mdat"
box_moov="moov"
box_mvhd="mvhd"
largesize="\x00\x00\x00\x01"
item_exif="Exif"
tag_digitized_le="\x04\x90"
tag_digitized_be="\x90\x04"
tag_datetime_le="\x32\x01"
tag_datetime_be="\x01\x32"
tag_offset_le="\x11\x90"
tag_offset_be="\x90\x11"
offset="+02:00"
iso_date="2023-05-01T10:00:00+02:00"
rfc_date="Mon, 01 May 2023 08:00:00 GMT"
EOF

# New inputs go to the family's corpus; the seeds are only read.
TZ=UTC exec "$out/DateTakenFuzz" \
    -max_total_time="$seconds" -max_len=16384 -timeout=120 -rss_limit_mb=2048 \
    -dict="$out/date-taken.dict" -artifact_prefix="$out/findings/" -print_final_stats=1 \
    "$out/$family/corpus" "$out/$family/seeds"
