#!/usr/bin/env bash
# Screenshots of the setup program's pages and of the uninstaller's, as Wine
# draws them on a virtual X display, into docs/screenshots/installer-*.png.
# Clicks through a real install for the current user in the screenshots' own
# Wine prefix, and through its removal. QLN_SCREENSHOT_TREE=build/NAME takes
# another build tree than build/windows.
set -euo pipefail
. "$(dirname "$0")/screenshot-lib.sh"
if [ -n "${QLN_SCREENSHOT_TREE:-}" ]; then
    build=$(cd "$QLN_SCREENSHOT_TREE" && pwd)
    export WINEPREFIX=$build/wineprefix-screenshots QLN_BUILD_DIR=$build
fi
screenshot_setup installer_pilot tests/installer
cmake --build "$build" -j2 --target qln_setup >"$work/build.log" 2>&1 ||
    { cat "$work/build.log" >&2; exit 1; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
setup_name=Quorlin-$version-setup.exe
setup=$build/installer/$setup_name
pilot=$build/tests/installer/installer_pilot.exe
wine_run=$top/cmake/wine-run.sh
apps_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorlin'

# Setup, and the copy of itself the uninstaller runs from the temporary
# folder, draw their own frames too.
for program in "$setup_name" Un.exe; do
    "$wine_run" reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\X11 Driver" /v Managed /d N /f \
        >>"$work/reg.log" 2>&1
done

# Where the install is, while there is one (empty otherwise).
install_location() {
    { "$wine_run" reg query "$apps_key" /v InstallLocation 2>/dev/null || true; } | tr -d '\r' |
        sed -n 's/^ *InstallLocation *REG_SZ *//p'
}

# The uninstaller hands over to its copy and returns at once: wait until the
# Apps entry is gone.
wait_uninstalled() {
    for _ in $(seq 300); do
        [ -z "$(install_location)" ] && return 0
        sleep 0.2
    done
    echo "the uninstaller did not finish" >&2
    exit 1
}

# An install left by an interrupted run would change the pages (no folder
# page on an upgrade).
left=$(install_location)
if [ -n "$left" ]; then
    "$wine_run" "$left\\Uninstall.exe" /S >>"$work/uninstall.log" 2>&1
    wait_uninstalled
fi

# take NAME CAPTION: captures the page the window CAPTION shows once it is done.
take() {
    local file=$out/$1.png geometry
    rm -f "$work/geometry"
    "$wine_run" "$pilot" page "$2" "Z:$work/geometry" >>"$work/pilot.log" 2>&1 ||
        { echo "$1: no page" >&2; cat "$work/pilot.log" >&2; exit 1; }
    geometry=$(head -n1 "$work/geometry" | tr -d '\r')
    import -display "$DISPLAY" -window root -crop "$geometry" +repage "$file"
    echo "$file ($geometry)"
}

# click CAPTION: presses the window's default button (Next, Install, Finish,
# Uninstall, Close).
click() {
    "$wine_run" "$pilot" click "$1" 1 >>"$work/pilot.log" 2>&1 ||
        { echo "cannot click through $1" >&2; cat "$work/pilot.log" >&2; exit 1; }
}

"$wine_run" "$setup" >"$work/setup.log" 2>&1 &
setup_pid=$!
for page in welcome folder progress finish; do
    take "installer-$page" "Quorlin Setup"
    click "Quorlin Setup"
done
wait "$setup_pid"

location=$(install_location)
[ -n "$location" ] || { echo "setup did not install" >&2; exit 1; }
"$wine_run" "$location\\Uninstall.exe" >"$work/uninstall.log" 2>&1
for page in uninstall-confirm uninstall-progress; do
    take "installer-$page" "Quorlin Uninstall"
    click "Quorlin Uninstall"
done
wait_uninstalled
