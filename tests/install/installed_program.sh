#!/usr/bin/env bash
# The installed way: `cmake --install` into a temporary prefix lays out the programs, the media,
# the desktop entries, the icons, the metadata and the manual pages; the desktop files and the
# metadata pass their validators. The installed lumora, started from an empty folder with an
# empty home, shows the title and the fireflies and saves to ~/.config/lumora/lmr.sav, and
# writes nothing into the folder it started in.
# Usage: installed_program.sh BUILD_DIR ASSETS_DIR SEND_CLOSE VERSION APP_ID
source "$(dirname "$0")/../e2e/lib.sh" "$1" "$2" "$3"
BUILD_DIR="$1"
VERSION="$4"
ID="$5"
PREFIX="$WORK/prefix"

cmake --install "$BUILD_DIR" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 ||
  { cat "$WORK/install.log" >&2; fail "cmake --install failed"; }
for f in bin/lumora bin/lumora-fullscreen bin/lumora-sim bin/lumora-sweep \
    share/lumora/{myfont.pcx,shine.bmp,c_att.bmp,c_hill.bmp,c_hole.bmp,c_tr.bmp,c_tl.bmp} \
    share/lumora/{title.bmp,wood.bmp,lmr.sav} share/lumora/presets/1-ring-of-chasers.sav \
    "share/applications/$ID.desktop" "share/applications/$ID.Fullscreen.desktop" \
    "share/icons/hicolor/48x48/apps/$ID.png" "share/icons/hicolor/scalable/apps/$ID.svg" \
    "share/metainfo/$ID.metainfo.xml" "share/mime/packages/$ID.xml" share/man/man6/{lumora,lumora-fullscreen,lumora-sim,lumora-sweep}.6.gz; do
  [ -f "$PREFIX/$f" ] || fail "not installed: $f"
done
[ "$(identify -format '%wx%h' "$PREFIX/share/icons/hicolor/48x48/apps/$ID.png")" = 48x48 ] ||
  fail "the icon is not 48 by 48"
desktop-file-validate "$PREFIX"/share/applications/*.desktop || fail "desktop entries"
# The types of the replay and the settings file: the files' own first bytes and names tell them.
mkdir -p "$WORK/mime/packages"
cp "$PREFIX/share/mime/packages/$ID.xml" "$WORK/mime/packages/"
XDG_DATA_HOME="$WORK" update-mime-database "$WORK/mime" >"$WORK/mime.log" 2>&1 &&
  [ ! -s "$WORK/mime.log" ] ||
  fail "the MIME types: $(cat "$WORK/mime.log")"
grep -q '^application/x-lumora-replay$' "$WORK/mime/types" || fail "no replay type"
appstreamcli validate --no-net "$PREFIX/share/metainfo/$ID.metainfo.xml" || fail "metadata"
[ "$("$PREFIX/bin/lumora-sim" --version)" = "lumora-sim $VERSION" ] || fail "lumora-sim --version"

export HOME="$WORK/home"
unset XDG_CONFIG_HOME XDG_PICTURES_DIR
mkdir "$HOME" "$WORK/empty"
APP_DIR="$WORK/empty"
BIN_DIR="$PREFIX/bin"
# The runner finds the installed media too, and starts from the shipped settings.
(cd "$APP_DIR" && "$BIN_DIR/lumora-sim" --frames 2 --no-draw) | grep -q 'fireflies=[1-9]' ||
  fail "the installed lumora-sim found no media or no settings"

start_display
open_title
shot title
user_file="$HOME/.config/lumora/lmr.sav"
cmp -s "$user_file" "$PREFIX/share/lumora/lmr.sav" ||
  fail "the first start did not make the settings file from the shipped one"
made="$(stat -c %i "$user_file")"

enter_loop
shot moving1
sleep 0.2
shot moving2
[ "$(differ_in title moving1 1024x700+0+0)" -gt 10000 ] || fail "the title is still shown"
[ "$(differ_in moving1 moving2 1024x700+0+0)" -gt 0 ] || fail "no fireflies move"

# Saving replaces the file, so a new one stands there. A busy machine's slow frame may miss a
# short key press: it is pressed again.
saved=""
for _ in 1 2 3; do
  press s
  wait_until '[ "$(stat -c %i "$user_file")" != "$made" ]' && { saved=yes; break; }
done
[ -n "$saved" ] || fail "S did not save the settings"
[ "$(wc -l <"$user_file")" = 200 ] || fail "the saved settings do not have 200 lines"
press Escape
expect_exit 0 "ESC"
[ -z "$(ls -A "$APP_DIR")" ] || fail "written into the starting folder: $(ls -A "$APP_DIR")"
echo "PASS"
