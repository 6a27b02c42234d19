#!/usr/bin/env bash
# Makes the pictures of the info wizard, resources/wizard1.jpg .. wizard5.jpg
# (committed; run again when the rename dialog changes), from screenshots of
# our own rename dialog as Wine draws it on a virtual X display, each at the
# step its page tells of:
#   1  the dialog as it opens over a selection
#   2  the "Change:" list with the focus, above the Processing section
#   3  the "Action:" list with the focus, and the panel of its action
#   4  a panel filled in ("Replace anywhere"), with the preview it gives
#   5  the preview, with OK about to be pressed
# (An open drop-down list stays behind the dialog on Wine's display without a
# window manager, so the lists are shown closed, with the focus.)
# Each is cut and scaled to fit under the page's text: at most 480 x 360
# pixels with its frame, which the page has room for at 96 dots per inch.
#   QLN_SCREENSHOT_BUILD=<tree> works as for every screenshot script.
set -euo pipefail
. "$(dirname "$0")/screenshot-lib.sh"
screenshot_setup show_main_dialog tests/library
cmake --build "$build" -j2 --target qln >"$work/build-qln.log" 2>&1 || { cat "$work/build-qln.log" >&2; exit 1; }
pictures=$top/resources
shots=$work/shots
mkdir -p "$shots"

folder=$work/Holiday
for scene in first scope actions replace ready; do
    holiday_sample "$folder"
    screenshot_take "$shots/$scene.png" "$scene" "Z:$folder"
done

# Where the parts lie in a screenshot of the dialog (988 pixels wide, as Wine
# draws it): the left column with the step strip, the scope, the action, the
# panel and the sections is 490 pixels wide, the preview list begins at 505;
# under the caption, the step strip ends 55 pixels down, and the pages of one
# step begin below it.
fit() {  # picture in, JPEG out: shrunk to fit the page, never enlarged
    convert "$1" -resize '478x358>' "${@:3}" -strip -quality 90 "$2"
}
# A part of the dialog gets a thin frame, so that it does not melt into the
# page around it; the whole dialog has its own.
framed=(-bordercolor '#a0a0a0' -border 1)
background=$(convert "$shots/first.png" -format '%[pixel:p{300,450}]' info:)

# 1: the whole dialog as it opens.
fit "$shots/first.png" "$pictures/wizard1.jpg"
# 2: the scope to change and the Processing section under it.
convert "$shots/scope.png" -crop 490x262+0+57 +repage "$shots/2.png"
fit "$shots/2.png" "$pictures/wizard2.jpg" "${framed[@]}"
# 3: the action list and the panel of its action.
convert "$shots/actions.png" -crop 490x122+0+57 +repage "$shots/3.png"
fit "$shots/3.png" "$pictures/wizard3.jpg" "${framed[@]}"
# 4: the panel filled in, and the first rows of the preview it gives, one
# under the other: side by side they would be too small to read.
convert "$shots/replace.png" -crop 490x193+0+57 +repage "$shots/4-panel.png"
convert "$shots/replace.png" -crop 470x145+505+35 +repage "$shots/4-preview.png"
convert -background "$background" "$shots/4-panel.png" -size 490x8 "xc:$background" "$shots/4-preview.png" \
    -gravity center -append "$shots/4.png"
fit "$shots/4.png" "$pictures/wizard4.jpg" "${framed[@]}"
# 5: the preview, the status line under it and OK with the focus.
convert "$shots/ready.png" -crop 488x396+500+30 +repage "$shots/5.png"
fit "$shots/5.png" "$pictures/wizard5.jpg" "${framed[@]}"
for n in 1 2 3 4 5; do
    echo "$pictures/wizard$n.jpg ($(identify -format '%wx%h' "$pictures/wizard$n.jpg"))"
done
