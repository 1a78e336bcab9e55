#!/usr/bin/env bash
# inkrun-build --all on a directory of N empty drawings, against
#   floor:    the durable floor of the job itself: list the directory (ls -f), write the same bytes
#             (cat), make them durable (sync -d); no builder that lists and keeps its file can go under it;
#   python:   what a CAD manager would write: os.scandir, sort by lower-case name, write in the code
#             page, fsync. The drawings are numbered (drawing000000.dwg...), so its order and the
#             list box's agree; with words in the names they would not;
#   cat:      copying a ready file of the same bytes, the floor any builder stands on;
#   sync:     the same, made durable as inkrun-build's atomic save makes its script;
#   bash:     a plain loop writing the same bytes, what a user would write by hand.
# Each reference runs in interleaved pairs with inkrun-build (inkrun-build, then the reference),
# so that both see the same load; the table shows the medians of the times and of the pairs'
# ratios, and the peak memory. Every output is checked byte-identical to inkrun-build's script.
#
#   bench/compare.sh [-n RUNS] [-b INKRUN_BUILD] [-r REFERENCES] [CASE...]
#
#   RUNS        pairs per reference and case (default 5)
#   REFERENCES  comma-separated, from floor,python,cat,sync,bash (default: all)
#   CASE        N drawings with the built-in setup (in Setup1.txt), or N:MB for N drawings with a setup of MB
#               megabytes in Setup1.txt (default: 1000 10000 100000 10:100). The bash loop
#               is left out for large setups: bash reads a file a byte at a time.
#   TMPDIR picks the file system.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
runs=5
bin="$root/build-bench/bin/inkrun-build"
references=floor,python,cat,sync,bash
while getopts n:b:r: option; do
    case $option in
    n) runs=$OPTARG ;;
    b) bin=$OPTARG ;;
    r) references=$OPTARG ;;
    *) sed -n '2,/^set -e/p' "$0" | sed '$d' >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(1000 10000 100000 10:100)
[ "$runs" -ge 1 ] 2>/dev/null || { echo "RUNS must be a number of at least 1" >&2; exit 2; }
[ -x "$bin" ] || { echo "no inkrun-build at $bin (build it, or give its path with -b)" >&2; exit 2; }
bin=$(realpath "$bin")
gnu_time=/usr/bin/time
"$gnu_time" -f %M true 2>/dev/null || { echo "GNU time is missing (Debian package 'time')" >&2; exit 2; }
IFS=, read -r -a refs <<<"$references"
for ref in "${refs[@]}"; do
    case $ref in floor | python | cat | sync | bash) ;; *) echo "unknown reference '$ref'" >&2; exit 2 ;; esac
done

work="$(mktemp -d "${TMPDIR:-/tmp}/inkrun-compare-XXXXXX")"
trap 'rm -rf "$work"' EXIT

# The hand-written builder: the setup after each "_open" and quoted path, last drawing first (dsc).
loop='
dir=$1 setup_file=$2 target=$3
IFS= read -r -d "" setup <"$setup_file" || true
cd "$dir"
names=(*.dwg)
for ((i = ${#names[@]} - 1; i >= 0; i--)); do
    printf "_open\r\n\"%s/%s\"\r\n%s\r\n" "$dir" "${names[i]}" "$setup"
done >"$target"
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
# Runs a command under GNU time; prints "milliseconds peak-KiB".
measure() {
    local start end
    start=$(now)
    "$gnu_time" -f %M -o "$work/rss" "$@" >/dev/null
    end=$(now)
    echo "$(((end - start) / 1000000)) $(tail -n 1 "$work/rss")"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo 2>/dev/null || true)
echo "machine: $(nproc) cores${cpu:+ ($cpu)}, $(free -g | awk '/^Mem:/ { print $2 }') GB," \
    "$(df -T "$work" | awk 'NR == 2 { print $2 " on " $1 }'), Linux $(uname -r)"
echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$runs interleaved pairs per reference: medians of the times and of the pairs' ratios"
echo

printf '%-10s %9s | %8s' case "script MB" inkrun
for ref in "${refs[@]}"; do printf ' %8s' "$ref"; done
printf ' |'
for ref in "${refs[@]}"; do
    case $ref in python | bash) printf ' %11s' "$ref/inkrun" ;; *) printf ' %11s' "inkrun/$ref" ;; esac
done
printf ' | peak RSS MB: inkrun'
for ref in "${refs[@]}"; do [ "$ref" = python ] && printf ' / python'; done
echo

for spec in "${cases[@]}"; do
    n=${spec%%:*}
    setup_mb=
    [ "$spec" = "$n" ] || setup_mb=${spec#*:}
    case_dir="$work/case"
    drawings="$case_dir/drawings"
    settings="$case_dir/settings"
    mkdir -p "$drawings" "$settings"
    (cd "$drawings" && seq -f 'drawing%06g.dwg' 0 $((n - 1)) | xargs -r touch)

    # A nightly job as it is set up: started in its settings directory, whose DefaultFile.txt
    # names the drawings, and whose Setup1.txt holds the built-in setup or a large one; dsc.
    printf '%s' "$drawings" >"$settings/DefaultFile.txt"
    "$bin" --print-template >"$case_dir/setup.txt"
    cp "$case_dir/setup.txt" "$settings/Setup1.txt"
    if [ -n "$setup_mb" ]; then
        template=$(<"$case_dir/setup.txt")
        template=${template%$'\r'}  # the substitution took the last LF only; CR CR LF reads as a space
        : >"$settings/Setup1.txt"
        # Whole copies of the template, just past MB megabytes: a setup cut inside a line would end
        # in blanks or a lone CR, which inkrun-build warns about or reads as one more line end.
        while [ "$(stat -c %s "$settings/Setup1.txt")" -lt $((setup_mb * 1000000)) ]; do
            for _ in $(seq 1000); do printf '%s\r\n' "$template"; done >>"$settings/Setup1.txt"
        done
        cp "$settings/Setup1.txt" "$case_dir/setup.txt"
    fi
    (cd "$settings" && "$bin" --all >/dev/null)
    cp "$drawings/Inkrun.scr" "$case_dir/ready.scr"

    declare -A times=() ratios=()
    ink_times=() ink_rss=() python_rss=()
    for ((run = 1; run <= runs; run++)); do
        for ref in "${refs[@]}"; do
            [ "$ref" = bash ] && [ -n "$setup_mb" ] && continue
            read -r ink_ms rss < <(cd "$settings" && measure "$bin" --all)
            ink_times+=("$ink_ms")
            ink_rss+=("$rss")
            case $ref in
            floor) read -r ref_ms rss < <(measure bash -c 'ls -f "$1" >/dev/null && cat "$2" >"$3" && sync -d "$3"' \
                bash "$drawings" "$case_dir/ready.scr" "$case_dir/floor.scr") ;;
            python) read -r ref_ms rss < <(measure python3 -c "$peer" "$drawings" "$case_dir/setup.txt" \
                "$case_dir/python.scr")
                python_rss+=("$rss") ;;
            cat) read -r ref_ms rss < <(measure bash -c 'cat "$1" >"$2"' bash "$case_dir/ready.scr" "$case_dir/cat.scr") ;;
            sync) read -r ref_ms rss < <(measure bash -c 'cat "$1" >"$2" && sync "$2"' bash "$case_dir/ready.scr" \
                "$case_dir/sync.scr") ;;
            bash) read -r ref_ms rss < <(measure bash -c "$loop" bash "$drawings" "$case_dir/setup.txt" \
                "$case_dir/bash.scr") ;;
            esac
            times[$ref]+="$ref_ms "
            case $ref in
            python | bash) ratios[$ref]+="$(awk -v a="$ref_ms" -v b="$ink_ms" 'BEGIN { print a / (b > 0 ? b : 1) }') " ;;
            *) ratios[$ref]+="$(awk -v a="$ink_ms" -v b="$ref_ms" 'BEGIN { print a / (b > 0 ? b : 1) }') " ;;
            esac
        done
    done
    for ref in "${refs[@]}"; do
        [ -f "$case_dir/$ref.scr" ] || continue
        cmp -s "$drawings/Inkrun.scr" "$case_dir/$ref.scr" || { echo "$ref wrote other bytes than inkrun-build" >&2; exit 1; }
    done

    size=$(stat -c %s "$drawings/Inkrun.scr")
    label="$n"
    [ -z "$setup_mb" ] || label="$n:${setup_mb}MB"
    printf '%-10s %9.1f | %5s ms' "$label" "$(awk -v s="$size" 'BEGIN { print s / 1e6 }')" \
        "$(printf '%s\n' "${ink_times[@]}" | median)"
    for ref in "${refs[@]}"; do
        if [ -n "${times[$ref]:-}" ]; then printf ' %5s ms' "$(tr ' ' '\n' <<<"${times[$ref]}" | grep . | median)"
        else printf ' %8s' -; fi
    done
    printf ' |'
    for ref in "${refs[@]}"; do
        if [ -n "${ratios[$ref]:-}" ]; then printf ' %10.2fx' "$(tr ' ' '\n' <<<"${ratios[$ref]}" | grep . | median)"
        else printf ' %11s' -; fi
    done
    printf ' | %.1f' "$(printf '%s\n' "${ink_rss[@]}" | median | awk '{ print $1 / 1024 }')"
    [ ${#python_rss[@]} -eq 0 ] || printf ' / %.1f' "$(printf '%s\n' "${python_rss[@]}" | median | awk '{ print $1 / 1024 }')"
    echo
    unset times ratios
    rm -rf "$case_dir"
done
echo
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "goals: inkrun/floor <= 1.1x and python/inkrun >= 5x at 1,000, 10,000 and 100,000 drawings;" \
    "inkrun-build's peak RSS < 32 MB at 100,000, and near one setup's size for a large setup"
