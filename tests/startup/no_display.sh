#!/usr/bin/env bash
# With no display to connect to, each window program ends at once with status 255 and a message
# that names it, instead of going on without the library.
# Usage: no_display.sh PROGRAM_DIR
set -u
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
for program in lumora lumora-fullscreen; do
  status=0
  DISPLAY=":31999" timeout 20 "$1/$program" 2>err.txt || status=$?
  [ "$status" = 255 ] || { echo "FAIL: $program: exit status $status, expected 255" >&2; cat err.txt >&2; exit 1; }
  grep -q "^$program cannot start: " err.txt ||
    { echo "FAIL: $program: no message naming it on standard error" >&2; cat err.txt >&2; exit 1; }
done
echo PASS
