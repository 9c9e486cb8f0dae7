#!/usr/bin/env bash
# Renders the show frame by frame, headless, and encodes it with its soundtrack into an MP4 (H.264, AAC):
#   tools/capture.sh [--res WxH] [--fps N] [--from T] [--to T] [--crf Q] OUT.mp4
# Defaults: 1024x768, 60 frames/s, the whole show (0 to 235.8 s), quality 20 (x264's CRF: lower is better
# and bigger). Frame n shows show time FROM + n/N exactly (the program's --step clock); the soundtrack is
# cut at the same show time, so picture and music stay in sync to the frame. The frames reach ffmpeg
# through a FIFO: the raw video never lands on disk. FROM is rounded to a whole frame of the clock.
# Environment: ORVANTA_BIN (folder of Orvanta.exe, default build/x64), WINEPREFIX as for tools/launch.sh,
# ORVANTA_X264_PRESET (default veryfast).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
bin=${ORVANTA_BIN:-$orv_root/build/x64}
show_end=235.8

usage() { echo "usage: tools/capture.sh [--res WxH] [--fps N] [--from T] [--to T] [--crf Q] OUT.mp4" >&2; exit 2; }
res=1024x768 fps=60 from=0 to=$show_end crf=20 out=
while [ $# -gt 0 ]; do
  case $1 in
    --res|--fps|--from|--to|--crf) [ $# -ge 2 ] || usage; declare "${1#--}=$2"; shift 2 ;;
    -*) usage ;;
    *) [ -z "$out" ] || usage; out=$1; shift ;;
  esac
done
[ -n "$out" ] || usage
number='^[0-9]+([.][0-9]+)?$'
[[ $res =~ ^([0-9]+)x([0-9]+)$ ]] && ((BASH_REMATCH[1] % 2 == 0 && BASH_REMATCH[2] % 2 == 0)) ||
  { echo "--res: even width and height, WxH" >&2; exit 2; }
[[ $fps =~ ^[1-9][0-9]*$ ]] && ((fps <= 240)) || { echo "--fps: a whole number from 1 to 240" >&2; exit 2; }
[[ $crf =~ ^[0-9]+$ ]] && ((crf <= 51)) || { echo "--crf: 0 to 51" >&2; exit 2; }
[[ $from =~ $number && $to =~ $number ]] &&
  awk -v a="$from" -v b="$to" -v e=$show_end 'BEGIN { exit !(a < b && b <= e) }' ||
  { echo "--from, --to: show times, 0 <= from < to <= $show_end" >&2; exit 2; }
for tool in ffmpeg ffprobe; do command -v $tool >/dev/null || { echo "$tool missing: run tools/setup.sh" >&2; exit 1; }; done
[ -f "$bin/Orvanta.exe" ] && [ -f "$bin/Orvanta.pac" ] || { echo "no program in $bin: run tools/build.sh" >&2; exit 1; }
# The generated soundtrack lies in the build's data tree, beside the package made from it.
soundtrack="$(dirname "$(realpath "$bin/Orvanta.pac")")/data/Msx/Orvanta by Brenholt.mp3"
[ -f "$soundtrack" ] || { echo "no soundtrack at $soundtrack: run tools/build.sh" >&2; exit 1; }

# The frames on the clock's grid: first..last are frame numbers counted from show time 0.
read -r first last step start quit duration < <(awk -v f="$from" -v t="$to" -v n="$fps" 'BEGIN {
  first = int(f * n + 0.5); last = int(t * n - 1e-9)   # the last frame before `to`
  if (last * 1.0 / n >= t) last--
  printf "%d %d %.17g %.17g %.17g %.17g\n", first, last, 1 / n, first / n, (last - 0.5) / n, (last - first + 1) / n }')
frames=$((last - first + 1))

work=$(mktemp -d /tmp/orvanta-capture.XXXXXX)
program=
cleanup() {
  [ -z "$program" ] || kill -- -"$program" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
mkfifo "$work/frames"

# ffmpeg reads the FIFO, the program writes it; both open it in either order.
ffmpeg -hide_banner -loglevel error -nostdin -progress "$work/progress" \
  -f rawvideo -pixel_format bgr0 -video_size "$res" -framerate "$fps" -i "$work/frames" \
  -i "$soundtrack" \
  -filter_complex "[1:a]atrim=start=$start:duration=$duration,asetpts=PTS-STARTPTS,apad=whole_dur=$duration[a]" \
  -map 0:v -map '[a]' -c:v libx264 -preset "${ORVANTA_X264_PRESET:-veryfast}" -crf "$crf" -pix_fmt yuv420p \
  -c:a aac -b:a 192k -movflags +faststart -y "$out" 2>"$work/ffmpeg.log" &
encoder=$!
# The program in a process group of its own (Wine and all), so that it can be stopped as one.
setsid env -u DISPLAY ORVANTA_BIN="$bin" "$here/launch.sh" --mode demo --windowed --res "$res" --step "$step" \
  --capture "$work/frames" --capture-from "$start" --quit-at "$quit" --no-message-boxes >"$work/program.log" 2>&1 &
program=$!

began=$(date +%s.%N) first_seen=
progress() { # frames done so far, show time, frames/s and time left, on one line of the terminal
  local count now
  count=$(sed -n 's/^frame=//p' "$work/progress" 2>/dev/null | tail -n 1 || true)
  count=${count:-0}; now=$(date +%s.%N)
  if [ "$count" -gt 0 ] && [ -z "$first_seen" ]; then first_seen=$now first_count=$count; fi
  [ -t 2 ] || return 0
  if [ -z "$first_seen" ]; then
    printf '\rstarting: loading, then drawing the show up to %s s without writing it (%.0f s)  ' "$start" \
      "$(awk -v a="$began" -v b="$now" 'BEGIN { print b - a }')" >&2
  else
    awk -v d="$count" -v n=$frames -v f="$fps" -v s="$start" -v a="$first_seen" -v a0="$first_count" -v b="$now" 'BEGIN {
      rate = b > a + 0.5 ? (d - a0) / (b - a) : 0
      left = rate > 0 ? (n - d) / rate : 0
      printf "\r%d/%d frames, show time %.2f s, %.1f frames/s, %d:%02d left  ", d, n, s + d / f, rate, left / 60, left % 60
    }' >&2
  fi
}
while kill -0 $program 2>/dev/null && kill -0 $encoder 2>/dev/null; do
  progress
  sleep 1
done
if kill -0 $program 2>/dev/null; then   # the encoder gave up: nothing reads the frames any more
  kill -- -"$program" 2>/dev/null || true
fi
wait $program || true
program=
# A program that ended before opening the FIFO leaves ffmpeg waiting for a writer: open and close it
# once (read-write never waits), so that ffmpeg sees the end.
exec {unblock}<>"$work/frames"; exec {unblock}>&-
set +e; wait $encoder; encoded=$?; set -e
[ -t 2 ] && printf '\n' >&2
took=$(awk -v a="$began" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')

got=$( [ $encoded = 0 ] && ffprobe -v error -select_streams v -show_entries stream=nb_frames -of csv=p=0 "$out" || true)
if [ $encoded != 0 ] || [ "$got" != "$frames" ]; then
  echo "capture failed: ${got:-no} video frames of $frames" >&2
  grep -v '^MessageBox: caption "Orvanta", text "Demo aborted!"' "$work/program.log" >&2 || true
  cat "$work/ffmpeg.log" >&2
  exit 1
fi
awk -v n=$frames -v a="$start" -v d="$duration" -v t="$took" -v o="$out" -v size="$(stat -c %s "$out")" 'BEGIN {
  printf "%s: %d frames, show time %.3f to %.3f s, %.1f MB, in %.0f s (%.1f frames/s with start-up)\n", o, n, a, a + d, size / 1e6, t, n / t }'
