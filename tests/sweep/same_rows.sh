#!/usr/bin/env bash
# One sweep spread over its runs in every way lumora-sweep offers gives the same rows: one run
# at a time, two at a time, two shards merged, GNU parallel running one run a job (through an
# sshlogin file that names this machine, so no ssh is needed), and a sweep killed with SIGKILL
# and resumed. A broken sweep file and missing media fail the way the README says. Progress
# shows on a terminal only.
#
#   same_rows.sh LUMORA_SWEEP ASSETS_DIR
set -euo pipefail
sweep="$(realpath "$1")"
assets="$(realpath "$2")"
command -v parallel >/dev/null || { echo "FAIL: GNU parallel is missing (scripts/install-deps test)" >&2; exit 1; }

work="$(mktemp -d)"
pid=""
cleanup() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

cp "$assets/lmr.sav" base.sav
cat >s.txt <<'SWEEP'
# 12 runs of small swarms
settings base.sav
frames 200
repetitions 2
vary all population 40 80
vary 1-9 communication 500:2500:1000
SWEEP
run_sweep() { "$sweep" s.txt --assets "$assets" "$@"; }
merge() { sort -s -t, -k1,1n; }  # by run; a run's rows keep their order

# One run at a time writes the runs in order: the reference. In the sanitizer build the leak
# check runs for it, whatever the caller's options say: a sweep frees what it made.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=1" run_sweep --jobs 1 --out one.csv
[ "$(wc -l <one.csv)" -eq $((1 + 12 * 9)) ] || fail "one.csv has $(wc -l <one.csv) lines"
header="$(head -n 1 one.csv)"
[ "$header" = "run,repetition,seed,all.population,s1-9.communication,swarm,population,final_order,mean_order,sync_frame,sweep" ] ||
  fail "header: $header"
cmp -s <(run_sweep --header) <(head -n 1 one.csv) || fail "--header differs from the table's"

run_sweep --jobs 2 --out two.csv 2>err.txt
cmp -s <(head -n 1 two.csv; tail -n +2 two.csv | merge) one.csv || fail "--jobs 2 differs"
[ ! -s err.txt ] || fail "the sweep talks when its standard error is no terminal: $(cat err.txt)"
# On a terminal it shows the runs done and the time left.
script -qec "'$sweep' s.txt --assets '$assets' --jobs 2 --shard 0/2 --out tty.csv" /dev/null >tty.txt ||
  fail "the sweep on a terminal: $(cat tty.txt)"
grep -q "6 of 6 runs, 0 s left" tty.txt || fail "no progress on a terminal: $(cat tty.txt)"

run_sweep --shard 0/2 --out part0.csv
run_sweep --shard 1/2 --out part1.csv
cmp -s <(head -n 1 part0.csv; tail -q -n +2 part0.csv part1.csv | merge) one.csv ||
  fail "two shards merged differ"

echo "2/:" >hosts.txt
{
  "$sweep" s.txt --header
  "$sweep" s.txt --plan | parallel --will-cite --sshloginfile hosts.txt --halt soon,fail=1 \
    "$sweep" s.txt --assets "$assets" --run {} | merge
} >parallel.csv
cmp -s parallel.csv one.csv || fail "GNU parallel over --plan and --run differs"

# SIGKILL once a few runs are in, then resume.
"$sweep" s.txt --assets "$assets" --jobs 2 --out killed.csv &
pid=$!
lines() { if [ -e "$1" ]; then wc -l <"$1"; else echo 0; fi; }
for ((wait = 0; wait < 3000; wait++)); do
  (($(lines killed.csv) >= 1 + 2 * 9)) && break
  sleep 0.01
done
children="$(pgrep -P "$pid" || true)"
kill -KILL "$pid"
status=0
wait "$pid" 2>/dev/null || status=$?
pid=""
[ "$status" -eq 137 ] || fail "the sweep ended with status $status before the kill"
for child in $children; do
  for ((wait = 0; wait < 500; wait++)); do
    kill -0 "$child" 2>/dev/null || continue 2
    sleep 0.01
  done
  fail "run process $child outlived the killed sweep"
done
kept=$(($(wc -l <killed.csv) - 1))
((kept % 9 == 0 && kept < 12 * 9)) || fail "after the kill the table has $kept rows"
awk -F, 'NR > 1 && ($6 != (NR - 2) % 9 + 1 || (($6 > 1) && $1 != run)) { exit 1 } { run = $1 }' killed.csv ||
  fail "after the kill the table holds part of a run"
run_sweep --jobs 2 --out killed.csv --resume
cmp -s <(head -n 1 killed.csv; tail -n +2 killed.csv | merge) one.csv || fail "killed and resumed differs"

# Broken input: nothing runs and no table is written. Missing media: exit 1 naming the file,
# before any table is written; a run alone (--run, as parallel starts it) names its number.
printf 'settings base.sav\nvary 1 speed 3\n' >bad.txt
status=0
"$sweep" bad.txt --out bad.csv 2>err.txt || status=$?
if [ "$status" -ne 2 ] || ! grep -q "^bad.txt:2: unknown field 'speed'" err.txt || [ -e bad.csv ]; then
  fail "a broken sweep file gave status $status: $(cat err.txt)"
fi
status=0
"$sweep" s.txt --assets "$work/none" --jobs 2 --out missing.csv 2>err.txt || status=$?
if [ "$status" -ne 1 ] || [ -e missing.csv ] ||
  ! grep -q '^lumora-sweep cannot start: the file "myfont.pcx" is missing' err.txt; then
  fail "missing media gave status $status: $(cat err.txt)"
fi
status=0
"$sweep" s.txt --assets "$work/none" --run 3 >missing.csv 2>err.txt || status=$?
if [ "$status" -ne 1 ] || [ -s missing.csv ] ||
  ! grep -q '^lumora-sweep: run 3 failed: the file "myfont.pcx" is missing' err.txt; then
  fail "missing media for one run gave status $status: $(cat err.txt)"
fi
echo "PASS"
