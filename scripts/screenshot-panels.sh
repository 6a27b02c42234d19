#!/usr/bin/env bash
# Screenshots of a few parameter panels, each in a captioned frame as Wine
# draws it on a virtual X display, into docs/screenshots/panel-*.png.
set -euo pipefail
. "$(dirname "$0")/screenshot-lib.sh"
screenshot_setup show_panels

# name, template, then the values to show, by their settings names.
shots=(
    "remove-anywhere 1009"
    "replace-characters 1027 find=_ replace=%20 find2=. replace2=%20 ignoreCase3=1"
    "add-date-at-end 1033 date=1 dateFormat=20 timeFormat=11 seperator=_ leading=1"
    "rename-to-date-taken 1031 date=4 dateFormat=20 timeFormat=12 seperator=%20"
    "rename-from-tags 1162 tagTemplate={track:2}%20{artist}%20-%20{title}"
    "produce-numbered-list 1030 prefix=Holiday%20 start=1 digits=3"
    "insert-anywhere 1119 add=-draft addAnywhereSelection=1027 toOccurence=."
    "produce-alphabetical-list 1034 start=aa postfix=%20-%20copy"
)
for shot in "${shots[@]}"; do
    read -r name template fields <<<"$shot"
    # %20 stands for a space inside a field.
    args=()
    for f in $fields; do args+=("${f//%20/ }"); done
    screenshot_take "$out/panel-$name.png" "$template" "${args[@]}"
done
