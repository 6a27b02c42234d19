#!/usr/bin/env bash
# A screenshot of the context menu that the Explorer extension makes, with
# its presets submenu open over two kept presets, as the extension's tests
# build that menu, into docs/screenshots/.
set -euo pipefail
. "$(dirname "$0")/screenshot-lib.sh"
screenshot_setup show_menu tests/shellext
cmake --build "$build" -j2 --target qlnext >"$work/build-ext.log" 2>&1 || { cat "$work/build-ext.log" >&2; exit 1; }
screenshot_take "$out/menu-presets.png" menu
