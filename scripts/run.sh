#!/usr/bin/env bash
# Tries Quorlin on a sample folder that it makes on first use (build/sample).
#   bash scripts/run.sh [QUORLIN ARGUMENTS...]
#       builds quorlin and runs it over the sample: by default a preview.
#   bash scripts/run.sh --windows
#       builds the Windows product, installs it with its own setup program
#       into a Wine prefix of its own (build/windows/wineprefix-run), and
#       opens the rename dialog over the sample through Qln.exe, on your
#       display; without one, under a virtual display, saving a screenshot
#       of the dialog to build/windows/run-screenshot.png.
# Installs what is missing first.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/install-deps.sh"
jobs=$(nproc 2>/dev/null || echo 2)

sample=${QUORLIN_SAMPLE:-$top/build/sample}
if [ ! -d "$sample" ]; then
    mkdir -p "$sample/Trip 2024"
    for n in IMG_0001.JPG IMG_0002.JPG IMG_0010.JPG "notes (draft).txt" README; do : >"$sample/$n"; done
    for n in IMG_0101.JPG IMG_0102.JPG; do : >"$sample/Trip 2024/$n"; done
fi

if [ "${1:-}" != --windows ]; then
    cmake -S . -B build/native -G Ninja >build-native.log 2>&1
    cmake --build build/native -j "$jobs" --target quorlin >>build-native.log 2>&1 ||
        { tail -n 40 build-native.log; exit 1; }
    # The sample keeps its own settings, so trying things here never touches yours.
    export QUORLIN_SETTINGS=${QUORLIN_SETTINGS:-$sample.settings.json}
    if [ $# -eq 0 ]; then
        set -- --action "Replace anywhere" --set find=IMG_ --set replace="Photo " --change name --preview
    fi
    exec build/native/cli/quorlin "$@" "$sample"
fi

# The Windows product, as a user installs it.
build=$top/build/windows
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >build-windows.log 2>&1
cmake --build "$build" -j "$jobs" --target qln_setup >>build-windows.log 2>&1 ||
    { tail -n 40 build-windows.log; exit 1; }
setup=$(ls "$build"/installer/Quorlin-*-setup.exe | head -n1)

export WINEPREFIX=$build/wineprefix-run
export QLN_BUILD_DIR=$build
work=$(mktemp -d)
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
headless=
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" </dev/null >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n1 "$work/display")"
    # No window manager runs there: Wine draws the frames itself.
    "$top/cmake/wine-run.sh" reg add 'HKCU\Software\Wine\AppDefaults\Qln.exe\X11 Driver' /v Managed /d N /f \
        >/dev/null 2>&1
fi
echo "Installing $(basename "$setup") into $WINEPREFIX"
"$top/cmake/wine-run.sh" "$setup" /S >/dev/null 2>&1
launcher=$("$top/cmake/wine-run.sh" cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')\\Programs\\Quorlin\\Qln.exe

# The items of the sample, as Explorer would hand them over.
items=()
for entry in "$sample"/*; do items+=("Z:$entry"); done
if [ -z "$headless" ]; then
    exec "$top/cmake/wine-run.sh" "$launcher" "${items[@]}"
fi
"$top/cmake/wine-run.sh" "$launcher" "${items[@]}" >/dev/null 2>&1 &
for _ in $(seq 300); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Quorlin ' && break
    sleep 0.2
done
sleep 1
import -window root "$build/run-screenshot.png"
echo "No display: the rename dialog is in $build/run-screenshot.png"
wineserver -k 2>/dev/null || true
