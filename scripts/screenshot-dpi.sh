#!/usr/bin/env bash
# Screenshots of the rename dialog at 150% and 200% scaling (144 and 192
# dots per inch), as Wine draws it on a large virtual display, into
# docs/screenshots/main-150.png and main-200.png.
set -euo pipefail
export QLN_SCREEN=2560x1600
. "$(dirname "$0")/screenshot-lib.sh"
screenshot_setup show_main_dialog tests/library
cmake --build "$build" -j2 --target qln >"$work/build-qln.log" 2>&1 || { cat "$work/build-qln.log" >&2; exit 1; }

# Wine takes the scale from the display's dots per inch in its registry.
set_dpi() {
    "$top/cmake/wine-run.sh" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$1" /f \
        >>"$work/reg.log" 2>&1
    "$top/cmake/wine-run.sh" reg add "HKCC\\Software\\Fonts" /v LogPixels /t REG_DWORD /d "$1" /f >>"$work/reg.log" 2>&1
    wineserver -w 2>/dev/null || true
}
trap 'set_dpi 96; cleanup' EXIT

folder=$work/Holiday
for scale in 150:144 200:192; do
    set_dpi "${scale#*:}"
    holiday_sample "$folder" "Holiday IMG_0003.jpg"
    screenshot_take "$out/main-${scale%%:*}.png" first "Z:$folder"
done
