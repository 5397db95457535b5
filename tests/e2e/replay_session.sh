#!/usr/bin/env bash
# A session played live with the panel, a population edit, P, D, a preset, L, every mouse tool
# and F12 twice, kept with F9; lumora-sim plays the replay again and writes the same pictures,
# byte for byte, without touching the settings file.
source "$(dirname "$0")/lib.sh" "$@"
start_display
prepare_workdir
mkdir "$WORK/presets"
population_line="$(field_line population 1)"
sed "${population_line}s/.*/40/" "$WORK/lmr.sav" >"$WORK/presets/2-fewer-red.sav"

# Holds the left button while the mouse moves from one point to another.
drag() {
  xdotool mousemove "$1" "$2" mousedown 1
  sleep 0.3
  xdotool mousemove "$3" "$4"
  sleep 0.3
  xdotool mouseup 1
  sleep 0.2
}
next_tool() {
  xdotool mousedown 3
  sleep 0.1
  xdotool mouseup 3
  sleep 0.3
}

open_title
enter_loop
press Return
press Right
press p
press p
press d
press 2
press l
drag 300 300 420 340  # the lure
for _ in 1 2 3 4; do  # repel, attract, both swirls
  next_tool
  drag 500 400 560 380
done
press_until F12 '[ -s "$WORK/lumora-0001.png" ]' || fail "F12 kept no picture"
press_until F12 '[ -s "$WORK/lumora-0002.png" ]' || fail "F12 kept no second picture"
press_until F9 '[ -s "$WORK/lumora-0001.replay" ]' || fail "F9 kept no replay"
sleep 0.3
press Escape
expect_exit 0 "ESC"

replay="$WORK/lumora-0001.replay"
grep -q '^picture .* lumora-0002.png ' "$replay" || fail "the replay holds no second picture"
grep -q '^load ' "$replay" || fail "the replay holds no load"
[ "$(grep -c '^[0-9]* [^ ]* [^ ]* [^ ]* [2-3]$' "$replay")" -ge 4 ] || fail "the replay holds no right clicks"
cp "$WORK/lmr.sav" "$WORK/kept.sav"
rm -r "$WORK/presets"
"$BIN_DIR/lumora-sim" --assets "$WORK" --replay "$replay" --pictures-dir "$WORK/again" \
  >"$WORK/sim.log" 2>&1 || fail "lumora-sim could not play the replay: $(cat "$WORK/sim.log")"
for kept in "$WORK"/lumora-*.png; do
  cmp "$kept" "$WORK/again/$(basename "$kept")" || fail "$(basename "$kept") played again differs"
done
[ "$(ls "$WORK/again" | wc -l)" = "$(ls "$WORK"/lumora-*.png | wc -l)" ] || fail "the replay wrote other pictures"
cmp -s "$WORK/lmr.sav" "$WORK/kept.sav" || fail "playing the replay changed the settings file"
echo "PASS"
