#!/usr/bin/env bash
# Makes the pictures the rename library shows and the icon of the product,
# with ImageMagick, into resources/ (committed; run again only to change them):
#   bitmap1.gif  the arrow of an open section (pointing down)
#   bitmap2.gif  the arrow of a closed section (pointing right)
#   quorlin.ico  the product's icon, 16, 24, 32, 48 and 256 pixels
set -euo pipefail
out=$(cd "$(dirname "$0")/.." && pwd)/resources
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The arrows: a dark grey triangle on the dialog's own grey, 9 pixels square,
# with the grey as the GIF's transparent colour.
convert -size 9x9 xc:'#f0f0f0' -fill '#404040' -stroke none \
    -draw 'polygon 0,2 8,2 4,7' -transparent '#f0f0f0' "$out/bitmap1.gif"
convert -size 9x9 xc:'#f0f0f0' -fill '#404040' -stroke none \
    -draw 'polygon 2,0 7,4 2,8' -transparent '#f0f0f0' "$out/bitmap2.gif"

# The icon: a blue rounded tile with a white Q whose tail becomes an arrow.
icon() {  # size
    local s=$1
    local r=$((s / 6 + 1))
    local stroke=$((s / 10 > 1 ? s / 10 : 1))
    convert -size "${s}x${s}" xc:none -fill '#1f6fb2' \
        -draw "roundrectangle 0,0 $((s - 1)),$((s - 1)) $r,$r" \
        -fill none -stroke white -strokewidth "$stroke" \
        -draw "circle $((s * 45 / 100)),$((s * 45 / 100)) $((s * 45 / 100)),$((s * 18 / 100))" \
        -draw "line $((s * 55 / 100)),$((s * 58 / 100)) $((s * 80 / 100)),$((s * 82 / 100))" \
        -fill white -stroke none \
        -draw "polygon $((s * 86 / 100)),$((s * 88 / 100)) $((s * 86 / 100)),$((s * 66 / 100)) $((s * 64 / 100)),$((s * 88 / 100))" \
        -depth 8 "PNG32:$work/icon-$s.png"
}
for s in 16 24 32 48 256; do icon "$s"; done
convert "$work"/icon-16.png "$work"/icon-24.png "$work"/icon-32.png "$work"/icon-48.png "$work"/icon-256.png \
    "$out/quorlin.ico"
echo "made bitmap1.gif, bitmap2.gif and quorlin.ico in $out"
