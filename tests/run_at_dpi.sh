#!/usr/bin/env bash
# Runs a test program under Wine in a prefix of its own whose screen has another DPI, on the caller's X
# display: run_at_dpi.sh DPI PREFIX_DIR PROGRAM [ARGS]. The prefix is made on first use and kept. The
# program prints "screen DPI N" with the DPI it found.
set -uo pipefail
dpi=$1 prefix=$2; shift 2
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/common.sh"
source "$root/scripts/session.sh"
PELLUX_PREFIX=$prefix
wine_env
make_prefix
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
# Wine's services start detached from the caller's pipes (else ctest waits on them).
wine wineboot </dev/null >/dev/null 2>&1
out=$(mktemp)
timeout 120 wine "$@" </dev/null >"$out" 2>&1
rc=$?
wineserver -k 2>/dev/null
cat "$out"
# The program must have seen the screen at that DPI, or it tested nothing new.
grep -q "screen DPI $dpi\b" "$out" || { echo "run_at_dpi: the program did not report a screen of $dpi DPI"; rc=1; }
rm -f "$out"
exit $rc
