#!/usr/bin/env bash
# Installs what is missing, builds quorlin, and shows a preview over a sample
# folder that it makes on first use. Extra arguments go to quorlin.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/install-deps.sh"
cmake -S . -B build/native -G Ninja >build-native.log 2>&1
cmake --build build/native -j "$(nproc 2>/dev/null || echo 2)" --target quorlin >>build-native.log 2>&1 ||
    { tail -n 40 build-native.log; exit 1; }

sample=${QUORLIN_SAMPLE:-$top/build/sample}
if [ ! -d "$sample" ]; then
    mkdir -p "$sample/Trip 2024"
    for n in IMG_0001.JPG IMG_0002.JPG IMG_0010.JPG "notes (draft).txt" README; do : >"$sample/$n"; done
    for n in IMG_0101.JPG IMG_0102.JPG; do : >"$sample/Trip 2024/$n"; done
fi
# The sample keeps its own settings, so trying things here never touches yours.
export QUORLIN_SETTINGS=${QUORLIN_SETTINGS:-$sample.settings.json}
if [ $# -eq 0 ]; then
    set -- --action "Replace anywhere" --set find=IMG_ --set replace="Photo " --change name --preview
fi
exec build/native/cli/quorlin "$@" "$sample"
