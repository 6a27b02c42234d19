#!/usr/bin/env bash
# The rename dialog of Qln.dll over a large folder, under Wine:
#   bash bench/wine-dialog.sh [--files N] [--rounds R]
# Builds the Windows tree's Qln.dll and bench/dialog_bench, makes a folder of
# N empty files (default 100,000) and measures, R rounds (default 5), side by
# side in one Wine process:
#   - a bare FindFirstFileW listing of the folder;
#   - the dialog's first full preview of the folder (HandleRename called over
#     it, until the list holds every row). Target: within 2.5x the listing;
#   - the refresh after a keystroke in the panel. Target: a quarter of the
#     first preview;
# and, in a run of its own, the peak memory the dialog adds, per file.
# Target: under 400 bytes.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
files=100000
rounds=5
while [ $# -gt 0 ]; do
    case $1 in
        --files) files=$2; shift 2 ;;
        --rounds) rounds=$2; shift 2 ;;
        -h | --help) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) echo "bench/wine-dialog.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
case $files$rounds in *[!0-9]*) echo "bench/wine-dialog.sh: --files and --rounds take numbers" >&2; exit 2 ;; esac

"$top/scripts/install-deps.sh"
build=$top/build/windows
cmake --no-warn-unused-cli -S "$top" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j2 --target qln dialog_bench >/dev/null

work=$(mktemp -d "$build/dialog-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/files"
(cd "$work/files" && seq -f 'DSC_%06g.jpg' 1 "$files" | xargs touch)

export QLN_BUILD_DIR=$build
# Its windows unmanaged, as the tests' are: no window manager runs here.
"$top/cmake/wine-run.sh" reg add 'HKCU\Software\Wine\AppDefaults\dialog_bench.exe\X11 Driver' \
    /v Managed /d N /f >/dev/null 2>&1
run() { "$top/cmake/wine-run.sh" "$build/bench/dialog_bench.exe" "Z:$work/files" "$@" 2>/dev/null | tr -d '\r'; }

timings=$(run "$rounds")
memory=$(run 0)

median() { tr ' ' '\n' | sort -g | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
figures() { echo "$timings" | awk -v name="$1" '$1 == name {$1 = ""; print}'; }
listing=$(figures listing | median)
first=$(figures first-preview | median)
refresh=$(figures refresh | median)
perfile=$(echo "$memory" | awk '$1 == "bytes-per-file" {print $2}')

verdict() { awk -v v="$1" -v t="$2" 'BEGIN {print (v <= t) ? "met" : "MISSED"}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
echo "Rename dialog under Wine: $files empty files in one folder, median of $rounds rounds (ms)"
echo
printf '  %-38s %8.0f\n' "FindFirstFileW listing" "$listing"
echo "      rounds:$(figures listing | awk '{for (i = 1; i <= NF; ++i) printf " %.0f", $i}')"
r=$(ratio "$first" "$listing")
printf '  %-38s %8.0f   %sx   target <= 2.5: %s\n' "first full preview" "$first" "$r" "$(verdict "$r" 2.5)"
echo "      rounds:$(figures first-preview | awk '{for (i = 1; i <= NF; ++i) printf " %.0f", $i}')"
r=$(ratio "$refresh" "$first")
printf '  %-38s %8.0f   %sx   target <= 0.25: %s\n' "refresh after a keystroke" "$refresh" "$r" "$(verdict "$r" 0.25)"
echo "      rounds:$(figures refresh | awk '{for (i = 1; i <= NF; ++i) printf " %.0f", $i}')"
printf '  %-38s %8.0f bytes per file   target < 400: %s\n' "peak memory of the dialog" "$perfile" \
    "$(verdict "$perfile" 399.99)"
