#!/usr/bin/env bash
# scripts/run without a display returns within a minute and names a picture and a video that
# exist; on a machine with nothing installed it asks only for what building, running and the
# video need: no scheduler, compiler for fuzzing, package checker, plotter or GNU parallel.
# A build with the sanitizers runs its lumora-sim several times slower and is given LIMIT
# seconds instead.
# Usage: run_without_display.sh RUN_DIR SOURCE_DIR [LIMIT]
set -euo pipefail
run_dir=$1 source_dir=$2 limit=${3:-60}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; cat "$work/out" >&2 2>/dev/null || true; exit 1; }

# A runner of its own beside its media, so the run's files land in the test's folder.
mkdir "$work/run" "$work/bin"
cp "$run_dir/lumora-sim" "$run_dir"/*.bmp "$run_dir"/*.pcx "$work/run/"
# A machine where nothing is installed: every package is missing, and what apt-get is asked to
# install is written down instead.
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query"
printf '#!/bin/sh\n[ "$1" = install ] && echo "$@" >>"%s/asked"\nexit 0\n' "$work" >"$work/bin/apt-get"
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin"/*

start=$SECONDS
env -u DISPLAY PATH="$work/bin:$PATH" LUMORA_SIM="$work/run/lumora-sim" \
  timeout "$limit" "$source_dir/scripts/run" >"$work/out" 2>&1 ||
  fail "scripts/run failed or took over $limit s"
echo "scripts/run took $((SECONDS - start)) s"
grep -q "No display" "$work/out" || fail "it does not say that there is no display"
for name in first-run.png first-run.mp4; do
  grep -q "$work/run/$name" "$work/out" || fail "it does not name $name"
  [ -s "$work/run/$name" ] || fail "$name is missing or empty"
done
[ "$(ls -A "$work/run" | grep -c '^\.')" = 0 ] || fail "it left hidden files behind"

[ -s "$work/asked" ] || fail "nothing was asked to be installed"
grep -q liballegro4-dev "$work/asked" || fail "the game library was not asked for"
for package in slurm-wlm munge clang lintian parallel gnuplot-nox xvfb; do
  grep -qw -- "$package" "$work/asked" && fail "scripts/run installs $package"
done
echo PASS
