#!/usr/bin/env bash
# The plotting scripts draw what the guides show: a run's statistics as a panel per swarm (three
# to a row, in the run's colours), a sweep against one field and a sweep over two as a map.
# Usage: plots.sh PROGRAM_DIR SOURCE_DIR
set -euo pipefail
bin="$1"
src="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v gnuplot >/dev/null || { echo "SKIP: gnuplot is missing"; exit 0; }
size() { identify -format '%wx%h' "$1"; }

cd "$work"
cp "$src/assets/lmr.sav" .
"$bin/lumora-sim" --assets "$src/assets" --frames 300 --no-draw --stats all.csv >/dev/null
LUMORA_SIM="$bin/lumora-sim" "$src/scripts/plot" all.csv all.png lmr.sav
[ "$(size all.png)" = 900x700 ] || fail "nine swarms: $(size all.png), not three rows of three"
"$src/scripts/sync-times" all.csv >times.txt
[ "$(wc -l <times.txt)" = 10 ] || fail "sync-times: $(cat times.txt)"
awk 'NR > 1 && $4 !~ /^([0-9]+|never)$/ { exit 1 }' times.txt || fail "sync-times: $(cat times.txt)"
! "$src/scripts/plot" lmr.sav bad.png 2>/dev/null || fail "plot took a settings file for a table"

printf 'settings lmr.sav\nframes 30\nvary 1-2 field_of_view 10 90 170\nvary all communication 0 1500\n' >two.txt
"$bin/lumora-sweep" two.txt --assets "$src/assets" --jobs 2 --out two.csv
"$src/scripts/plot-sweep" two.csv communication one.png >/dev/null
"$src/scripts/plot-sweep" two.csv field_of_view communication map.png >/dev/null
[ "$(size one.png)" = 900x600 ] && [ "$(size map.png)" = 1100x520 ] || fail "sweep plots"
! "$src/scripts/plot-sweep" two.csv target_swarm x.png 2>/dev/null || fail "an unswept field plotted"
echo PASS
