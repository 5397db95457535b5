#!/usr/bin/env bash
# With the plain wait (LUMORA_PLAIN_EVENTS=1), where the library's own thread fetches the
# window's events, keys reach the program (ENTER shows the panel, S saves), the close button
# ends it on the title screen and in the frame loop, and ESC ends it. Which way fetches the
# events shows in the wake-ups of the threads beside the main one: the library's thread wakes
# every millisecond while it fetches, and the takeover holds it still, leaving the frame
# timer's 60 a second.
source "$(dirname "$0")/lib.sh" "$@"
start_display
prepare_workdir

switches() { awk '/^(non)?voluntary_ctxt_switches/ { n += $2 } END { print n }' "$@"; }
helpers_switches() {
  echo $(($(switches /proc/"$APP_PID"/task/*/status) - $(switches "/proc/$APP_PID/task/$APP_PID/status")))
}
# Wake-ups in one second of every thread of the program but the main one.
helper_wakeups() {
  local before
  before="$(helpers_switches)"
  sleep 1
  echo $(($(helpers_switches) - before))
}

open_title
taken_over="$(helper_wakeups)"
"$SEND_CLOSE" "$(wait_window)"
expect_exit 0 "closing on the title screen, events taken over"
[ "$taken_over" -lt 300 ] || fail "the library's thread woke $taken_over times a second: no takeover"

export LUMORA_PLAIN_EVENTS=1
open_title
plain="$(helper_wakeups)"
[ "$plain" -ge 300 ] || fail "the library's thread woke $plain times a second: not the plain wait"
"$SEND_CLOSE" "$(wait_window)"
expect_exit 0 "closing on the title screen"

open_title
enter_loop
press_until Return 'shot panel; [ "$(pixel panel 190 15)" = "100,100,100" ]' || fail "ENTER did not show the panel"
# A save replaces the file, so a new one stands there.
made="$(stat -c %i "$WORK/lmr.sav")"
press_until s '[ "$(stat -c %i "$WORK/lmr.sav")" != "$made" ]' || fail "S did not save"
"$SEND_CLOSE" "$(wait_window)"
expect_exit 0 "closing in the frame loop"

open_title
enter_loop
press Escape
expect_exit 0 "ESC in the frame loop"
echo "PASS (helper threads' wake-ups a second: $taken_over taken over, $plain plain)"
