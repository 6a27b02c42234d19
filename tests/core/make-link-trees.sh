#!/bin/sh
# Links to folders cannot be made from inside Wine, so the Windows tree's
# link test finds them made here on the host: a tree for each of its cases,
# with a link back up (a loop) and a link out of the selection.
set -eu
top=$1
rm -rf "$top"
for c in case0 case1 case2; do
    mkdir -p "$top/$c/tree/sub" "$top/$c/outside"
    printf f >"$top/$c/tree/sub/f.txt"
    printf o >"$top/$c/outside/o.txt"
    ln -s .. "$top/$c/tree/sub/loop"
    ln -s ../outside "$top/$c/tree/out"
done
