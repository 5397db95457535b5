#!/usr/bin/env bash
# OSC between lumora and liblo's own tools on the loopback address: oscdump reads one bundle
# of every frame of lumora-sim playing along in real time, and oscsend's commands act; an
# address that cannot be used ends lumora and lumora-sim with exit status 2 before anything
# runs, without a display.
# Usage: liblo_tools.sh RUN_DIR ASSETS_DIR
set -euo pipefail
run="$1"
assets="$2"
work="$(mktemp -d)"
dump_pid=""
cleanup() {
  [ -n "$dump_pid" ] && kill "$dump_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
cd "$work"
cp "$assets/lmr.sav" .

# Two ports at random in the dynamic range, one for each direction.
out_port=$((49152 + RANDOM % 8000))
in_port=$((out_port + 8000))
oscdump -L "$out_port" >dump.txt 2>dump.err &
dump_pid=$!
sleep 0.5
# The command is sent while the run goes on: 90 frames at 60 a second.
(sleep 0.6; oscsend 127.0.0.1 "$in_port" /lumora/swarm/4/population i 7 \
  && oscsend 127.0.0.1 "$in_port" /lumora/pause s yes) &
sender=$!
"$run/lumora-sim" --assets "$assets" --no-draw --frames 90 --osc-out "127.0.0.1:$out_port" \
  --osc-in "$in_port" --trace trace.txt >out.txt 2>err.txt || fail "lumora-sim: $(cat err.txt)"
wait "$sender" || fail "oscsend failed"
sleep 0.3
kill "$dump_pid"
wait "$dump_pid" 2>/dev/null || true
dump_pid=""

frames="$(awk '$2 == "/lumora/frame" { printf "%s ", $4 }' dump.txt)"
[ "$frames" = "$(seq -s ' ' 1 90) " ] || fail "oscdump did not get frames 1 to 90 in order: $frames"
[ "$(awk '$2 == "/lumora/swarm"' dump.txt | wc -l)" -eq $((90 * 9)) ] ||
  fail "not nine swarms a frame"
awk '$2 == "/lumora/flash" && $3 == "ifff" { n++ } END { exit n > 1000 ? 0 : 1 }' dump.txt ||
  fail "too few flashes"
grep -q "osc in: 1 commands acted, 1 bad messages ignored" err.txt ||
  fail "the command and the bad message were not counted: $(cat err.txt)"
awk '$1 == "s" && $3 == 4 && $14 == 7 { found = 1 } END { exit !found }' trace.txt ||
  fail "swarm 4's population was not set"

# An address that cannot be used: a message and exit status 2, before any window.
check_refused() {  # WHAT EXPECTED_TEXT PROGRAM ARGS...
  local what="$1" text="$2" status=0
  shift 2
  env -u DISPLAY "$@" >refused.out 2>refused.err || status=$?
  [ "$status" -eq 2 ] || fail "$what: exit status $status, not 2"
  grep -q -- "$text" refused.err || fail "$what: no message '$text': $(cat refused.err)"
}
check_refused "a host that does not resolve" "--osc-out 'no-such-host.invalid:9000'" \
  "$run/lumora" --osc-out no-such-host.invalid:9000
check_refused "a port out of range" "the port is not a number" \
  "$run/lumora-fullscreen" --osc-in 70000
oscdump "$in_port" >/dev/null 2>&1 &
dump_pid=$!
sleep 0.5
check_refused "a port in use" "cannot listen there" "$run/lumora" --osc-in "$in_port"
check_refused "a port in use" "cannot listen there" \
  "$run/lumora-sim" --assets "$assets" --frames 1 --osc-in "$in_port"

[ "$failures" -eq 0 ] && echo "liblo tools: all checks passed"
exit $((failures > 0))
