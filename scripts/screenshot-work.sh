#!/usr/bin/env bash
# Screenshots of the rename dialog at work, into docs/screenshots/: while it
# reads a folder of 1,000,000 files (main-reading.png), and during a run over
# 100,000 with its progress and Stop (main-running.png).
set -euo pipefail
. "$(dirname "$0")/screenshot-lib.sh"
screenshot_setup show_main_dialog tests/library
cmake --build "$build" -j2 --target qln >"$work/build-qln.log" 2>&1 || { cat "$work/build-qln.log" >&2; exit 1; }

million=$work/Million
mkdir -p "$million"
(cd "$million" && seq -f 'DSC_%07g.jpg' 1 1000000 | xargs touch)
screenshot_take "$out/main-reading.png" reading "Z:$million"
rm -rf "$million"

large=$work/Large
mkdir -p "$large"
(cd "$large" && seq -f 'DSC_%06g.jpg' 1 100000 | xargs touch)
screenshot_take "$out/main-running.png" running "Z:$large"
