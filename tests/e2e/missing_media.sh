#!/usr/bin/env bash
# A missing picture ends the program with status 1 after a message box naming the file.
source "$(dirname "$0")/lib.sh" "$@"
start_display
prepare_workdir
rm "$WORK/wood.bmp"
start_app
# The message box is a child process holding the message in its command line: close it.
found=""
for _ in $(seq 100); do
  pid="$(pgrep -f 'xmessage.*wood\.bmp' | head -n1 || true)"
  if [ -n "$pid" ]; then found=yes; kill "$pid"; break; fi
  kill -0 "$APP_PID" 2>/dev/null || break
  sleep 0.1
done
[ -n "$found" ] || fail "no message box named wood.bmp"
expect_exit 1 "missing wood.bmp"
echo "PASS"
