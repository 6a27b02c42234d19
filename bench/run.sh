#!/usr/bin/env bash
# Side-by-side figures for quorlin over one folder of empty files:
#   - rename with "Add to beginning" against the kernel floor (bench/raw_rename),
#     the same loop in name order (what processing sorted costs the kernel),
#     Debian's rename (perl) and mmv;
#   - the same quorlin rename against itself without its run journal, which
#     only this benchmark turns off (QUORLIN_NO_JOURNAL_FOR_BENCHMARK);
#   - quorlin --preview, which marks what the run will meet, against a bare
#     listing (find -printf) and against the preview of the names alone;
#   - the model's refresh after a parameter change against its first preview,
#     and against the same refresh without the marks;
#   - a preview of three steps (--then) against one step, and "Replace by
#     pattern" against "Replace anywhere" making the same names;
#   - peak memory per file (/usr/bin/time -v) beyond the process baseline;
#   - with --files 1000000 or more, the preview of N files against N/10;
#   - names the person brings: the same renames from a list (quorlin --from,
#     old and new apart by a tab) against the action, over the N files, and
#     through an editor (quorlin --edit, a script standing in for it) against
#     the action over at most 100,000 of them.
#   - the date-taken preview ("Use Date Taken (photos and videos)") against
#     the picture-date preview over 10,000 copies of a camera's JPEG.
# With --only own-names or --only date-taken, that part alone.
# Each round runs every contender once, in an order that turns from round to
# round, on a folder made afresh; the figures are the medians of the rounds.
#
#   bash bench/run.sh [--files N] [--rounds R] [--only own-names|date-taken]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
files=100000
rounds=5
only=""
while [ $# -gt 0 ]; do
    case $1 in
        --files) files=$2; shift 2 ;;
        --rounds) rounds=$2; shift 2 ;;
        --only) only=$2; shift 2 ;;
        -h | --help) sed -n '2,27p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) echo "bench/run.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
case $files$rounds in *[!0-9]*) echo "bench/run.sh: --files and --rounds take numbers" >&2; exit 2 ;; esac

# What the benchmark alone needs: the peers and GNU time.
missing=()
for pkg in rename mmv time; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
"$top/scripts/install-deps.sh"
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

build=$top/build/native
cmake -S "$top" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j2 --target quorlin raw_rename refresh_bench make_files >/dev/null
quorlin=$build/cli/quorlin
raw=$build/bench/raw_rename
refresh=$build/bench/refresh_bench
make_files=$build/bench/make_files

# The folders lie beside the build, on one file system for every contender.
work=$(mktemp -d "$top/build/bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export QUORLIN_SETTINGS=$work/settings.json
# The journals of the runs beside them, gone with the rest.
export XDG_STATE_HOME=$work/state
dir=$work/files

fill() {  # folder count
    rm -rf "$1"
    mkdir -p "$1"
    "$make_files" "$1" "$2"
    sync
}

now() { date +%s%N; }

# Runs a command, its output discarded; prints the milliseconds it took.
timed() {
    local start end
    start=$(now)
    "$@" >/dev/null 2>"$work/stderr" || { cat "$work/stderr" >&2; echo "failed: $*" >&2; exit 1; }
    end=$(now)
    echo $(((end - start) / 1000000))
}

# Peak resident memory of a command, in kilobytes.
peak() {
    /usr/bin/time -v -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || { cat "$work/stderr" >&2; echo "failed: $*" >&2; exit 1; }
    sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time"
}

median() { tr ' ' '\n' | grep . | sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0) ? a / b : 0}'; }
verdict() { awk -v r="$1" -v t="$2" -v op="$3" 'BEGIN {ok = (op == "<=") ? r <= t : r < t; print ok ? "met" : "MISSED"}'; }
# A baseline and what is measured against it, each with its rounds, and the
# ratio's target:  against BASE-LABEL BASE-ROUNDS LABEL ROUNDS TARGET
against() {
    local base measured r
    base=$(echo "$2" | median)
    measured=$(echo "$4" | median)
    r=$(ratio "$measured" "$base")
    printf '  %-36s %7s\n' "$1" "$base"
    printf '      rounds:%s\n' "$2"
    printf '  %-36s %7s  %5sx   target <= %s: %s\n' "$3" "$measured" "$r" "$5" "$(verdict "$r" "$5" "<=")"
    printf '      rounds:%s\n' "$4"
}

# The same, for two contenders run side by side in every round: the ratio is
# the median of the rounds' own ratios, which a machine that speeds up or
# slows down between rounds does not sway.
paired() {
    local base measured r
    base=$(echo "$2" | median)
    measured=$(echo "$4" | median)
    r=$(paste <(echo "$4" | tr ' ' '\n' | grep .) <(echo "$2" | tr ' ' '\n' | grep .) |
        awk '{printf "%.4f\n", ($2 > 0) ? $1 / $2 : 0}' | sort -n |
        awk '{v[NR] = $1} END {printf "%.2f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}')
    printf '  %-36s %7s\n' "$1" "$base"
    printf '      rounds:%s\n' "$2"
    printf '  %-36s %7s  %5sx   target <= %s: %s (median of the rounds'"'"' ratios)\n' "$3" "$measured" "$r" "$5" \
        "$(verdict "$r" "$5" "<=")"
    printf '      rounds:%s\n' "$4"
}

rename_quorlin() { "$quorlin" -a "Add to beginning" -s add=x_ --files --subfolders --no-folders --no-confirm \
    --on-conflict skip "$1"; }
# The baseline of what the journal costs: the same run without it.
rename_unjournaled() { QUORLIN_NO_JOURNAL_FOR_BENCHMARK=1 rename_quorlin "$1"; }
rename_raw() { "$raw" "$1" x_; }
rename_sorted() { "$raw" --sorted "$1" x_; }
rename_perl() { (cd "$1" && find . -maxdepth 1 -type f -printf '%f\0' | xargs -0 rename 's/^/x_/'); }
rename_mmv() { (cd "$1" && mmv -r '*' 'x_#1'); }
preview_quorlin() { "$quorlin" --preview -a "Add to beginning" -s add=x_ --no-folders "$1"; }
# The names alone, unmarked: what the preview cost before it checked.
preview_unchecked() { QUORLIN_UNCHECKED_PREVIEW=1 "$quorlin" --preview -a "Add to beginning" -s add=x_ --no-folders "$1"; }
listing() { find "$1" -maxdepth 1 -printf '%f\n'; }
# One step, three steps, and a pattern that makes the same names as the one
# step: every name changes in each.
preview_one_step() { "$quorlin" --preview -a replace-anywhere -s find=f0 -s replace=g0 --no-folders "$1"; }
preview_three_steps() {
    "$quorlin" --preview -a replace-anywhere -s find=f0 -s replace=g0 --then -a add-to-end -s add=_x \
        --then -a make-uppercase --no-folders "$1"
}
preview_pattern() { "$quorlin" --preview -a replace-by-pattern -s pattern=f0 -s with=g0 --no-folders "$1"; }

# The names of a list, and of an editor: every file gets x_ before its name.
from_quorlin() { "$quorlin" --from "$work/names.tsv" --no-folders --on-conflict skip "$1"; }
edit_quorlin() { EDITOR="sed -i s/^/x_/" "$quorlin" --edit --no-folders --on-conflict skip "$1"; }

own_names() {
    local edit_files=$((files < 100000 ? files : 100000)) action_ms="" from_ms="" small_ms="" edit_ms=""
    fill "$dir" "$files"
    find "$dir" -maxdepth 1 -type f -printf '%f\tx_%f\n' >"$work/names.tsv"
    fill "$work/edit" "$edit_files"
    for ((round = 0; round < rounds; round++)); do
        echo "own names, round $((round + 1)) of $rounds..." >&2
        for pass in 0 1; do
            if (((round + pass) % 2)); then
                from_ms+=" $(timed from_quorlin "$dir")"
                "$raw" --strip "$dir" x_ >/dev/null
            else
                action_ms+=" $(timed rename_quorlin "$dir")"
                "$raw" --strip "$dir" x_ >/dev/null
            fi
            if (((round + pass) % 2)); then
                edit_ms+=" $(timed edit_quorlin "$work/edit")"
                [ "$("$raw" --strip "$work/edit" x_)" = "renamed $edit_files, failed 0" ] ||
                    { echo "--edit renamed too few" >&2; exit 1; }
            else
                small_ms+=" $(timed rename_quorlin "$work/edit")"
                "$raw" --strip "$work/edit" x_ >/dev/null
            fi
            sync
        done
    done
    printf '\nNames from a list or an editor (every file gets x_)\n'
    paired "action, $files files" "$action_ms" "quorlin --from LIST (tab columns)" "$from_ms" 1.2
    paired "action, $edit_files files" "$small_ms" "quorlin --edit (sed as the editor)" "$edit_ms" 1.5
}
# The same names from the same photos, by the old JPEG reader and the new one.
preview_dates() {
    "$quorlin" --preview -a add-date-time-to-beginning -s "date=$2" -s dateFormat=yyyy-mm-dd -c name --no-folders "$1"
}

date_taken() {
    local photos=$work/photos picture_ms="" taken_ms=""
    rm -rf "$photos"
    mkdir -p "$photos"
    for ((i = 0; i < 10000; i++)); do printf -v name 'IMG_%05d.jpg' "$i"; cp "$top/tests/fixtures/media/jpeg-original.jpg" "$photos/$name"; done
    sync
    for ((round = 0; round < rounds; round++)); do
        echo "date taken, round $((round + 1)) of $rounds..." >&2
        if ((round % 2)); then
            taken_ms+=" $(timed preview_dates "$photos" use-date-taken-photos-and-videos)"
            picture_ms+=" $(timed preview_dates "$photos" use-picture-taken-date)"
        else
            picture_ms+=" $(timed preview_dates "$photos" use-picture-taken-date)"
            taken_ms+=" $(timed preview_dates "$photos" use-date-taken-photos-and-videos)"
        fi
    done
    printf '\nDate taken (quorlin --preview, "Add date/time to beginning", 10000 JPEG photos)\n'
    paired "Use Picture Taken Date" "$picture_ms" "Use Date Taken (photos and videos)" "$taken_ms" 1.5
}

case $only in
    own-names) own_names; exit 0 ;;
    date-taken) date_taken; exit 0 ;;
    "") ;;
    *) echo "bench/run.sh: --only takes own-names or date-taken" >&2; exit 2 ;;
esac

contenders=(raw sorted quorlin unjournaled perl mmv)
declare -A took
for c in "${contenders[@]}"; do took[$c]=""; done
preview_ms="" listing_ms="" unchecked_ms="" first_ms="" refresh_ms="" unmarked_ms=""
one_step_ms="" three_steps_ms="" pattern_ms=""

echo "Rounds: $rounds, $files empty files in one folder, $(findmnt -n -o FSTYPE -T "$work" 2>/dev/null || stat -f -c %T "$work") at $work" >&2
fill "$dir" "$files"
for ((round = 0; round < rounds; round++)); do
    echo "round $((round + 1)) of $rounds..." >&2
    for ((k = 0; k < ${#contenders[@]}; k++)); do
        c=${contenders[$(((k + round) % ${#contenders[@]}))]}
        took[$c]+=" $(timed "rename_$c" "$dir")"
        # Every file renamed, then put back for the next contender: the
        # folder holds the same names each time, and making it afresh
        # would take far longer than the renames.
        [ "$("$raw" --strip "$dir" x_)" = "renamed $files, failed 0" ] || { echo "$c renamed too few" >&2; exit 1; }
        sync
    done
    if ((round % 2)); then
        preview_ms+=" $(timed preview_quorlin "$dir")"
        unchecked_ms+=" $(timed preview_unchecked "$dir")"
        listing_ms+=" $(timed listing "$dir")"
    else
        listing_ms+=" $(timed listing "$dir")"
        unchecked_ms+=" $(timed preview_unchecked "$dir")"
        preview_ms+=" $(timed preview_quorlin "$dir")"
    fi
    # In an order that turns from round to round.
    steps=(one_step three_steps pattern)
    for ((k = 0; k < 3; k++)); do
        s=${steps[$(((k + round) % 3))]}
        case $s in
            one_step) one_step_ms+=" $(timed preview_one_step "$dir")" ;;
            three_steps) three_steps_ms+=" $(timed preview_three_steps "$dir")" ;;
            pattern) pattern_ms+=" $(timed preview_pattern "$dir")" ;;
        esac
    done
    read -r _ rows _ first _ again _ unmarked < <("$refresh" "$dir" 1)
    [ "$rows" -eq "$files" ] || { echo "refresh_bench saw $rows rows" >&2; exit 1; }
    first_ms+=" $first"
    refresh_ms+=" $again"
    unmarked_ms+=" $unmarked"
done

# Memory: the folder's cost is what a run over it needs beyond a run over
# one file.
fill "$work/one" 1
rename_args=(-a "Add to beginning" -s add=x_ --files --subfolders --no-folders --no-confirm --on-conflict skip)
preview_args=(--preview -a "Add to beginning" -s add=x_ --no-folders)
base_rename=$(peak "$quorlin" "${rename_args[@]}" "$work/one")
base_preview=$(peak "$quorlin" "${preview_args[@]}" "$work/one")
mem_preview=$(peak "$quorlin" "${preview_args[@]}" "$dir")
mem_rename=$(peak "$quorlin" "${rename_args[@]}" "$dir")
"$raw" --strip "$dir" x_ >/dev/null

raw_med=$(echo "${took[raw]}" | median)
printf '\nquorlin benchmarks: %d empty files in one folder, median of %d rounds (ms)\n\n' "$files" "$rounds"
printf 'Rename, "Add to beginning" (x_)         median  ratio to the kernel floor\n'
for c in raw sorted quorlin unjournaled perl mmv; do
    case $c in
        raw) label="bench/raw_rename (kernel floor)" ;;
        sorted) label="raw_rename --sorted (in name order)" ;;
        quorlin) label="quorlin" ;;
        unjournaled) label="quorlin without its journal" ;;
        perl) label="rename (perl, via find | xargs)" ;;
        mmv) label="mmv -r" ;;
    esac
    m=$(echo "${took[$c]}" | median)
    r=$(ratio "$m" "$raw_med")
    extra=""
    [ "$c" = quorlin ] && extra="   target <= 1.10: $(verdict "$r" 1.10 "<=")"
    printf '  %-36s %7d  %5sx%s\n' "$label" "$m" "$r" "$extra"
    printf '      rounds:%s\n' "${took[$c]}"
done

printf '\nRename with its journal (intents flushed before each batch of renames)\n'
paired "quorlin without its journal" "${took[unjournaled]}" "quorlin with its journal" "${took[quorlin]}" 1.05

printf '\nPreview (marked: what the run will meet)\n'
against "find DIR -maxdepth 1 -printf '%f\\n'" "$listing_ms" "quorlin --preview" "$preview_ms" 2.5
paired "quorlin --preview, names alone" "$unchecked_ms" "quorlin --preview" "$preview_ms" 1.2

printf '\nSteps and patterns (quorlin --preview, every name changed)\n'
paired "one step (Replace anywhere)" "$one_step_ms" "three steps (--then, --then)" "$three_steps_ms" 1.5
paired "Replace anywhere (f0 -> g0)" "$one_step_ms" "Replace by pattern (f0 -> g0)" "$pattern_ms" 2

printf '\nModel preview (bench/refresh_bench)\n'
against "first preview" "$first_ms" "refresh after a parameter change" "$refresh_ms" 0.25
paired "refresh, names alone" "$unmarked_ms" "refresh, names and marks" "$refresh_ms" 1.2

per_rename=$(awk -v a="$mem_rename" -v b="$base_rename" -v n="$files" 'BEGIN {printf "%.0f", (a - b) * 1024 / n}')
per_preview=$(awk -v a="$mem_preview" -v b="$base_preview" -v n="$files" 'BEGIN {printf "%.0f", (a - b) * 1024 / n}')
printf '\nPeak memory (/usr/bin/time -v, maximum resident set)\n'
printf '  %-36s %7d KB (1 file: %d KB)  %4d bytes/file   target < 250: %s\n' "quorlin rename" "$mem_rename" \
    "$base_rename" "$per_rename" "$(verdict "$per_rename" 250 "<")"
printf '  %-36s %7d KB (1 file: %d KB)  %4d bytes/file   target < 250: %s\n' "quorlin --preview" "$mem_preview" \
    "$base_preview" "$per_preview" "$(verdict "$per_preview" 250 "<")"

if [ "$files" -ge 1000000 ]; then
    small=$((files / 10))
    large_ms="" small_ms=""
    fill "$work/small" "$small"
    for ((round = 0; round < rounds; round++)); do
        large_ms+=" $(timed preview_quorlin "$dir")"
        small_ms+=" $(timed preview_quorlin "$work/small")"
    done
    printf '\nPreview scaling\n'
    against "quorlin --preview, $small files" "$small_ms" "quorlin --preview, $files files" "$large_ms" 11
fi

own_names
date_taken
