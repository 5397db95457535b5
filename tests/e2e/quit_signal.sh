#!/usr/bin/env bash
# SIGTERM (a logout) and SIGINT end the window program with status 0, on the title screen and
# in the frame loop.
source "$(dirname "$0")/lib.sh" "$@"
start_display
prepare_workdir

open_title
kill -TERM "$APP_PID"
expect_exit 0 "after SIGTERM on the title screen"

for signal in TERM INT; do
  open_title
  enter_loop
  kill -"$signal" "$APP_PID"
  expect_exit 0 "after SIG$signal in the frame loop"
done
echo "PASS"
