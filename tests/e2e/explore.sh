#!/usr/bin/env bash
# Exploring in the window: paused, R gives random swarms, X mutates swarm 1, Z undoes it and N
# flies one frame; F12 and F9 keep the picture and the replay, and lumora-sim plays the replay
# again into the same picture, byte for byte.
source "$(dirname "$0")/lib.sh" "$@"
start_display
prepare_workdir

FIELD=1024x740+0+0  # the picture above the status line
# The picture changes after a key while the flight stands still.
changes_after() {  # KEY
  shot before
  press_until "$1" 'shot after; [ "$(differ_in before after "$FIELD")" != 0 ]'
}

open_title
enter_loop
press_until p 'shot a; sleep 0.5; shot b; [ "$(differ_in a b "$FIELD")" = 0 ]' ||
  fail "P did not pause the flight"
changes_after r || fail "R changed nothing"
changes_after x || fail "X changed nothing"
changes_after z || fail "Z changed nothing"
changes_after n || fail "N flew no frame"
press_until F12 '[ -s "$WORK/lumora-0001.png" ]' || fail "F12 kept no picture"
press_until F9 '[ -s "$WORK/lumora-0001.replay" ]' || fail "F9 kept no replay"
sleep 0.3
press Escape
expect_exit 0 "ESC"

replay="$WORK/lumora-0001.replay"
head -n1 "$replay" | grep -qx 'lumora-replay 3' || fail "the replay is not of version 3"
grep -q '^explore [0-9]* ok 100 random swarms$' "$replay" || fail "the replay holds no random swarms"
grep -q '^explore [0-9]* ok 100 mutated swarm 1$' "$replay" || fail "the replay holds no mutation"
grep -q '^[0-9]* Z ' "$replay" || fail "the replay holds no Z"
grep -q '^[0-9]* N ' "$replay" || fail "the replay holds no N"
"$BIN_DIR/lumora-sim" --assets "$WORK" --replay "$replay" --pictures-dir "$WORK/again" \
  >"$WORK/sim.log" 2>&1 || fail "lumora-sim could not play the replay: $(cat "$WORK/sim.log")"
cmp "$WORK/lumora-0001.png" "$WORK/again/lumora-0001.png" || fail "the picture played again differs"
echo "PASS"
