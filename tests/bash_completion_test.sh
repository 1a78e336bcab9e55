# The installed bash completion of inkrun-build, sourced into bash as bash-completion loads it:
# what it offers for options, their values and drawing names.
#   bash_completion_test.sh COMPLETION INKRUN-BUILD
set -uo pipefail
export LC_ALL=C  # the order of sort
completion=$(realpath "${1:?usage: $0 completion-file inkrun-build}")
program=$(realpath "${2:?usage: $0 completion-file inkrun-build}")
# shellcheck source=/dev/null
source "$completion"

work=$(mktemp -d "${TMPDIR:-/tmp}/inkrun-completion-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/settings" "$work/jobs/sub" "$work/other"
touch "$work/jobs/A-101.dwg" "$work/jobs/A 102.DWG" "$work/jobs/B-201.dwg" "$work/jobs/.hidden.dwg" \
    "$work/jobs/notes.txt" "$work/other/O-1.dwg" "$work/settings/plot.txt"
mkdir "$work/jobs/folder.dwg"
printf '%s\r\n' "$work/jobs" >"$work/settings/DefaultFile.txt"
cd "$work/settings" || exit 1

failures=0
# offers 'WORDS OF THE LINE' 'EXPECTED...': the line completed at its last word; COMPREPLY sorted
# and joined by '|' must equal the expected words so joined.
offers() {
    local line=$1 expected=$2
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMPREPLY=()
    _inkrun_build
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd '|')
    if [[ $got != "$expected" ]]; then
        echo "FAIL: '$line' offers '$got', not '$expected'" >&2
        failures=$((failures + 1))
    fi
}

# Every option of the program, under each of its names, and nothing else.
options=$("$program" --help | grep -oE '^(  -[a-zA-Z], |      )--[a-z-]+' | tr -d ' ' | tr ',' '\n' | sort | paste -sd '|')
[ -n "$options" ] || { echo "FAIL: no options in $program --help" >&2; exit 1; }
offers 'inkrun-build -' "$options"
offers 'inkrun-build --re' '--recursive'
offers 'inkrun-build --d' '--dir|--dry-run|--dsc'

# Values, apart and attached with "=" (which bash makes a word of its own).
offers 'inkrun-build --slot ' '1|2'
offers 'inkrun-build --locale da-' 'da-DK|da-GL'
offers 'inkrun-build --dir ../j' '../jobs'
offers 'inkrun-build --setup pl' 'plot.txt'
offers 'inkrun-build --output = pl' 'plot.txt'
offers 'inkrun-build --from-list ' "-|DefaultFile.txt|plot.txt"
offers 'inkrun-build --dry-run=b' 'blocks'
offers 'inkrun-build --dry-run = ' 'blocks|json|report'
offers 'inkrun-build --start-after A-1' 'A-101.dwg'
offers 'inkrun-build --batch ' ''

# Drawings of the remembered drawing directory, of --dir, after "--"; none where the drawings
# are chosen another way.
offers 'inkrun-build ' 'A 102.DWG|A-101.dwg|B-201.dwg'
offers 'inkrun-build --asc A' 'A 102.DWG|A-101.dwg'
offers 'inkrun-build --dir ../other ' 'O-1.dwg'
offers 'inkrun-build --dir = ../other ' 'O-1.dwg'
offers 'inkrun-build -- B' 'B-201.dwg'
offers 'inkrun-build --all ' ''
offers 'inkrun-build -r ' ''

if [ "$failures" -gt 0 ]; then
    echo "FAIL: $failures completions" >&2
    exit 1
fi
echo "PASS: the bash completion offers options, values and drawings"
