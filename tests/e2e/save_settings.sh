#!/usr/bin/env bash
# Without a settings file the program starts empty; S writes a file of exactly 200 lines.
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
[ -e "$WORK/lmr.sav.tmp" ] && fail "a temporary file was left behind"
echo "PASS"
