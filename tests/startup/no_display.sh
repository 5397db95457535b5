#!/usr/bin/env bash
# With no display to connect to, lumora ends at once with a message and status 255 instead of
# going on without the library.
# Usage: no_display.sh PROGRAM_DIR
set -u
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
status=0
DISPLAY=":31999" timeout 20 "$1/lumora" 2>err.txt || status=$?
[ "$status" = 255 ] || { echo "FAIL: exit status $status, expected 255" >&2; cat err.txt >&2; exit 1; }
grep -q "cannot start" err.txt || { echo "FAIL: no message on standard error" >&2; exit 1; }
echo PASS
