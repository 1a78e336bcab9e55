# The C++ sources are laid out as .clang-format says, so that a change shows only what it changes.
# Templates that CMake fills in (*.h.in) are left as written: their @NAME@ marks are not C++.
# Run `bash tests/format_test.sh . --fix` to lay them out.
set -euo pipefail
root=$(realpath "${1:?usage: $0 path/to/source-tree [--fix]}")
cd "$root"
formatter=${CLANG_FORMAT:-clang-format}
command -v "$formatter" >/dev/null || { echo "FAIL: $formatter not found (scripts/packages/linux-tests.txt lists it)" >&2; exit 1; }

mapfile -t files < <(find platform model script drawings setup app frontends tests bench \
    \( -name '*.cpp' -o -name '*.h' \) | sort)
if [ "${2:-}" = --fix ]; then
    "$formatter" -i "${files[@]}"
    exit 0
fi
report=$(mktemp)
trap 'rm -f "$report"' EXIT
if ! "$formatter" --dry-run --Werror "${files[@]}" 2>"$report"; then
    grep -E '^[^ ].*: (error|warning):' "$report" | cut -d: -f1 | sort -u | sed 's/^/not formatted: /' >&2
    echo "FAIL: run bash tests/format_test.sh . --fix" >&2
    exit 1
fi
echo "PASS: ${#files[@]} files laid out as .clang-format says"
