#!/usr/bin/env bash
# G shows the synchrony graph at the lower right and F1 the help in the middle; F12 keeps the
# picture with both beside lmr.sav; a number key loads its preset, which S then saves.
source "$(dirname "$0")/lib.sh" "$@"
start_display
prepare_workdir
mkdir "$WORK/presets"
population_line="$(field_line population 1)"
sed "${population_line}s/.*/5/" "$WORK/lmr.sav" >"$WORK/presets/2-five-red.sav"
keep() { cp "$WORK/$1.png" "${LUMORA_E2E_SHOTS:-$WORK}/$1.png" 2>/dev/null || true; }
rim="90,140,100"


open_title
shot title
keep title
enter_loop
shot plain
[ "$(pixel plain 589 680)" != "$rim" ] || fail "a graph frame before G was pressed"

press_until g 'shot graph; [ "$(pixel graph 589 680)" = "$rim" ]' || fail "G drew no graph box"
[ "$(differ_in plain graph 428x142+589+607)" -gt 5000 ] || fail "the graph box looks like the fireflies"
keep graph

press_until F1 'shot help; [ "$(pixel help 292 380)" = "$rim" ]' || fail "F1 drew no help box"
keep help

press_until F12 '[ -s "$WORK/lumora-0001.png" ]' || fail "F12 kept no picture beside lmr.sav"
[ "$(identify -format '%wx%h' "$WORK/lumora-0001.png")" = "1024x768" ] || fail "the kept picture is not 1024x768"
[ "$(pixel lumora-0001 589 680)" = "$rim" ] || fail "the kept picture has no graph"
[ "$(pixel lumora-0001 292 380)" = "$rim" ] || fail "the kept picture has no help"

press_until F1 'shot hidden; [ "$(pixel hidden 292 380)" != "$rim" ]' || fail "F1 did not hide the help"
press_until g 'shot hidden; [ "$(pixel hidden 589 680)" != "$rim" ]' || fail "G did not hide the graph"

# The preset shows in what S saves; both presses are tried again if either went unseen.
for _ in 1 2 3; do
  press 2
  press s
  sleep 0.3
  [ "$(settings_line "$population_line")" = 5 ] && break
done
[ "$(settings_line "$population_line")" = 5 ] || fail "2 did not load the preset that S saves"
cmp -s "$WORK/lmr.sav" "$WORK/presets/2-five-red.sav" || fail "the saved table is not the preset"
press Escape
expect_exit 0 "ESC"
echo "PASS"
