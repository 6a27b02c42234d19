#!/usr/bin/env bash
# Runs a Windows program under Wine with the build tree's own prefix and a
# virtual X server, so tests never touch the user's ~/.wine or need a display.
set -euo pipefail

exe=$1
shift
build=${QLN_BUILD_DIR:-$(cd "$(dirname "$exe")" && pwd)}
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

state=$build/wine-state
mkdir -p "$state"
exec 9>"$state/lock"
flock 9
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot -i >"$state/wineboot.log" 2>&1 9>&- || true
    "$wineserver" -w 9>&- || true
fi
if [ -z "${DISPLAY:-}" ]; then
    if [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
        DISPLAY=$(cat "$state/xvfb.display")
    else
        rm -f "$state/xvfb.display"
        Xvfb -displayfd 8 -nolisten tcp -screen 0 1280x1024x24 8>"$state/xvfb.num" \
            </dev/null >"$state/xvfb.log" 2>&1 9>&- &
        echo $! >"$state/xvfb.pid"
        for _ in $(seq 100); do
            [ -s "$state/xvfb.num" ] && break
            sleep 0.1
        done
        DISPLAY=":$(head -n1 "$state/xvfb.num")"
        echo "$DISPLAY" >"$state/xvfb.display"
    fi
    export DISPLAY
fi
flock -u 9
exec 9>&-

exec "$wine" "$exe" "$@"
