#!/usr/bin/env bash
# The title shows and ESC there ends the program with status 0; started again, SPACE starts,
# the status line shows the start-up load, and ESC ends the program with status 0.
source "$(dirname "$0")/lib.sh" "$@"
start_display
prepare_workdir
open_title
shot title
awk "BEGIN { exit !($(mean_in title 1024x768+0+0) > 0.05) }" || fail "the title screen is black"

press Escape
expect_exit 0 "after ESC on the title screen"

open_title

press space
sleep 0.3
shot running
[ "$(white_in running 300x10+362+758)" -gt 20 ] || fail "no status line at the bottom"
[ "$(white_in title 300x10+362+758)" -lt "$(white_in running 300x10+362+758)" ] || fail "status line not drawn"

press Escape
expect_exit 0 "after ESC"
echo "PASS"
