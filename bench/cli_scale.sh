#!/usr/bin/env bash
# inkrun-build over a project tree and over a drawing list, against the plain build of as many
# drawings in one folder:
#   plain:     --all over N drawings in one folder;
#   recursive: --recursive over N drawings in F folders (N/F each);
#   list:      --from-list of N lines, the full paths of the plain folder's drawings.
# Each is run R times, in turn, writing its script into the drawing directory as a job does (the
# built-in setup, dsc); the median wall time and the peak memory are printed, with each one's
# ratio to the plain build. The list's script must be the plain one byte for byte, and the tree's
# the one its own list gives.
#
#   bench/cli_scale.sh [inkrun-build] [N] [F] [R]
#   (default: build-bench/bin/inkrun-build, N = 100000, F = 1000, R = 5; TMPDIR picks the file system)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$(realpath "${1:-$root/build-bench/bin/inkrun-build}")"
n=${2:-100000}
folders=${3:-1000}
runs=${4:-5}
[ -x "$bin" ] || { echo "no inkrun-build at $bin (build it, or pass its path)" >&2; exit 2; }
[ $((n % folders)) -eq 0 ] || { echo "N must be a multiple of F" >&2; exit 2; }
gnu_time=/usr/bin/time
"$gnu_time" -f %M true 2>/dev/null || { echo "GNU time is missing (Debian package 'time')" >&2; exit 2; }

work="$(mktemp -d "${TMPDIR:-/tmp}/inkrun-cli-scale-XXXXXX")"
trap 'rm -rf "$work"' EXIT
flat="$work/flat" tree="$work/tree"
mkdir -p "$flat" "$tree"
(cd "$flat" && seq -f 'drawing%06g.dwg' 0 $((n - 1)) | xargs touch)
per_folder=$((n / folders))
for ((f = 0; f < folders; f++)); do
    folder=$(printf '%s/folder%04d' "$tree" "$f")
    mkdir "$folder"
    (cd "$folder" && seq -f 'drawing%04g.dwg' 0 $((per_folder - 1)) | xargs touch)
done
# The lists: the plain folder's drawings, and the tree's in the order --recursive reads it.
seq -f "$flat/drawing%06g.dwg" 0 $((n - 1)) >"$work/flat.txt"
for ((f = 0; f < folders; f++)); do
    seq -f "$(printf '%s/folder%04d' "$tree" "$f")/drawing%04g.dwg" 0 $((per_folder - 1))
done >"$work/tree.txt"

# Runs one build; appends its wall time (ms) and peak memory (kB) to the case's record.
measure() {
    local name=$1 start end
    shift
    start=$(date +%s%N)
    "$gnu_time" -f %M -o "$work/rss" "$bin" --template -q "$@"
    end=$(date +%s%N)
    echo "$(((end - start) / 1000000)) $(tail -n 1 "$work/rss")" >>"$work/$name.runs"
}
for ((r = 0; r < runs; r++)); do
    measure plain --dir "$flat" --all
    measure recursive --dir "$tree" --recursive
    measure list --dir "$flat" --from-list "$work/flat.txt"
done

# Checked once more, outside the clock: the same bytes where the same drawings are named.
"$bin" --template -q --dir "$flat" --all -o "$work/plain.scr"
"$bin" --template -q --dir "$flat" --from-list "$work/flat.txt" -o "$work/list.scr"
cmp -s "$work/plain.scr" "$work/list.scr" || { echo "the list's script differs from the plain one" >&2; exit 1; }
"$bin" --template -q --dir "$tree" --recursive -o "$work/recursive.scr"
"$bin" --template -q --dir "$tree" --from-list "$work/tree.txt" -o "$work/tree.scr"
cmp -s "$work/recursive.scr" "$work/tree.scr" || { echo "the tree's script differs from its list's" >&2; exit 1; }

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
plain_ms=$(cut -d' ' -f1 "$work/plain.runs" | median)
printf '%-10s %8s %10s %12s   %s\n' case "median" "vs plain" "peak RSS" "all runs (ms)"
for name in plain recursive list; do
    ms=$(cut -d' ' -f1 "$work/$name.runs" | median)
    rss=$(cut -d' ' -f2 "$work/$name.runs" | sort -n | tail -n 1)
    awk -v name="$name" -v ms="$ms" -v plain="$plain_ms" -v rss="$rss" -v all="$(cut -d' ' -f1 "$work/$name.runs" | paste -sd ' ')" \
        'BEGIN { printf "%-10s %5d ms %9.2fx %9.1f MB   %s\n", name, ms, ms / (plain > 0 ? plain : 1), rss / 1024, all }'
done
echo "$n drawings; the tree in $folders folders of $per_folder; $runs runs each; goal: recursive and list within 1.5x of plain"
