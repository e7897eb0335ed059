#!/usr/bin/env bash
# scripts/wine-run against a program whose library refuses to initialise a given number of times:
# test_wine_run.sh LATE_STARTER_EXE REFUSING_LIBRARY. Both live outside the build's output folder, as a
# library the project does not build would. A program the loader ended before its start for such a library
# is started once more; one whose refusing library lies in the output folder is not, nor is one that ran,
# whatever its exit code; a failed listing of tests is tried once more. Every second start is noted in the
# output folder's second-starts.txt, and a failed program's exit code is told.
set -uo pipefail
program=$1
library=$2
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PELLUX_START_REFUSALS="Z:$work/refusals"
init_failed=$((0xc0000142 & 0xff))
failures=0

# Where the library lives (foreign: outside the output folder; built: in it), refusals, the program's
# arguments, then the exit code, starts shown and second starts wine-run must show. A listing passes on
# what its last start printed only.
cases=(
    "foreign 0 0 0 1 0"
    "foreign 1 0 0 1 1"
    "foreign 2 0 $init_failed 0 1"
    "foreign 0 $init_failed $init_failed 1 0"
    "foreign 0 3 3 1 0"
    "built 1 0 $init_failed 0 0"
    "built 0 3 3 1 0"
    "foreign 0 --gtest_list_tests 0 1 0"
    "foreign 0 --gtest_list_tests,4 4 1 1"
    "built 1 --gtest_list_tests $init_failed 0 0"
)
row=0
for c in "${cases[@]}"; do
    read -r where refusals args want_rc want_starts want_retries <<<"$c"
    row=$((row + 1))
    built=$work/output$row
    mkdir -p "$built"
    run=$program
    if [ "$where" = built ]; then
        cp "$program" "$library" "$built/"
        run=$built/$(basename "$program")
    fi
    printf '%s' "$refusals" >"$work/refusals"
    out=$("$root/scripts/wine-run" "$built" "$run" ${args//,/ } 2>&1 </dev/null)
    rc=$?
    starts=$(grep -c '^started' <<<"$out")
    retries=$(grep -c ': starting it once more$' <<<"$out")
    noted=$(cat "$built/second-starts.txt" 2>/dev/null | wc -l)
    told=$(grep -c "ended with exit code $want_rc\$" <<<"$out")
    want_told=$([ "$want_rc" = 0 ] && echo 0 || echo 1)
    if [ "$rc" != "$want_rc" ] || [ "$starts" != "$want_starts" ] || [ "$retries" != "$want_retries" ] ||
       [ "$noted" != "$want_retries" ] || [ "$told" != "$want_told" ]; then
        echo "FAILED: library $where, $refusals refusal(s), arguments $args: exit $rc, $starts start(s)," \
             "$retries second start(s), $noted noted; wanted $want_rc, $want_starts, $want_retries;" \
             "exit code told $told time(s). Output:"
        echo "$out"
        failures=$((failures + 1))
    fi
done
[ "$failures" = 0 ]
