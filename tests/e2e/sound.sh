#!/usr/bin/env bash
# The window plays its sound: ALSA's file plugin over its null device keeps what lumora plays,
# through a configuration in a home folder of the test's own. Running, the sound is not
# silent; after M it is. Without any sound device lumora starts and quits as ever, silent, with
# no message box.
source "$(dirname "$0")/lib.sh" "$@"
start_display
prepare_workdir
export HOME="$WORK/home"
mkdir -p "$HOME"
PLAYED="$WORK/played.raw"
echo "pcm.!default { type file; slave.pcm \"null\"; file \"$PLAYED\"; format \"raw\" }" >"$HOME/.asoundrc"

# The loudest sample the file holds from byte $1 on.
played_size() { stat -c %s "$PLAYED" 2>/dev/null || echo 0; }
loudest() {
  tail -c +"$(($1 + 1))" "$PLAYED" | od -An -v -td2 |
    awk '{ for (i = 1; i <= NF; ++i) { v = $i < 0 ? -$i : $i; if (v > m) m = v } } END { print m + 0 }'
}
# The same over the last $1 hundredths of a second (192000 bytes a second).
loudest_lately() { local from=$(($(played_size) - $1 * 192000 / 100)); loudest $((from > 0 ? from : 0)); }

open_title
enter_loop
wait_until '[ "$(played_size)" -gt 400000 ]' || fail "lumora played nothing into ALSA"
[ "$(loudest_lately 200)" -gt 300 ] || fail "the sound of the running swarms is silent"

# M is a toggle: pressed again only while the sound goes on, as a short press can go unseen.
for _ in 1 2 3; do
  press m
  [ "$(loudest_lately 25)" -eq 0 ] && break
done
muted_at="$(played_size)"
sleep 1.5
[ "$(played_size)" -gt "$((muted_at + 96000))" ] || fail "after M the sound stopped coming"
[ "$(loudest "$muted_at")" -eq 0 ] || fail "after M the sound is not silent"
press Escape
expect_exit 0 "ESC with the sound playing"

# No sound device at all: a card that does not exist.
echo 'pcm.!default { type hw; card 99 }' >"$HOME/.asoundrc"
open_title
enter_loop
pgrep -P "$APP_PID" >/dev/null && fail "lumora without a sound device started a child (a message box?)"
press Escape
expect_exit 0 "ESC without a sound device"
echo "PASS"
