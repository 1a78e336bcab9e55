#!/usr/bin/env bash
# inkrun-build --all on a directory of N empty drawings, against
#   cat:  copying a ready file of the same bytes, the floor any builder stands on;
#   cat+sync: the same, made durable as inkrun-build's atomic save makes its script;
#   floor: the durable floor of the job itself: list the directory (ls -f), write the same bytes
#          (cat), make them durable (sync -d); no builder that lists and keeps its file can go under it;
#   python: what a CAD manager would write: os.scandir, sort by lower-case name, write, fsync;
#   bash: a plain loop writing the same bytes, what a user would write by hand.
# One run each, on the same file system; wall time from date +%s%N, peak memory from GNU time.
#
#   bench/compare.sh [inkrun-build] [N...]
#   (default: build-bench/bin/inkrun-build, N = 1000 10000 100000; TMPDIR picks the file system)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
bin="${1:-$root/build-bench/bin/inkrun-build}"
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 10000 100000)
[ -x "$bin" ] || { echo "no inkrun-build at $bin (build it, or pass its path)" >&2; exit 2; }
gnu_time=/usr/bin/time
"$gnu_time" -f %M true 2>/dev/null || { echo "GNU time is missing (Debian package 'time')" >&2; exit 2; }

work="$(mktemp -d "${TMPDIR:-/tmp}/inkrun-compare-XXXXXX")"
trap 'rm -rf "$work"' EXIT

# The hand-written builder: the built-in setup after each "_open" and quoted path, last drawing
# first (dsc). Every name here is lower case, so the glob's order is the list's.
loop='
dir=$1 setup_file=$2
IFS= read -r -d "" setup <"$setup_file" || true
cd "$dir"
names=(*.dwg)
for ((i = ${#names[@]} - 1; i >= 0; i--)); do
    printf "_open\r\n\"%s/%s\"\r\n%s\r\n" "$dir" "${names[i]}" "$setup"
done >"$dir/../bash.scr"
'

# The Python peer: the drawings by lower-case name, last first (dsc), in the code page, synced.
peer='
import os, sys
directory, setup_file, target = sys.argv[1:4]
with open(setup_file, encoding="cp1252", newline="") as f:
    setup = f.read()
names = [e.name for e in os.scandir(directory)
         if e.name.lower().endswith(".dwg") and not e.name.startswith(".") and e.is_file()]
names.sort(key=lambda n: (n.lower(), n))
with open(target, "w", encoding="cp1252", newline="") as out:
    for name in reversed(names):
        out.write("_open\r\n\"%s/%s\"\r\n%s\r\n" % (directory, name, setup))
    out.flush()
    os.fsync(out.fileno())
'

now() { date +%s%N; }
# Runs a command under GNU time; sets elapsed_ms and rss_kb.
measure() {
    local start end
    start=$(now)
    "$gnu_time" -f %M -o "$work/rss" "$@"
    end=$(now)
    elapsed_ms=$(( (end - start) / 1000000 ))
    rss_kb=$(tail -n 1 "$work/rss")
}

"$bin" --print-template >"$work/template.txt"

printf '%-7s %9s | %12s %7s %9s %8s %9s %9s | %10s %12s %13s %11s | %s\n' N "script MB" inkrun-build cat \
    cat+sync floor python "bash loop" inkrun/cat inkrun/floor python/inkrun bash/inkrun \
    "peak RSS MB: inkrun-build / cat / python / bash"
for n in "${sizes[@]}"; do
    case_dir="$work/n$n"
    drawings="$case_dir/drawings"
    mkdir -p "$drawings"
    (cd "$drawings" && seq -f 'drawing%06g.dwg' 0 $((n - 1)) | xargs touch)

    # A nightly job as it is set up: started in its settings directory, whose DefaultFile.txt
    # names the drawings; no Setup1.txt, so the built-in setup; dsc.
    mkdir -p "$case_dir/settings"
    printf '%s' "$drawings" >"$case_dir/settings/DefaultFile.txt"
    cd "$case_dir/settings"
    measure "$bin" --all >/dev/null
    ink_ms=$elapsed_ms ink_rss=$rss_kb
    cd "$root"
    mv "$drawings/Inkrun.scr" "$case_dir/ready.scr"

    measure cat "$case_dir/ready.scr" >"$case_dir/cat.scr"
    cat_ms=$elapsed_ms cat_rss=$rss_kb

    measure bash -c 'cat "$1" >"$2" && sync "$2"' bash "$case_dir/ready.scr" "$case_dir/synced.scr"
    sync_ms=$elapsed_ms

    measure bash -c 'ls -f "$1" >/dev/null && cat "$2" >"$3" && sync -d "$3"' bash "$drawings" \
        "$case_dir/ready.scr" "$case_dir/floor.scr"
    floor_ms=$elapsed_ms

    measure python3 -c "$peer" "$drawings" "$work/template.txt" "$case_dir/python.scr"
    py_ms=$elapsed_ms py_rss=$rss_kb

    measure bash -c "$loop" bash "$drawings" "$work/template.txt"
    bash_ms=$elapsed_ms bash_rss=$rss_kb

    cmp -s "$case_dir/ready.scr" "$case_dir/cat.scr" || { echo "cat wrote other bytes" >&2; exit 1; }
    cmp -s "$case_dir/ready.scr" "$case_dir/bash.scr" || { echo "the bash loop wrote other bytes" >&2; exit 1; }
    cmp -s "$case_dir/ready.scr" "$case_dir/floor.scr" || { echo "the floor wrote other bytes" >&2; exit 1; }
    cmp -s "$case_dir/ready.scr" "$case_dir/python.scr" || { echo "the Python peer wrote other bytes" >&2; exit 1; }
    size=$(stat -c %s "$case_dir/ready.scr")

    awk -v n="$n" -v size="$size" -v ink="$ink_ms" -v cat="$cat_ms" -v synced="$sync_ms" -v floor="$floor_ms" \
        -v py="$py_ms" -v sh="$bash_ms" -v r1="$ink_rss" -v r2="$cat_rss" -v r3="$py_rss" -v r4="$bash_rss" 'BEGIN {
        printf "%-7d %9.1f | %9d ms %4d ms %6d ms %5d ms %6d ms %6d ms | %9.2fx %11.2fx %12.1fx %10.1fx | %.1f / %.1f / %.1f / %.1f\n",
            n, size / 1e6, ink, cat, synced, floor, py, sh, ink / max1(cat), ink / max1(floor), py / max1(ink),
            sh / max1(ink), r1 / 1024, r2 / 1024, r3 / 1024, r4 / 1024 }
        function max1(x) { return x > 0 ? x : 1 }'
    rm -rf "$case_dir"
done
echo "goals at 100,000: inkrun/floor <= 1.1x, python/inkrun >= 5x, inkrun-build peak RSS < 32 MB"
