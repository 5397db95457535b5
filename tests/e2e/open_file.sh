#!/usr/bin/env bash
# lumora FILE opens a settings file, a picture F12 kept and a replay F9 kept: a picture the
# window keeps then carries the swarms of the settings file or the picture, and one kept while
# the replay plays carries the replay's seed and is lumora-sim's picture of that frame. A file that is none of them, and a picture without
# swarms, open no window: a message box names the file, and the program ends with status 1.
source "$(dirname "$0")/lib.sh" "$@"
start_display
prepare_workdir
# A picture and a replay of a session with an edited table.
printf '0 - 500 400 0\n11 ENTER 500 400 0\n12 - 500 400 0\n21 6_PAD 500 400 0\n22 - 500 400 0\n31 F12 500 400 0\n32 - 500 400 0\n41 F9 500 400 0\n42 - 500 400 0\n' \
  >"$WORK/in.txt"
(cd "$WORK" && "$BIN_DIR/lumora-sim" --seed 4242 --frames 42 --input in.txt --shot plain.png) \
  >"$WORK/sim.log" 2>&1 || fail "lumora-sim: $(cat "$WORK/sim.log")"
mkdir "$WORK/given"
mv "$WORK/lumora-0001.png" "$WORK/given/picture.png"
mv "$WORK/lumora-0001.replay" "$WORK/given/session.replay"
awk 'NR == 31 { $1 = 77 } { print }' "$WORK/lmr.sav" >"$WORK/given/other.sav"

swarm_lines() { identify -format '%[lumora-swarms]' "$1" | grep '^swarm '; }
settings_as_lines() {
  awk '{ v[NR - 1] = $1 } END { for (r = 0; r < 10; r++) { printf "swarm %d", r
    for (f = 0; f < 20; f++) printf " %d", v[r * 20 + f]; print "" } }' "$1"
}

# Opens FILE, starts, keeps a picture with F12 and leaves; the picture is lumora-NNNN.png.
open_and_keep() {  # FILE NNNN
  open_title lumora "$1"
  enter_loop
  press_until F12 "[ -s '$WORK/lumora-$2.png' ]" || fail "$1: F12 kept no picture"
  press Escape
  expect_exit 0 "$1: ESC"
}
open_and_keep given/other.sav 0001
[ "$(swarm_lines "$WORK/lumora-0001.png")" = "$(settings_as_lines "$WORK/given/other.sav")" ] ||
  fail "the settings file's swarms were not the ones flying"
open_and_keep given/picture.png 0002
[ "$(swarm_lines "$WORK/lumora-0002.png")" = "$(swarm_lines "$WORK/given/picture.png")" ] ||
  fail "the picture's swarms were not the ones flying"
[ "$(swarm_lines "$WORK/lumora-0002.png")" != "$(settings_as_lines "$WORK/lmr.sav")" ] ||
  fail "the picture's swarms are those of lmr.sav: nothing was edited"
open_and_keep given/session.replay 0003
identify -format '%[lumora-swarms]' "$WORK/lumora-0003.png" | grep -qx 'seed 4242' ||
  fail "the picture kept while the replay played is not of the replay"
# The window played the replay as lumora-sim plays it: the same picture at the same frame.
frame="$(identify -format '%[lumora-swarms]' "$WORK/lumora-0003.png" | awk '$1 == "frame" { print $2 }')"
(cd "$WORK" && "$BIN_DIR/lumora-sim" --replay given/session.replay --frames "$frame" --shot again.png) \
  >"$WORK/sim.log" 2>&1 || fail "lumora-sim --replay: $(cat "$WORK/sim.log")"
[ "$(compare -metric AE "$WORK/again.png" "$WORK/lumora-0003.png" null: 2>&1)" = 0 ] ||
  fail "the window's replay at frame $frame is not lumora-sim's"

echo 'not swarms' >"$WORK/bad.txt"
for bad in bad.txt plain.png; do
  start_app lumora "$bad"
  found=""
  for _ in $(seq 100); do
    pid="$(pgrep -f "xmessage.*$bad" | head -n1 || true)"
    if [ -n "$pid" ]; then found=yes; kill "$pid"; break; fi
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$found" ] || fail "no message box named $bad"
  expect_exit 1 "$bad"
done
grep -q "plain.png: the picture holds no swarms" "$WORK/app.log" || fail "no word on plain.png"
echo "PASS"
