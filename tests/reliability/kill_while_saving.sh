#!/usr/bin/env bash
# Kills lumora-sim with SIGKILL at random moments while it saves the settings file over and
# over, and checks after every kill that "lmr.sav" is exactly 200 valid lines of one whole save.
#
#   kill_while_saving.sh LUMORA_SIM ASSETS_DIR [ROUNDS] [SEED]
#
# Each round starts from a new random table. The input script opens the panel, selects the
# target-swarm row and then holds S and RIGHT: every 10 frames the table is saved and then
# swarm 1's target is raised by one, so consecutive saves differ in that one value and every
# other line must stay as the round began.
set -euo pipefail
sim="$(realpath "$1")"
assets="$(realpath "$2")"
rounds="${3:-40}"
seed="${4:-$$}"
RANDOM=$seed

work="$(mktemp -d)"
pid=""
cleanup() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"

fail() {
  echo "FAIL (seed $seed, round $round): $*" >&2
  echo "lmr.sav has $(wc -l <lmr.sav) lines; the first ones:" >&2
  head -n 5 lmr.sav >&2 || true
  exit 1
}

cat >input.txt <<'SCRIPT'
0 - 0 0 0
11 ENTER 0 0 0
12 - 0 0 0
21 UP 0 0 0
22 - 0 0 0
31 S,RIGHT 0 0 0
SCRIPT

# Record s takes lines 20 * s + 1 to 20 * s + 20; the fields' places are the program's.
position_of() { "$sim" --fields | awk -v name="$1" '$2 == name { print $1 }'; }
TARGET_LINE=$((20 + $(position_of target_swarm) + 1))
POPULATION_PLACE=$(($(position_of population) + 1))
saved_rounds=0
torn_rounds=0
for ((round = 1; round <= rounds; round++)); do
  # A random table with no fireflies: every population is 0.
  start=()
  for ((line = 1; line <= 200; line++)); do
    if ((line % 20 == POPULATION_PLACE)); then
      start+=(0)
    else
      start+=($((RANDOM * 32768 + RANDOM - (RANDOM % 2) * 1073741824)))
    fi
  done
  printf '%s\n' "${start[@]}" >lmr.sav
  first_target=${start[TARGET_LINE - 1]}

  "$sim" --assets "$assets" --settings lmr.sav --input input.txt --frames 1000000000 \
    --no-draw >out.txt 2>err.txt &
  pid=$!
  # One kill in four comes at any moment from the start; the others wait until the saves have
  # begun (swarm 1's target has changed), however slow the machine, and then come at a random moment.
  if ((RANDOM % 4 != 0)); then
    for ((wait = 0; wait < 3000; wait++)); do
      [ "$(sed -n "${TARGET_LINE}p" lmr.sav)" != "$first_target" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.01
    done
  fi
  sleep "0.$((RANDOM % 10))$((RANDOM % 10))"
  kill -0 "$pid" 2>/dev/null || { cat err.txt >&2; fail "lumora-sim ended before it was killed"; }
  kill -KILL "$pid"
  status=0
  wait "$pid" 2>/dev/null || status=$?
  pid=""
  [ "$status" -eq 137 ] || fail "lumora-sim ended with status $status, not by the kill"

  [ -f lmr.sav ] || fail "lmr.sav is gone"
  [ -z "$(tail -c 1 lmr.sav)" ] || fail "lmr.sav does not end with a line end"
  mapfile -t now <lmr.sav
  [ "${#now[@]}" -eq 200 ] || fail "lmr.sav has ${#now[@]} lines, not 200"
  for ((i = 0; i < 200; i++)); do
    [[ "${now[i]}" =~ ^-?[0-9]+$ ]] || fail "line $((i + 1)) is not a whole number: '${now[i]}'"
    if ((i + 1 != TARGET_LINE)) && [ "${now[i]}" != "${start[i]}" ]; then
      fail "line $((i + 1)) is ${now[i]}, but no save wrote anything but ${start[i]} there"
    fi
  done
  raised=$((now[TARGET_LINE - 1] - first_target))
  ((raised >= 0)) || fail "line $TARGET_LINE went down to ${now[TARGET_LINE - 1]}"
  ((raised > 0)) && saved_rounds=$((saved_rounds + 1))
  # A kill during a save leaves its temporary file lmr.sav.tmp-PID-N; the next round's first
  # save must clear it, so there is never more than the one of this round's kill.
  leftovers=(lmr.sav.tmp*)
  [ -e "${leftovers[0]}" ] || leftovers=()
  ((${#leftovers[@]} <= 1)) || fail "temporary files pile up: ${leftovers[*]}"
  ((${#leftovers[@]} == 1)) && torn_rounds=$((torn_rounds + 1))
done

echo "$rounds kills (seed $seed): $saved_rounds after one or more saves, $torn_rounds left a temporary file"
# Without saves before the kills the test would prove nothing.
((saved_rounds * 2 >= rounds)) || { echo "FAIL: too few rounds saved before the kill" >&2; exit 1; }
echo "PASS"
