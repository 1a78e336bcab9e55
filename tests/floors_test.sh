# The floors hold where the linker sees them: no folder's library refers to a symbol that a folder
# on a higher floor defines, and no folders call each other, two of them or more in a circle. An
# include that runs up a floor, or round a circle, fails too: the calls follow the includes.
# Each FLOOR:FOLDER:LIBRARY names a folder of the tree, its floor (1 is the ground) and its static
# library; a folder whose library this build does not make leaves LIBRARY empty and has its
# includes checked alone.
set -euo pipefail
root=$(realpath "${1:?usage: $0 path/to/source-tree FLOOR:FOLDER:LIBRARY...}")
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

declare -A floor library
folders=()
for entry in "$@"; do
    IFS=: read -r level folder archive <<<"$entry"
    [ -d "$root/$folder" ] || { echo "FAIL: no folder $folder" >&2; exit 1; }
    floor[$folder]=$level
    library[$folder]=$archive
    folders+=("$folder")
    key=${folder//\//_}
    if [ -n "$archive" ]; then
        # Strong definitions only: an inline function or a template is defined wherever it is used.
        nm -P --defined-only "$archive" | awk 'NF > 1 && $2 ~ /^[TDBRGS]$/ {print $1}' | sort -u >"$work/$key.defined"
        nm -P --undefined-only "$archive" | awk '$2 == "U" {print $1}' | sort -u |
            comm -23 - "$work/$key.defined" >"$work/$key.undefined"
    else
        : >"$work/$key.defined"
        : >"$work/$key.undefined"
    fi
done

failed=0
# A folder that builds a library but is given no floor here would go unchecked.
for lists in "$root"/*/CMakeLists.txt "$root"/frontends/*/CMakeLists.txt; do
    folder=$(dirname "${lists#"$root/"}")
    case $folder in tests | bench) continue ;; esac
    grep -q '^add_library(' "$lists" || continue
    [ -n "${floor[$folder]+set}" ] || { echo "FAIL: $folder builds a library but has no floor" >&2; failed=1; }
done

: >"$work/edges"
for from in "${folders[@]}"; do
    for to in "${folders[@]}"; do
        [ "$from" != "$to" ] || continue
        what=()
        mapfile -t symbols < <(comm -12 "$work/${from//\//_}.undefined" "$work/${to//\//_}.defined")
        [ ${#symbols[@]} -eq 0 ] || what+=("it calls $(printf '%s\n' "${symbols[@]:0:3}" | c++filt | paste -sd ';' -)")
        mapfile -t includes < <(grep -rlE "^#include \"$to/" "$root/$from" --include='*.h' --include='*.cpp' || true)
        [ ${#includes[@]} -eq 0 ] || what+=("${includes[0]#"$root/"} includes from it")
        [ ${#what[@]} -gt 0 ] || continue
        echo "$from $to" >>"$work/edges"
        if [ "${floor[$to]}" -gt "${floor[$from]}" ]; then
            echo "FAIL: $from (floor ${floor[$from]}) reaches up to $to (floor ${floor[$to]}): ${what[*]}" >&2
            failed=1
        fi
    done
done

# tsort lists the folders of a circle, one a line, after its complaint.
if ! tsort "$work/edges" >/dev/null 2>"$work/circle"; then
    echo "FAIL: these folders call or include each other in a circle: $(grep -v 'contains a loop' "$work/circle" | sed 's/^tsort: //' | paste -sd ' ' -)" >&2
    failed=1
fi

[ "$failed" -eq 0 ] || exit 1
echo "PASS: ${#folders[@]} folders on their floors, $(wc -l <"$work/edges") ties, each downwards or across and none round a circle"
