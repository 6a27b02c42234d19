#!/usr/bin/env bash
# Screenshots of the conflict and confirmation dialogs, as Wine draws them on a
# virtual X display, into docs/screenshots/.
set -euo pipefail
. "$(dirname "$0")/screenshot-lib.sh"
screenshot_setup show_dialogs

for dialog in confirm duplicate illegal toolong error inuse; do
    screenshot_take "$out/$dialog.png" "$dialog"
done
