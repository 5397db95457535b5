#!/usr/bin/env bash
# The Debian package: built in the package's own build folder (build-package/, with Debian's
# hardening flags), cpack makes lumora_VERSION_ARCH.deb with a maintainer, section games, a
# description and the shared libraries' packages as dependencies, holding the installed tree
# under /usr with the programs in /usr/games, a copyright file and a changelog; lintian, when it
# is installed, finds no error and no warning. Unpacked into a temporary root (never installed
# on the system), its runner finds its own media and settings there.
# Usage: package.sh SOURCE_DIR VERSION APP_ID
set -euo pipefail
src="$1"
version="$2"
id="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$src/scripts/lib/build.sh" build-package >"$work/build.log" 2>&1 ||
  { tail -30 "$work/build.log" >&2; fail "building build-package failed"; }
(cd "$src/build-package" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb="$work/out/lumora_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb") in: $(ls "$work/out")"
dpkg-deb -I "$deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = lumora ] || fail "package name"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
[ "$(field Section)" = games ] || fail "section $(field Section)"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "maintainer $(field Maintainer)"
[ "$(field Description | wc -l)" -gt 2 ] || fail "no long description"
[ "$(field Description | awk 'length > 80' | wc -l)" = 0 ] || fail "a description line is too long"
depends="$(field Depends)"
for lib in liballegro4.4 libc6 libpng16-16 libstdc++6; do
  [[ ", $depends" == *", $lib ("* ]] || fail "Depends lacks $lib: $depends"
done

dpkg-deb -c "$deb" | awk '{ print $6 }' >"$work/contents"
for f in ./usr/games/{lumora,lumora-fullscreen,lumora-sim,lumora-sweep} \
    ./usr/share/lumora/{wood.bmp,lmr.sav} ./usr/share/lumora/presets/1-ring-of-chasers.sav \
    "./usr/share/applications/$id.desktop" "./usr/share/applications/$id.Fullscreen.desktop" \
    "./usr/share/icons/hicolor/48x48/apps/$id.png" "./usr/share/icons/hicolor/scalable/apps/$id.svg" \
    "./usr/share/metainfo/$id.metainfo.xml" "./usr/share/mime/packages/$id.xml" \
    ./usr/share/man/man6/lumora.6.gz \
    ./usr/share/doc/lumora/{copyright,changelog.gz} ./usr/share/lintian/overrides/lumora \
    ./usr/share/lumora/scripts/plot; do
  grep -qxF "$f" "$work/contents" || fail "the package lacks $f"
done
! grep -v '^\./usr/' "$work/contents" | grep -q . || fail "files outside /usr"

! grep -q '^\./usr/bin/' "$work/contents" || fail "a program outside /usr/games"

# Lintian's default profile: no error, no warning.
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning "$deb" >"$work/lintian.out" 2>&1 ||
    fail "lintian: $(grep -v 'root privileges' "$work/lintian.out")"
else
  echo "lintian is not installed: the package is not checked by it"
fi

dpkg-deb -x "$deb" "$work/root"
mkdir "$work/empty"
grep -qx "Exec=/usr/games/lumora %f" "$work/root/usr/share/applications/$id.desktop" ||
  fail "the desktop entry does not start /usr/games/lumora"
zcat "$work/root/usr/share/doc/lumora/changelog.gz" | head -n1 | grep -qF "lumora ($version)" ||
  fail "the changelog does not start with this version"
bin="$work/root/usr/games"
[ "$("$bin/lumora-sim" --version)" = "lumora-sim $version" ] || fail "--version"
(cd "$work/empty" && "$bin/lumora-sim" --frames 2 --no-draw) |
  grep -q 'fireflies=[1-9]' || fail "the unpacked runner found no media or settings"
# The sweep runner finds the installed media too: one run of one preset, nine rows.
printf 'settings %s\nframes 5\n' "$work/root/usr/share/lumora/presets/1-ring-of-chasers.sav" \
  >"$work/empty/one.sweep"
[ "$(cd "$work/empty" && "$bin/lumora-sweep" one.sweep --jobs 1 | wc -l)" = 10 ] ||
  fail "the unpacked sweep runner did not run"
echo "PASS"
