#!/usr/bin/env bash
# The Debian package: cpack makes lumora_VERSION_ARCH.deb with a maintainer, section games, a
# description and the shared libraries' packages as dependencies, holding the installed tree
# under /usr. Unpacked into a temporary root (never installed on the system), its runner finds
# its own media and settings there.
# Usage: package.sh BUILD_DIR VERSION APP_ID
set -euo pipefail
build="$1"
version="$2"
id="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 ||
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
depends="$(field Depends)"
for lib in liballegro4.4 libc6 libpng16-16 libstdc++6; do
  [[ ", $depends" == *", $lib ("* ]] || fail "Depends lacks $lib: $depends"
done

dpkg-deb -c "$deb" | awk '{ print $6 }' >"$work/contents"
for f in ./usr/bin/{lumora,lumora-fullscreen,lumora-sim,lumora-sweep} \
    ./usr/share/lumora/{wood.bmp,lmr.sav} ./usr/share/lumora/presets/1-ring-of-chasers.sav \
    "./usr/share/applications/$id.desktop" "./usr/share/applications/$id.Fullscreen.desktop" \
    "./usr/share/icons/hicolor/48x48/apps/$id.png" "./usr/share/icons/hicolor/scalable/apps/$id.svg" \
    "./usr/share/metainfo/$id.metainfo.xml" ./usr/share/man/man6/lumora.6.gz; do
  grep -qxF "$f" "$work/contents" || fail "the package lacks $f"
done
! grep -v '^\./usr/' "$work/contents" | grep -q . || fail "files outside /usr"

dpkg-deb -x "$deb" "$work/root"
mkdir "$work/empty"
[ "$("$work/root/usr/bin/lumora-sim" --version)" = "lumora-sim $version" ] || fail "--version"
(cd "$work/empty" && "$work/root/usr/bin/lumora-sim" --frames 2 --no-draw) |
  grep -q 'fireflies=[1-9]' || fail "the unpacked runner found no media or settings"
# The sweep runner finds the installed media too: one run of one preset, nine rows.
printf 'settings %s\nframes 5\n' "$work/root/usr/share/lumora/presets/1-ring-of-chasers.sav" \
  >"$work/empty/one.sweep"
[ "$(cd "$work/empty" && "$work/root/usr/bin/lumora-sweep" one.sweep --jobs 1 | wc -l)" = 10 ] ||
  fail "the unpacked sweep runner did not run"
echo "PASS"
