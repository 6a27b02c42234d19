#!/usr/bin/env bash
# Screenshots of a few parameter panels, each in a captioned frame as Wine
# draws it on a virtual X display, into docs/screenshots/panel-*.png. Builds
# the Windows tree's show_panels program first. Uses a Wine prefix of its own,
# so it never shares a Wine session (and its display) with running tests.
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
cmake --build "$build" -j2 --target show_panels >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; exit 1; }

# -br: a black root, so nothing but the panel's frame shows in the capture.
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
"$top/cmake/wine-run.sh" reg add 'HKCU\Software\Wine\AppDefaults\show_panels.exe\X11 Driver' \
    /v Managed /d N /f >"$work/reg.log" 2>&1

# name, template, then the values to show, by their settings names.
shots=(
    "remove-anywhere 1009"
    "replace-characters 1027 find=_ replace=%20 find2=. replace2=%20 ignoreCase3=1"
    "add-date-at-end 1033 date=1 dateFormat=20 timeFormat=11 seperator=_ leading=1"
    "produce-numbered-list 1030 prefix=Holiday%20 start=1 digits=3"
    "insert-anywhere 1119 add=-draft addAnywhereSelection=1027 toOccurence=."
    "produce-alphabetical-list 1034 start=aa postfix=%20-%20copy"
)

mkdir -p "$out"
for shot in "${shots[@]}"; do
    read -r name template fields <<<"$shot"
    # %20 stands for a space inside a field.
    args=()
    for f in $fields; do args+=("${f//%20/ }"); done
    ready=$work/ready-$name
    "$top/cmake/wine-run.sh" "$build/tests/win32/show_panels.exe" "$template" "Z:$ready" "${args[@]}" \
        >"$work/$name.log" 2>&1 &
    pid=$!
    # The first start creates the prefix, which takes a while.
    for _ in $(seq 1200); do
        [ -s "$ready" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$ready" ]; then
        echo "the $name panel did not show" >&2
        cat "$work/$name.log" >&2
        exit 1
    fi
    geometry=$(head -n1 "$ready" | tr -d '\r')
    import -display "$DISPLAY" -window root -crop "$geometry" +repage "$out/panel-$name.png"
    rm -f "$ready"
    wait "$pid" || true
    echo "$out/panel-$name.png ($geometry)"
done
