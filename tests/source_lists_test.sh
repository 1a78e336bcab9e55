# Every source file and test script is named in the CMakeLists.txt of its folder or of a folder
# above it: the build lists its files by name, and a file left out of a list (after a merge, say)
# would be neither built nor tested.
set -euo pipefail
root=$(realpath "${1:?usage: $0 path/to/source-tree}")
cd "$root"

missing=0
while IFS= read -r file; do
    name=$(basename "$file")
    dir=$(dirname "$file")
    found=false
    while :; do
        if [ -f "$dir/CMakeLists.txt" ] && grep -qE "(^|[[:space:]/(])${name//./\\.}([[:space:])]|$)" "$dir/CMakeLists.txt"; then
            found=true
            break
        fi
        [ "$dir" = . ] && break
        dir=$(dirname "$dir")
    done
    $found || { echo "not in any CMakeLists.txt: $file" >&2; missing=$((missing + 1)); }
done < <(find platform model script drawings setup app frontends tests bench -name '*.cpp' -o -name '*_test.sh' \
    | grep -v -e '^tests/source_lists_test.sh$' | sort)

[ "$missing" -eq 0 ] || { echo "FAIL: $missing files are built or run by no list" >&2; exit 1; }
echo "PASS: every source file and test script is in a list"
