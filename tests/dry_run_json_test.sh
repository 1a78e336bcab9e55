# The document of inkrun-build --dry-run=json as a program reads it: parsed by Python's JSON
# reader, each field of the kind the README lists, and the drawings and batches it shows those
# the build then writes.
#   dry_run_json_test.sh INKRUN-BUILD
set -euo pipefail
program=$(realpath "${1:?usage: $0 inkrun-build}")
work=$(mktemp -d "${TMPDIR:-/tmp}/inkrun-dry-run-json-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/jobs"
touch "$work/jobs/"{A-101,A-102,A-103,B-201,"Caf"$'\xc3\xa9'}.dwg "$work/jobs/A-103.dwl" "$work/jobs/Inkrun_009.scr"
printf 'zoom \r\nextents' >"$work/setup.txt"
printf 'FILEDIA\r\n0\r\n' >"$work/quiet.txt"
cd "$work"
args=(--dir jobs --setup setup.txt --preamble quiet.txt --batch 2 --asc --start-after A-101.dwg --all)
status=0
"$program" "${args[@]}" --dry-run=json >dry.json 2>dry.err || status=$?
[ "$status" = 3 ] || { echo "FAIL: the dry run exits $status, not 3 (warnings)" >&2; cat dry.err >&2; exit 1; }
"$program" "${args[@]}" -q 2>/dev/null || [ $? = 3 ]

python3 - dry.json <<'PY'
import json, sys

doc = json.load(open(sys.argv[1], encoding="utf-8"))
text, number, null = str, int, type(None)
fields = {"format": text, "version": number, "target": text, "setup": dict, "preamble": (text, null),
          "epilogue": (text, null), "order": text, "expand": bool, "start_after": (dict, null),
          "drawings": list, "batches": list, "removes": list, "warnings": list}
assert set(doc) == set(fields), sorted(doc)
for name, kind in fields.items():
    assert isinstance(doc[name], kind), (name, doc[name])
assert doc["format"] == "inkrun-build dry run" and doc["version"] == 1
assert doc["setup"]["source"] == "file" and doc["setup"]["slot"] is None and doc["setup"]["file"].endswith("setup.txt")
assert doc["order"] == "asc" and doc["expand"] is False
assert doc["start_after"]["left_out"] == 1 and doc["start_after"]["drawing"].endswith("A-101.dwg")
assert all(isinstance(d, text) for d in doc["drawings"]) and "Caf\u00e9.dwg" in doc["drawings"][-1]
assert [w["kind"] for w in doc["warnings"]] == ["lock-file", "invisible-answer"], doc["warnings"]
for w in doc["warnings"]:
    assert set(w) == {"kind", "message", "path", "line"} and isinstance(w["line"], (number, null))
assert doc["removes"] == [doc["target"].replace("Inkrun.scr", "Inkrun_009.scr")]

# The batches cover the drawings in order, each starting the next, as the scripts written hold them.
first = 1
for i, batch in enumerate(doc["batches"]):
    assert set(batch) == {"script", "first", "last", "next"} and batch["first"] == first
    first = batch["last"] + 1
    last = i + 1 == len(doc["batches"])
    assert batch["next"] == (None if last else doc["batches"][i + 1]["script"])
    lines = open(batch["script"], encoding="cp1252", newline="").read().split("\r\n")
    opened = [lines[j + 1].strip('"') for j, line in enumerate(lines) if line == "_open"]
    assert opened == doc["drawings"][batch["first"] - 1:batch["last"]], (opened, batch)
    assert lines[:2] == ["FILEDIA", "0"]
    assert (lines[-3:-1] == ["_script", '"%s"' % batch["next"]]) != last
assert first == len(doc["drawings"]) + 1
PY
echo "dry run JSON: parsed, its fields as documented, and what the build wrote"
