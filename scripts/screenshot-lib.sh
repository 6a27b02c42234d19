# What the screenshot scripts share; sourced, after `set -euo pipefail`.
#   screenshot_setup PROGRAM [FOLDER]
#                              builds the Windows tree's PROGRAM (found in the
#                              tree's FOLDER, tests/win32 by default), starts a virtual
#                              X display and a Wine prefix of the screenshots' own,
#                              so no Wine session (or display) is shared with tests
#   screenshot_take OUT.png ARGS...
#                              runs PROGRAM ARGS... READY, which writes the window's
#                              geometry into READY once it shows, and captures it
#   holiday_sample FOLDER [TAKEN]
#                              makes FOLDER afresh: a holiday's photos and notes,
#                              and a file named TAKEN when given
#   QLN_SCREENSHOT_BUILD=<tree>  build and run in that Windows tree instead of
#                              build/windows
#   QLN_SCREEN=WxH             the virtual display's size (default 1024x768)
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
build=${QLN_SCREENSHOT_BUILD:-$top/build/windows}
out=$top/docs/screenshots

work=$(mktemp -d)
export WINEPREFIX=$build/wineprefix-screenshots
export QLN_BUILD_DIR=$build
xvfb_pid=
screenshot_program=
screenshot_folder=tests/win32
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

screenshot_setup() {
    screenshot_program=$1
    screenshot_folder=${2:-tests/win32}
    if [ ! -f "$build/build.ninja" ]; then
        cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >"$work/build.log" 2>&1 ||
            { cat "$work/build.log" >&2; exit 1; }
    fi
    cmake --build "$build" -j2 --target "$screenshot_program" >"$work/build.log" 2>&1 ||
        { cat "$work/build.log" >&2; exit 1; }

    # -br: a black root, so nothing but the window shows in the capture.
    Xvfb -displayfd 3 -nolisten tcp -br -screen 0 "${QLN_SCREEN:-1024x768}x24" 3>"$work/display" </dev/null >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$(head -n1 "$work/display")"

    # With no window manager, Wine draws the frame and caption only of windows
    # it does not leave to one.
    "$top/cmake/wine-run.sh" reg add "HKCU\\Software\\Wine\\AppDefaults\\$screenshot_program.exe\\X11 Driver" \
        /v Managed /d N /f >"$work/reg.log" 2>&1
    mkdir -p "$out"
}

screenshot_take() {
    local file=$1
    shift
    local name ready pid geometry
    name=$(basename "$file" .png)
    ready=$work/ready-$name
    "$top/cmake/wine-run.sh" "$build/$screenshot_folder/$screenshot_program.exe" "$1" "Z:$ready" "${@:2}" \
        >"$work/$name.log" 2>&1 &
    pid=$!
    # The first start creates the prefix, which takes a while.
    for _ in $(seq 1200); do
        [ -s "$ready" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$ready" ]; then
        echo "$name did not show" >&2
        cat "$work/$name.log" >&2
        exit 1
    fi
    geometry=$(head -n1 "$ready" | tr -d '\r')
    import -display "$DISPLAY" -window root -crop "$geometry" +repage "$file"
    rm -f "$ready"
    wait "$pid" || true
    echo "$file ($geometry)"
}

holiday_sample() {
    local folder=$1 taken=${2:-}
    rm -rf "$folder"
    mkdir -p "$folder/Best of"
    for n in 0001 0002 0003 0004 0005 0006 0007 0008 0009 0010 0011 0012; do
        printf 'photo %s' "$n" >"$folder/IMG_$n.jpg"
    done
    printf 'notes' >"$folder/notes.txt"
    printf 'map' >"$folder/Route map.pdf"
    [ -z "$taken" ] || printf 'taken' >"$folder/$taken"
    printf 'best' >"$folder/Best of/IMG_0101.jpg"
}
