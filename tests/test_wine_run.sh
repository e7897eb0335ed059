#!/usr/bin/env bash
# scripts/wine-run against a program whose library refuses to initialise a given number of times:
# test_wine_run.sh LATE_STARTER_EXE. A program the loader ended before its start is started once more;
# one that ran is never started again, whatever its exit code. A failed program's exit code is told.
set -uo pipefail
program=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PELLUX_START_REFUSALS="Z:$work/refusals"
init_failed=$((0xc0000142 & 0xff))
failures=0

# refusals, the program's own exit code, then the exit code, starts and second tries wine-run must show.
cases=(
    "0 0 0 1 0"
    "1 0 0 1 1"
    "2 0 $init_failed 0 1"
    "0 $init_failed $init_failed 1 0"
    "0 3 3 1 0"
)
for c in "${cases[@]}"; do
    read -r refusals own want_rc want_starts want_retries <<<"$c"
    printf '%s' "$refusals" >"$work/refusals"
    out=$("$root/scripts/wine-run" "$program" "$own" 2>&1 </dev/null)
    rc=$?
    starts=$(grep -c '^started' <<<"$out")
    retries=$(grep -c 'did not start (the loader lines above say why): starting it once more' <<<"$out")
    told=$(grep -c "ended with exit code $want_rc\$" <<<"$out")
    want_told=$([ "$want_rc" = 0 ] && echo 0 || echo 1)
    if [ "$rc" != "$want_rc" ] || [ "$starts" != "$want_starts" ] || [ "$retries" != "$want_retries" ] ||
       [ "$told" != "$want_told" ]; then
        echo "FAILED: $refusals refusal(s), own exit $own: exit $rc, $starts start(s), $retries second tr(ies);" \
             "wanted $want_rc, $want_starts, $want_retries; exit code told $told time(s). Output:"
        echo "$out"
        failures=$((failures + 1))
    fi
done
[ "$failures" = 0 ]
