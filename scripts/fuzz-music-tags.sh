#!/usr/bin/env bash
# Fuzzes the music tag reader: builds fuzz/MusicTagsFuzz.cpp with clang's
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer, and runs it for
# the given seconds (default 60) seeded with one family of fixtures:
#   fuzz-music-tags.sh [id3|flac|ogg|mp4|all] [seconds]
# Each family keeps its own corpus, so that a run goes on from where the
# last one of the family stopped. Needs clang and libclang-rt-14-dev. A
# finding is written to findings/ in the output folder (QLN_FUZZ_DIR, by
# default build/fuzz/music-tags) and makes the script fail.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
family=${1:-all}
seconds=${2:-60}
out=${QLN_FUZZ_DIR:-$top/build/fuzz/music-tags}
tags=$top/tests/fixtures/tags

case $family in
    id3) patterns=("$tags"/*.mp3) ;;
    flac) patterns=("$tags"/*.flac) ;;
    ogg) patterns=("$tags"/*.ogg "$tags"/*.opus) ;;
    mp4) patterns=("$tags"/*.m4a) ;;
    all) patterns=("$tags"/*.*) ;;
    *) echo "unknown family: $family" >&2; exit 2 ;;
esac
mkdir -p "$out/findings" "$out/$family/corpus" "$out/$family/seeds"
for f in "${patterns[@]}"; do
    [ "$(basename "$f")" = mutagen.txt ] || cp "$f" "$out/$family/seeds/"
done

if [ ! -x "$out/MusicTagsFuzz" ] || [ -n "$(find "$top/core/MusicTags.cpp" "$top/core/MusicTags.h" \
        "$top/fuzz/MusicTagsFuzz.cpp" -newer "$out/MusicTagsFuzz")" ]; then
    clang++ -std=c++20 -g -O1 -fno-omit-frame-pointer \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
        -I"$top" \
        "$top/fuzz/MusicTagsFuzz.cpp" \
        "$top/core/MusicTags.cpp" \
        -o "$out/MusicTagsFuzz"
fi

cat >"$out/music-tags.dict" <<'DICT'
id3="ID3"
id3v1="TAG"
flac="fLaC"
ogg="OggS"
vorbis="\x01vorbis"
vorbis_comment="\x03vorbis"
opus_head="OpusHead"
opus_tags="OpusTags"
ogg_flac="\x7FFLAC"
f_tit2="TIT2"
f_tpe1="TPE1"
f_talb="TALB"
f_trck="TRCK"
f_tpos="TPOS"
f_tyer="TYER"
f_tdrc="TDRC"
f_tcon="TCON"
f_tt2="TT2"
f_tp1="TP1"
f_tco="TCO"
bom_le="\xFF\xFE"
bom_be="\xFE\xFF"
genre_ref="(17)"
key_artist="ARTIST="
key_track="TRACKNUMBER="
key_date="DATE="
box_ftyp="ftyp"
box_moov="moov"
box_udta="udta"
box_meta="meta"
box_hdlr="hdlr"
box_ilst="ilst"
box_data="data"
atom_art="\xA9ART"
atom_nam="\xA9nam"
atom_day="\xA9day"
atom_trkn="trkn"
atom_disk="disk"
atom_gnre="gnre"
largesize="\x00\x00\x00\x01"
DICT

# New inputs go to the family's corpus; the seeds are only read.
exec "$out/MusicTagsFuzz" \
    -max_total_time="$seconds" -max_len=16384 -timeout=120 -rss_limit_mb=2048 \
    -dict="$out/music-tags.dict" -artifact_prefix="$out/findings/" -print_final_stats=1 \
    "$out/$family/corpus" "$out/$family/seeds"
