#!/usr/bin/env bash
# Screenshots of the conflict and confirmation dialogs, as Wine draws them on a
# virtual X display, into docs/screenshots/. Builds the Windows tree's
# show_dialogs program first. Uses a Wine prefix of its own, so it never shares
# a Wine session (and its display) with tests that may be running.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
build=$top/build/windows
out=$top/docs/screenshots

work=$(mktemp -d)
export WINEPREFIX=$build/wineprefix-screenshots
export QLN_BUILD_DIR=$build
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >"$work/build.log" 2>&1 ||
        { cat "$work/build.log" >&2; exit 1; }
fi
cmake --build "$build" -j2 --target show_dialogs >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; exit 1; }

# -br: a black root, so nothing but the dialog shows in the capture.
Xvfb -displayfd 3 -nolisten tcp -br -screen 0 1024x768x24 3>"$work/display" </dev/null >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# With no window manager, Wine draws the frame and caption only of windows it
# does not leave to one.
"$top/cmake/wine-run.sh" reg add 'HKCU\Software\Wine\AppDefaults\show_dialogs.exe\X11 Driver' \
    /v Managed /d N /f >"$work/reg.log" 2>&1

mkdir -p "$out"
for dialog in confirm duplicate illegal toolong error; do
    ready=$work/ready-$dialog
    "$top/cmake/wine-run.sh" "$build/tests/win32/show_dialogs.exe" "$dialog" "Z:$ready" >"$work/$dialog.log" 2>&1 &
    pid=$!
    # The first start creates the prefix, which takes a while.
    for _ in $(seq 1200); do
        [ -s "$ready" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$ready" ]; then
        echo "the $dialog dialog did not show" >&2
        cat "$work/$dialog.log" >&2
        exit 1
    fi
    geometry=$(head -n1 "$ready" | tr -d '\r')
    import -display "$DISPLAY" -window root -crop "$geometry" +repage "$out/$dialog.png"
    rm -f "$ready"
    wait "$pid" || true
    echo "$out/$dialog.png ($geometry)"
done
