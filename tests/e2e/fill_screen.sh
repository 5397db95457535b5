#!/usr/bin/env bash
# On a 3840 by 2160 screen without a window manager, `lumora --size screen` opens a window as
# big as the screen and draws the field at its pixels: the title covers it, the panel, the
# graph and the status line are drawn twice as large at their corners, and ESC ends it.
source "$(dirname "$0")/lib.sh" "$@"
start_display 3840x2160x24
prepare_workdir
open_title lumora --size screen
id="$(wait_window)"
size="$(xdotool getwindowgeometry "$id" | awk '/Geometry/ { print $2 }')"
[ "$size" = "3840x2160" ] || fail "the window is $size, not the screen's 3840x2160"
shot title
awk "BEGIN { exit !($(mean_in title 1024x768+2816+1392) > 0.02) }" ||
  fail "the title does not reach the screen's lower right corner"

press space
sleep 0.3
shot loaded
# The layout's status line is 10 rows above the bottom of 768: 20 rows above 2160 at scale 2.
[ "$(white_in loaded 800x16+1520+2140)" -gt 40 ] || fail "no status line at the bottom"
sleep 1
press_until Return '[ "$(shot running; white_in running 440x280+0+0)" -gt 800 ]' ||
  fail "no panel text in the top left corner"
press_until g '[ "$(shot running; pixel running 3825 2000)" = "90,140,100" ]' ||
  fail "no graph frame at the lower right"
[ "$(pixel running 3824 2000)" = "90,140,100" ] || fail "the graph's frame is one pixel wide"
[ -z "${LUMORA_SCREENSHOT:-}" ] || cp "$WORK/running.png" "$LUMORA_SCREENSHOT"

press Escape
expect_exit 0 "after ESC"
echo "PASS"
