#!/usr/bin/env bash
# P stands the picture still; the repel tool, chosen with the right button and held with the
# left, moves the fireflies near the mouse and only those.
source "$(dirname "$0")/lib.sh" "$@"
start_display
prepare_workdir
open_title
enter_loop
sleep 0.5
shot moving1
sleep 0.2
shot moving2
[ "$(differ_in moving1 moving2 1024x700+0+0)" -gt 0 ] || fail "the fireflies do not move"

# Still means still above the status line and away from the cursor, which go on fading and
# hiding while paused; on a busy machine that takes longer than a wait, and a second P would
# start the fireflies again.
xdotool mousemove 1023 767
press_until p 'shot paused1; sleep 0.3; shot paused2; [ "$(differ_in paused1 paused2 1024x700+0+0)" = 0 ]' ||
  fail "the picture changes while paused"

# A click, as a key, goes down and up in one call; the left button is held until the picture
# near the mouse has changed, however slowly frames come.
xdotool mousemove 512 384 sleep 0.3 mousedown 3 sleep 0.06 mouseup 3
sleep 0.5
xdotool mousedown 1
wait_until 'shot pushed; [ "$(differ_in paused2 pushed 400x400+312+184)" -gt 50 ]' ||
  fail "the repel tool moved nothing"
xdotool mouseup 1
sleep 1
shot pushed
[ "$(differ_in paused2 pushed 250x200+0+500)" = 0 ] || fail "fireflies far from the mouse moved"
press Escape
expect_exit 0 "ESC"
echo "PASS"
