#!/usr/bin/env bash
# The rename dialog of Qln.dll over a large folder, under Wine:
#   bash bench/wine-dialog.sh [--files N] [--rounds R]
# Builds the Windows tree's Qln.dll and bench/dialog_bench, makes a folder of
# N empty files (default 100,000) and measures, R rounds (default 5), side by
# side in one Wine process:
#   - a bare FindFirstFileW listing of the folder: the time to read it;
#   - the time from HandleRename to the window's first paint. Target: under
#     5% of the listing;
#   - the dialog's first full preview of the folder (HandleRename called over
#     it, until the list holds every row). Target: within 2.5x the listing;
#   - after a keystroke in the panel, the refresh of the rows on screen.
#     Target: under 2% of the first full preview; and of the whole preview
#     (for the record: it goes on while the rows on screen show);
#   - the longest the window takes to answer a ping while it reads, previews
#     and (last round, for three seconds, then Stop) renames. Target: never
#     more than 100 ms;
# and, in runs of their own, the peak memory the dialog adds per file: what
# a dialog over the folder adds beyond one over a single file (which holds
# the libraries, windows and pictures that any dialog loads, given for the
# record), per file. Target: under 400 bytes.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
files=100000
rounds=5
while [ $# -gt 0 ]; do
    case $1 in
        --files) files=$2; shift 2 ;;
        --rounds) rounds=$2; shift 2 ;;
        -h | --help) sed -n '2,21p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
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
# The stopped run's journal stays with the bench.
mkdir -p "$work/appdata"
# Its windows unmanaged, as the tests' are: no window manager runs here.
"$top/cmake/wine-run.sh" reg add 'HKCU\Software\Wine\AppDefaults\dialog_bench.exe\X11 Driver' \
    /v Managed /d N /f >/dev/null 2>&1
run() {
    QLN_BENCH_APPDATA="Z:$work/appdata" "$top/cmake/wine-run.sh" "$build/bench/dialog_bench.exe" "Z:$work/$1" "$2" 2>/dev/null | tr -d '\r'
}

timings=$(run files "$rounds")
memory=$(run files 0)
# The dialog over one file of a folder of its own: one in the large folder
# would hold that folder's names, which are the folder's cost, not the
# dialog's.
mkdir -p "$work/one" && touch "$work/one/DSC_000001.jpg"
single=$(run one -1)

median() { tr ' ' '\n' | sort -g | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
figures() { echo "$timings" | awk -v name="$1" '$1 == name {$1 = ""; print}'; }
listing=$(figures listing | median)
paint=$(figures first-paint | median)
first=$(figures first-preview | median)
visible=$(figures visible-refresh | median)
refresh=$(figures refresh | median)
longest() { figures "$1" | tr ' ' '\n' | sort -g | tail -n1; }
peak() { awk '$1 == "peak-bytes" {print $2, $3}'; }
read -r whole shown < <(echo "$memory" | peak)
read -r one _ < <(echo "$single" | peak)
perfile=$(awk -v w="$whole" -v o="$one" -v n="$shown" 'BEGIN {printf "%.1f", (w - o) / (n - 1)}')
onefile=$(awk -v o="$one" 'BEGIN {printf "%.1f", o / 1048576}')

verdict() { awk -v v="$1" -v t="$2" 'BEGIN {print (v <= t) ? "met" : "MISSED"}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a / b}'; }
echo "Rename dialog under Wine: $files empty files in one folder, median of $rounds rounds (ms)"
echo
printf '  %-38s %8.0f\n' "FindFirstFileW listing" "$listing"
echo "      rounds:$(figures listing | awk '{for (i = 1; i <= NF; ++i) printf " %.0f", $i}')"
r=$(ratio "$paint" "$listing")
printf '  %-38s %8.0f   %sx   target < 0.05: %s\n' "first paint of the window" "$paint" "$r" "$(verdict "$r" 0.0499)"
echo "      rounds:$(figures first-paint | awk '{for (i = 1; i <= NF; ++i) printf " %.0f", $i}')"
r=$(ratio "$first" "$listing")
printf '  %-38s %8.0f   %sx   target <= 2.5: %s\n' "first full preview" "$first" "$r" "$(verdict "$r" 2.5)"
echo "      rounds:$(figures first-preview | awk '{for (i = 1; i <= NF; ++i) printf " %.0f", $i}')"
r=$(ratio "$visible" "$first")
printf '  %-38s %8.0f   %sx   target < 0.02: %s\n' "rows on screen after a keystroke" "$visible" "$r" "$(verdict "$r" 0.0199)"
echo "      rounds:$(figures visible-refresh | awk '{for (i = 1; i <= NF; ++i) printf " %.0f", $i}')"
r=$(ratio "$refresh" "$first")
printf '  %-38s %8.0f   %sx   (for the record)\n' "whole preview after a keystroke" "$refresh" "$r"
for phase in reading preview renaming; do
    l=$(longest "ping-$phase")
    printf '  %-38s %8.0f   target <= 100: %s\n' "longest ping while $phase" "$l" "$(verdict "$l" 100)"
done
printf '  %-38s %8.0f bytes per file   target < 400: %s\n' "peak memory of the dialog" "$perfile" \
    "$(verdict "$perfile" 399.99)"
printf '  %-38s %8s MB   (for the record)\n' "a dialog over one file" "$onefile"
