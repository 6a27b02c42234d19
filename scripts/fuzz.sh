#!/usr/bin/env bash
# Fuzzes the picture-date reader: builds fuzz/PictureDateFuzz.cpp with clang's
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer into build/fuzz,
# seeds it from the JPEG fixtures and runs it for the given seconds (default
# 60). Needs clang and libclang-rt-14-dev. A finding is written to
# build/fuzz/findings/ and makes the script fail. The timeout is generous
# because the build machine is shared: a stalled process is no parser hang.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
out=$top/build/fuzz
mkdir -p "$out/corpus" "$out/findings"

clang++ -std=c++20 -g -O1 -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$top" \
    "$top/fuzz/PictureDateFuzz.cpp" \
    "$top/core/PictureDate.cpp" \
    "$top/core/FileDescriptor.cpp" \
    "$top/platform/Time.cpp" \
    "$top/platform/posix/TimePosix.cpp" \
    -o "$out/PictureDateFuzz"

# New inputs go to the first folder; the fixtures are only read. EXIF blocks
# fit in one 64 KiB section, so longer inputs add nothing but time.
exec "$out/PictureDateFuzz" \
    -max_total_time="$seconds" -max_len=70000 -timeout=120 -rss_limit_mb=2048 \
    -dict="$top/fuzz/picture.dict" -artifact_prefix="$out/findings/" -print_final_stats=1 \
    "$out/corpus" "$top/tests/fixtures/jpeg"
