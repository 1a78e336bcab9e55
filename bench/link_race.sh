#!/usr/bin/env bash
# Root's builds against another user who swaps a folder for a link in a loop: does a build ever
# replace or read a file that only root may touch?
#
# Root runs inkrun-build on paths through "jobs", a folder that an unprivileged user (uid 65534)
# owns, while that user's link_swapper exchanges "jobs" with "bait", a link to a folder of root's
# (0700), as fast as it can. Each build is one try of each kind:
#   output:   -o jobs/out.scr                 a win replaces root's out.scr
#   dir:      --dir jobs --all                a win replaces root's Inkrun.scr
#   setup:    --setup jobs/Setup1.txt         a win reads root's setup into the script
#   settings: --settings jobs (slot 1)        the same through the settings directory
# in three places:
#   shared:   jobs stands in a world-writable folder (as in /srv/share);
#   sticky:   in a world-writable sticky folder (as in /tmp);
#   own:      in a 0755 folder of the user's own, made in the world-writable one.
# A refused build (exit 1 or 2, nothing written) is no win. The table shows wins, refusals and
# clean builds per kind and place; the last line the total wins.
#
#   bench/link_race.sh [-n TRIES] [-b INKRUN_BUILD] [-s LINK_SWAPPER] [-x]
#
#   TRIES   builds of each kind in each place (default 100)
#   -x      exit 1 if any build won (for the test suite)
#   Needs root; without it exits 77 (skipped).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
tries=100
bin="$root/build-bench/bin/inkrun-build"
swapper="$root/build-bench/bin/link_swapper"
strict=0
while getopts n:b:s:x option; do
    case $option in
    n) tries=$OPTARG ;;
    b) bin=$OPTARG ;;
    s) swapper=$OPTARG ;;
    x) strict=1 ;;
    *) sed -n '2,/^set -e/p' "$0" | sed '$d' >&2; exit 2 ;;
    esac
done
[ "$(id -u)" -eq 0 ] || { echo "skipped: the race needs root (to be the victim and to make another user)" >&2; exit 77; }
[ "$tries" -ge 1 ] 2>/dev/null || { echo "TRIES must be a number of at least 1" >&2; exit 2; }
for program in "$bin" "$swapper"; do
    [ -x "$program" ] || { echo "no program at $program (build it, or give its path)" >&2; exit 2; }
done
bin=$(realpath "$bin") swapper=$(realpath "$swapper")
attacker=65534
as_attacker=(setpriv --reuid=$attacker --regid=$attacker --clear-groups)

work="$(mktemp -d "${TMPDIR:-/tmp}/inkrun-link-race-XXXXXX")"
swapping=
cleanup() {
    [ -z "$swapping" ] || kill "$swapping" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
chmod 0755 "$work"
secret="$work/secret" drawings="$work/drawings" out="$work/out"
mkdir -p "$secret" "$drawings" "$out" "$work/shared" "$work/sticky"
chmod 0700 "$secret" "$out"
chmod 0777 "$work/shared"
chmod 1777 "$work/sticky"
: >"$drawings/A.dwg"
: >"$secret/A.dwg"
restore_secret() {
    printf 'root only' >"$secret/out.scr"
    printf 'root only' >"$secret/Inkrun.scr"
    printf 'ROOT SECRET' >"$secret/Setup1.txt"
}
restore_secret

# The user's folder and its bait in `place`; prints the folder that holds them.
stage() {
    local place=$1 holder
    case $place in
    shared) holder="$work/shared" ;;
    sticky) holder="$work/sticky" ;;
    own) holder="$work/shared/own"; "${as_attacker[@]}" mkdir -m 0755 "$holder" ;;
    esac
    "${as_attacker[@]}" mkdir -m 0755 "$holder/jobs"
    "${as_attacker[@]}" sh -c 'printf decoy >"$1/jobs/Setup1.txt" && : >"$1/jobs/A.dwg" && ln -s "$2" "$1/bait"' sh \
        "$holder" "$secret"
    echo "$holder"
}

# One build of `kind` through $1/jobs; prints "win", "refused" or "built".
try_once() {
    local holder=$1 kind=$2 status=0
    rm -f "$out/result.scr"
    case $kind in
    output) "$bin" -q --dir "$drawings" --all --template -o "$holder/jobs/out.scr" 2>/dev/null || status=$? ;;
    dir) "$bin" -q --dir "$holder/jobs" --all --template 2>/dev/null || status=$? ;;
    setup) "$bin" -q --dir "$drawings" --all --setup "$holder/jobs/Setup1.txt" -o "$out/result.scr" 2>/dev/null ||
        status=$? ;;
    settings) "$bin" -q --settings "$holder/jobs" --dir "$drawings" --all -o "$out/result.scr" 2>/dev/null ||
        status=$? ;;
    esac
    if [ "$(cat "$secret/out.scr")$(cat "$secret/Inkrun.scr")" != "root onlyroot only" ] ||
        grep -qs 'ROOT SECRET' "$out/result.scr"; then
        restore_secret
        echo win
    elif [ "$status" -ne 0 ] && [ "$status" -ne 3 ]; then
        echo refused
    else
        echo built
    fi
}

cd "$work"
printf '%-9s %-9s | %6s %6s %8s %6s\n' place kind tries wins refused built
total=0
for place in shared sticky own; do
    holder=$(stage "$place")
    "${as_attacker[@]}" "$swapper" "$holder/jobs" "$holder/bait" >"$work/swaps" &
    swapping=$!
    for kind in output dir setup settings; do
        wins=0 refused=0 built=0
        for ((i = 0; i < tries; i++)); do
            case $(try_once "$holder" "$kind") in
            win) wins=$((wins + 1)) ;;
            refused) refused=$((refused + 1)) ;;
            built) built=$((built + 1)) ;;
            esac
        done
        printf '%-9s %-9s | %6d %6d %8d %6d\n' "$place" "$kind" "$tries" "$wins" "$refused" "$built"
        total=$((total + wins))
    done
    kill "$swapping"
    wait "$swapping" || true
    swapping=
    echo "          (the user swapped $(cat "$work/swaps") times)"
done
echo "wins: $total of $((tries * 12)) builds"
[ "$strict" -eq 0 ] || [ "$total" -eq 0 ]
