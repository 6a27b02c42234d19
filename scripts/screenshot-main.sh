#!/usr/bin/env bash
# Screenshots of the rename dialog of Qln.dll, as Wine draws it on a virtual X
# display, into docs/screenshots/: on first open, with sections collapsed,
# during a conflict, over 100,000 files, with three steps, with the Presets
# button's menu open, with a pattern that does not compile, and with rows left
# out and a name typed by hand.
set -euo pipefail
. "$(dirname "$0")/screenshot-lib.sh"
screenshot_setup show_main_dialog tests/library
cmake --build "$build" -j2 --target qln >"$work/build-qln.log" 2>&1 || { cat "$work/build-qln.log" >&2; exit 1; }

folder=$work/Holiday
for scene in conflict first collapsed steps presets pattern choices; do
    # One of the new names is taken already.
    holiday_sample "$folder" "Holiday IMG_0003.jpg"
    screenshot_take "$out/main-$scene.png" "$scene" "Z:$folder"
done

large=$work/Large
mkdir -p "$large"
(cd "$large" && seq -f 'DSC_%06g.jpg' 1 100000 | xargs touch)
screenshot_take "$out/main-100000-files.png" large "Z:$large"
