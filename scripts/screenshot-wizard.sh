#!/usr/bin/env bash
# Screenshots of the five pages of the info wizard of Qln.exe, started on its
# own beside Qln.dll and the wizard's pictures as Wine draws it on a virtual X
# display, into docs/screenshots/wizard-1.png .. wizard-5.png.
#   QLN_SCREENSHOT_BUILD=<tree> works as for every screenshot script.
set -euo pipefail
. "$(dirname "$0")/screenshot-lib.sh"
screenshot_setup launcher_wizard_pilot tests/launcher
# The pilot starts Qln.exe, whose windows Wine must not leave to a window
# manager either.
"$top/cmake/wine-run.sh" reg add "HKCU\\Software\\Wine\\AppDefaults\\Qln.exe\\X11 Driver" \
    /v Managed /d N /f >"$work/reg-qln.log" 2>&1
for page in 1 2 3 4 5; do
    screenshot_take "$out/wizard-$page.png" "$page"
done
