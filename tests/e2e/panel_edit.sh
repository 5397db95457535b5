#!/usr/bin/env bash
# A newcomer's session: ENTER shows the panel, RIGHT raises the population, UP and RIGHT
# change the target swarm, S saves; after a restart the panel shows the saved target.
source "$(dirname "$0")/lib.sh" "$@"
start_display
prepare_workdir
open_title
enter_loop
press_until Return 'shot panel; [ "$(pixel panel 190 15)" = "100,100,100" ]' || fail "no highlight bar on the first panel row"

population_line="$(field_line population 1)"
target_line="$(field_line target_swarm 1)"
# How far a press moves a value depends on how many frames saw it: the saved file, compared
# with what stood there before, tells what the keys did.
population="$(settings_line "$population_line")"
press Right
press_until s '[ "$(settings_line "$population_line")" -gt "$population" ]' || fail "RIGHT and S did not save a larger population"

target="$(settings_line "$target_line")"
before="$(cat "$WORK/lmr.sav")"
press Up
press Right
press_until s '! [ "$(cat "$WORK/lmr.sav")" = "$before" ]' || fail "UP, RIGHT and S saved nothing new"
[ "$(settings_line "$target_line")" -gt "$target" ] || fail "the target swarm was not raised and saved"
new_target="$(settings_line "$target_line")"
press Escape
expect_exit 0 "ESC after saving"

open_title
enter_loop
press_until Return 'shot restarted; [ "$(pixel restarted 190 15)" = "100,100,100" ]' || fail "no panel after the restart"
expected="$(settings_line "$(field_line red "$new_target")"),$(settings_line "$(field_line green "$new_target")"),$(settings_line "$(field_line blue "$new_target")")"
[ "$(pixel restarted 210 70)" = "$expected" ] || fail "target box is $(pixel restarted 210 70), expected $expected"
cp "$WORK/restarted.png" "${LUMORA_E2E_SHOTS:-$WORK}/panel.png" 2>/dev/null || true
press Escape
expect_exit 0 "ESC after the restart"
echo "PASS"
