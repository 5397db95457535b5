#!/usr/bin/env bash
# scripts/video turns a replay of ten seconds at the default settings into an MP4 that ffprobe
# finds ten seconds long with 600 frames and ten seconds of sound that is not silent, and into a
# GIF by the name's extension; a run that is killed leaves neither the video nor its
# part-written file.
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

"$root/scripts/video" lumora-0001.replay ten.mp4 >/dev/null
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

"$root/scripts/video" lumora-0001.replay killed.mp4 >/dev/null 2>&1 &
video=$!
for _ in $(seq 100); do compgen -G '.killed.mp4.*' >/dev/null && break; sleep 0.1; done
sleep 1
kill -TERM "$video"
wait "$video" && fail "a killed scripts/video ended well"
[ -e killed.mp4 ] && fail "a killed scripts/video left killed.mp4"
compgen -G '.killed.mp4.*' >/dev/null && fail "a killed scripts/video left its part-written file"
echo PASS
