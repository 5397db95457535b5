#!/usr/bin/env bash
# The committed media, icons, default settings and presets are exactly what the generator
# makes: every file it writes is committed, every committed one is written, and each pair is
# equal byte for byte.
# Usage: regenerate.sh MAKE_ASSETS ASSETS_DIR
set -u
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$1" "$work" || { echo "FAIL: the generator ended with status $?" >&2; exit 1; }
fail=0
for committed in "$2"/*.bmp "$2"/*.pcx "$2"/*.sav "$2"/icons/* "$2"/presets/*.sav; do
  name="${committed#"$2"/}"
  if [ ! -f "$work/$name" ]; then
    echo "FAIL: $name is committed but not made" >&2; fail=1
  elif ! cmp -s "$committed" "$work/$name"; then
    echo "FAIL: $name differs from what the generator makes" >&2; fail=1
  fi
done
while IFS= read -r made; do
  name="${made#"$work"/}"
  [ -f "$2/$name" ] || { echo "FAIL: $name is made but not committed" >&2; fail=1; }
done < <(find "$work" -type f)
[ "$fail" = 0 ] && echo PASS
exit "$fail"
