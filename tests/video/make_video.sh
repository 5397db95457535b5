#!/usr/bin/env bash
# scripts/video turns a replay of ten seconds at the default settings into an MP4 that ffprobe
# finds ten seconds long with 600 frames and ten seconds of sound that is not silent, and into a
# GIF by the name's extension, quietly when its output is no terminal and with its progress on
# one; it refuses to write over its replay (by any name) or into a folder; a run that is
# killed, even by SIGKILL, ends lumora-sim and ffmpeg and leaves nothing, and what a run left
# all the same is removed by the next.
# Usage: make_video.sh LUMORA_SIM SOURCE_DIR ASSETS_DIR
set -euo pipefail
sim=$1 root=$2 assets=$3
work=$(mktemp -d /tmp/lumora-video-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
probe() {
  ffprobe -v error -count_frames ${3:+-select_streams "$3"} -show_entries "$2" \
    -of default=nw=1:nk=1 "$1" | tr '\n' ' '
}
cd "$work"
cp "$assets/lmr.sav" .
printf '0 - 0 0 0\n600 F9 0 0 0\n' >in.txt
"$sim" --assets "$assets" --input in.txt --frames 600 --no-draw >/dev/null
export LUMORA_SIM="$sim"

"$root/scripts/video" lumora-0001.replay ten.mp4 >/dev/null 2>err.txt
[ ! -s err.txt ] || fail "scripts/video talks when its output is no terminal: $(cat err.txt)"
got=$(probe ten.mp4 stream=codec_name,width,height,pix_fmt,r_frame_rate,nb_read_frames v:0)
[ "$got" = "h264 1024 768 yuv420p 60/1 600 " ] || fail "the MP4 is: $got"
[ "$(probe ten.mp4 format=duration)" = "10.000000 " ] || fail "the MP4 lasts $(probe ten.mp4 format=duration)"
got=$(probe ten.mp4 stream=codec_name,sample_rate,channels,duration a:0)
[ "$got" = "aac 48000 2 10.000000 " ] || fail "the MP4's sound is: $got"
peak=$(ffmpeg -v info -nostats -i ten.mp4 -vn -af volumedetect -f null - 2>&1 |
  awk '/max_volume/ { print $5 }')
awk -v p="${peak:--91}" 'BEGIN { exit !(p > -40) }' || fail "the MP4's sound is silent (peak ${peak} dB)"

"$root/scripts/video" lumora-0001.replay last.gif --from 9 --to 10 >/dev/null
got=$(probe last.gif stream=codec_name,width,height,nb_read_frames)
[ "$got" = "gif 512 384 25 " ] || fail "the last second's GIF is: $got"

script -qec "'$root/scripts/video' lumora-0001.replay tty.mp4 --to 1" /dev/null >tty.txt ||
  fail "scripts/video on a terminal: $(cat tty.txt)"
grep -q "frame 60 of 60, 0 s left" tty.txt || fail "no progress on a terminal: $(cat tty.txt)"

# OUT that is the replay, by its name or a link, or a folder: refused, nothing changed.
cp lumora-0001.replay s.mp4
ln -s s.mp4 link.mp4
mkdir d.mp4
for out in s.mp4 link.mp4 d.mp4; do
  status=0
  "$root/scripts/video" s.mp4 "$out" >/dev/null 2>&1 || status=$?
  [ "$status" = 2 ] || fail "scripts/video s.mp4 $out: exit status $status, expected 2"
  cmp -s s.mp4 lumora-0001.replay || fail "scripts/video s.mp4 $out changed the replay"
  [ -z "$(ls -A d.mp4)" ] || fail "scripts/video s.mp4 $out wrote into the folder d.mp4"
done

# A run of a script that is gone, left behind, goes with the next run for the same name.
sh -c 'exit 0' & gone=$!
wait "$gone"
mkdir .killed.mp4.left && echo "$gone" >.killed.mp4.left/script
for signal in TERM KILL; do
  "$root/scripts/video" lumora-0001.replay killed.mp4 >/dev/null 2>&1 &
  video=$!
  for _ in $(seq 200); do compgen -G '.killed.mp4.*/ffmpeg.pid' >/dev/null && break; sleep 0.1; done
  pids=$(cat .killed.mp4.*/*.pid)
  [ -d .killed.mp4.left ] && fail "the run left by a script that is gone stayed"
  sleep 1
  kill -"$signal" "$video"
  wait "$video" && fail "scripts/video ended well after SIG$signal"
  for _ in $(seq 100); do
    running=""
    for pid in $pids; do kill -0 "$pid" 2>/dev/null && running=1; done
    [ -z "$running" ] && ! compgen -G '.killed.mp4*' >/dev/null && break
    sleep 0.1
  done
  [ -z "$running" ] || fail "lumora-sim or ffmpeg ran on after SIG$signal to scripts/video"
  [ -e killed.mp4 ] && fail "scripts/video left killed.mp4 after SIG$signal"
  compgen -G '.killed.mp4*' >/dev/null && fail "scripts/video left its folder after SIG$signal"
done
echo PASS
