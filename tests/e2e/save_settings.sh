#!/usr/bin/env bash
# Without a settings file the program starts empty; S writes a file of exactly 200 lines. A FIFO
# as the settings file neither freezes start-up nor L: loading fails at once, and S leaves it.
source "$(dirname "$0")/lib.sh" "$@"
start_display
prepare_workdir
rm "$WORK/lmr.sav"
open_title
enter_loop
sleep 0.3
press s
press Escape
expect_exit 0 "ESC after saving"
[ -f "$WORK/lmr.sav" ] || fail "S wrote no lmr.sav"
[ "$(wc -l <"$WORK/lmr.sav")" = 200 ] || fail "lmr.sav does not have 200 lines"
grep -qvx '0' "$WORK/lmr.sav" && fail "a failed start-up load left values in the table"
compgen -G "$WORK/lmr.sav.tmp*" >/dev/null && fail "a temporary file was left behind"

rm "$WORK/lmr.sav"
mkfifo "$WORK/lmr.sav"
open_title
enter_loop
press l
press s
press Escape
expect_exit 0 "ESC with a FIFO as lmr.sav"
[ -p "$WORK/lmr.sav" ] || fail "a save replaced the FIFO"
echo "PASS"
