#!/usr/bin/env bash
# The window's close button ends the program with status 0, on the title screen and in the
# frame loop, in the window program and in the full-screen program.
source "$(dirname "$0")/lib.sh" "$@"
start_display
prepare_workdir
for prog in lumora lumora-fullscreen; do
  start_app "$prog"
  id="$(wait_window)"
  wait_title
  "$SEND_CLOSE" "$id"
  expect_exit 0 "$prog: after closing on the title screen"

  start_app "$prog"
  id="$(wait_window)"
  wait_title
  press space
  sleep 0.3
  "$SEND_CLOSE" "$id"
  expect_exit 0 "$prog: after closing in the frame loop"
done

# The full-screen program starts, runs and quits with ESC like the window program.
open_title lumora-fullscreen
enter_loop
sleep 0.5
shot fullscreen
awk "BEGIN { exit !($(mean_in fullscreen 1024x768+0+0) > 0.05) }" || fail "full-screen picture is black"
press Escape
expect_exit 0 "lumora-fullscreen after ESC"
echo "PASS"
