# Shared steps of the end-to-end tests: a private virtual display, a working directory with
# the media and default settings, and ways to drive and look at the real window.
# Usage from a test: source lib.sh PROGRAM_DIR ASSETS_DIR SEND_CLOSE
set -euo pipefail

BIN_DIR="$1"
ASSETS_DIR="$2"
SEND_CLOSE="$3"
WORK="$(mktemp -d /tmp/lumora-e2e-XXXXXX)"
# The folder the program starts in; a test may point it elsewhere.
APP_DIR="$WORK"
APP_PID=""
XVFB_PID=""

cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$WORK/app.log" ] && { echo "--- the program's standard error:" >&2; cat "$WORK/app.log" >&2; }
  exit 1
}

# Starts Xvfb on a display number it picks itself, so tests can run side by side; its screen is
# 1024x768x24 unless given (WxHxDEPTH).
start_display() {
  local numfile="$WORK/display"
  Xvfb -displayfd 7 -screen 0 "${1:-1024x768x24}" -nolisten tcp 7>"$numfile" 2>/dev/null &
  XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$numfile" ] && break; sleep 0.1; done
  [ -s "$numfile" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$numfile")"
}

# A fresh working directory holding every media file and the default settings.
prepare_workdir() {
  cp "$ASSETS_DIR"/*.bmp "$ASSETS_DIR"/*.pcx "$ASSETS_DIR"/lmr.sav "$WORK/"
}

# Starts a program (lumora by default), with the arguments after its name, in APP_DIR. A start
# that ends at once because the library found no display to connect to is logged and tried
# again: on a busy machine the virtual display now and then turns a connection away.
start_app() {
  local prog="${1:-lumora}"
  local options=("${@:2}")
  for attempt in 1 2 3; do
    : >"$WORK/start.log"
    (cd "$APP_DIR" && exec "$BIN_DIR/$prog" "${@:2}" 2>>"$WORK/start.log") &
    APP_PID=$!
    for _ in $(seq 30); do
      kill -0 "$APP_PID" 2>/dev/null || break
      xdotool search --name '^lumora' >/dev/null 2>&1 && break
      sleep 0.1
    done
    cat "$WORK/start.log" >>"$WORK/app.log"
    if kill -0 "$APP_PID" 2>/dev/null || ! grep -q "cannot start" "$WORK/start.log" ||
       grep -q "cannot start: the file" "$WORK/start.log"; then
      return 0
    fi
    wait "$APP_PID" || true
    echo "note: $prog found no display (attempt $attempt): $(cat "$WORK/start.log")" >&2
  done
  fail "$prog found no display three times"
}

# Waits for the program's window and prints its id.
wait_window() {
  for _ in $(seq 100); do
    local id
    id="$(xdotool search --name '^lumora' 2>/dev/null | head -n1 || true)"
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  fail "no lumora window appeared"
}

# Waits for the program to end and checks its exit status.
expect_exit() {
  local expected="$1" what="$2" status=0
  for _ in $(seq 100); do
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$APP_PID" 2>/dev/null && fail "$what: the program did not end"
  wait "$APP_PID" || status=$?
  APP_PID=""
  [ "$status" = "$expected" ] || fail "$what: exit status $status, expected $expected"
}

# Waits until the title screen is on the display: the window appears before the pictures are
# loaded, and a key pressed before the title waits for it would go unseen.
wait_title() {
  for _ in $(seq 200); do
    import -window root "$WORK/waiting.png" 2>/dev/null &&
      awk "BEGIN { exit !($(mean_in waiting 1024x768+0+0) > 0.05) }" && return 0
    sleep 0.1
  done
  fail "the title screen did not appear"
}

# Starts a program, with the arguments after its name, and waits for its title screen.
open_title() {
  start_app "${1:-lumora}" "${@:2}"
  wait_window >/dev/null
  wait_title
}

# Waits up to twenty seconds for a condition (a shell command) to hold; frames come slower on
# a busy machine, and with them the effect of a key. The time is counted, not the tries: on a
# loaded machine a single screenshot and its comparison take seconds.
wait_until() {
  local until=$((SECONDS + 20))
  while ((SECONDS < until)); do
    eval "$1" && return 0
    sleep 0.1
  done
  return 1
}

# Leaves the frame loop time to open the keyboard, which takes ten frames after start-up.
enter_loop() {
  press space
  sleep 1
}

# Presses a key for less than the keyboard's ten-frame rest, then lets the keyboard open
# again. Down and up go in one call: on a busy machine, starting a second program for the
# release held the key for 12 to 18 frames, long enough to act twice. A short press can still
# fall between two frames, so tests check what it did (press_until), never how often.
press() {
  xdotool keydown "$1" sleep 0.06 keyup "$1"
  sleep 0.5
}

# Presses a key until a condition holds, three times at most.
press_until() {
  for _ in 1 2 3; do
    press "$1"
    wait_until "$2" && return 0
  done
  return 1
}

shot() { import -window root "$WORK/$1.png"; }

# "r,g,b" of one pixel of a screenshot.
pixel() {
  convert "$WORK/$1.png" -crop "1x1+$2+$3" -depth 8 -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:
}

# Mean brightness (0 to 1) of a region WxH+X+Y of a screenshot.
mean_in() {
  convert "$WORK/$1.png" -crop "$2" -colorspace Gray -format '%[fx:mean]' info:
}

# Number of pure white pixels in a region of a screenshot.
white_in() {
  convert "$WORK/$1.png" -crop "$2" -fill black +opaque white -fill white -opaque white \
    -format '%[fx:int(mean*w*h)]' info:
}

# Number of pixels that differ between two screenshots in a region.
differ_in() {
  convert "$WORK/$1.png" -crop "$3" +repage "$WORK/crop-a.png"
  convert "$WORK/$2.png" -crop "$3" +repage "$WORK/crop-b.png"
  compare -metric AE "$WORK/crop-a.png" "$WORK/crop-b.png" null: 2>&1 || true
}

# Line n (counted from 1) of the working directory's settings file.
settings_line() { sed -n "$1p" "$WORK/lmr.sav"; }

# The line of lmr.sav that holds a swarm's field, by the name lumora-sim --fields gives it:
# record s takes lines 20 * s + 1 to 20 * s + 20.
field_line() {  # NAME SWARM
  local position
  position="$("$BIN_DIR/lumora-sim" --fields | awk -v name="$1" '$2 == name { print $1 }')"
  [ -n "$position" ] || fail "lumora-sim --fields does not list $1"
  echo $((20 * $2 + position + 1))
}
