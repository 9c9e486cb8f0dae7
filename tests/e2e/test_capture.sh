#!/usr/bin/env bash
# The show as a video: tools/capture.sh renders 3 s from show time 15 at 320x240 and 10 frames/s into an
# MP4. It has one video stream of that size and frame count and one audio stream from 0 that lasts as
# long; its frames are the show's pictures at the times the clock says, compared with --grab pictures
# of the same stepped run; the big flash (16.85 s) first shows on the frame at 16.9 s.
source "$(dirname "$0")/lib.sh"
video=$scratch/show.mp4

set +e
env -u DISPLAY timeout 240 "$e2e_root/tools/capture.sh" --res 320x240 --fps 10 --from 15 --to 18 "$video" \
  >"$scratch/out" 2>"$scratch/log"
rc=$?
set -e
check "capture exits 0" [ "$rc" = 0 ]
# one value of the first video (v) or audio (a) stream
probe() { ffprobe -v error -select_streams "$1:0" -show_entries "stream=$2" -of default=nw=1:nk=1 "$video" 2>&1 || true; }
streams=$(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 "$video" 2>&1 | sort | tr '\n' ' ')
check "one video stream, one audio stream" [ "$streams" = "audio video " ]
check "H.264 of 320x240" [ "$(probe v codec_name)/$(probe v width)x$(probe v height)" = h264/320x240 ]
check "30 frames from 0 s" [ "$(probe v nb_frames)/$(probe v start_time)" = 30/0.000000 ]
check "audio starts at 0 s" [ "$(probe a start_time)" = 0.000000 ]
check "audio lasts as long as the video" more_than "$(probe a duration)" "$(awk -v v="$(probe v duration)" 'BEGIN { printf "%.9f", v - 1e-6 }')"

# the frame of the video at time T (show time 15 + T) as a picture
frame() { ffmpeg -v error -i "$video" -ss "$1" -frames:v 1 -y "$scratch/frame_$1.png"; }
for t in 1 1.8 1.9; do frame $t; done
# The same clock without capture; --grab takes the first frame at or past each time.
orvanta --windowed --res 320x240 --mode demo --step 0.1 --grab 15.9,16,16.1 --quit-at 16.1 --out "$scratch/shots"
check "stepped run exits 0" [ "$rc" = 0 ]
# Between the letterbox bars: the difference of the right picture is compression, of a neighbour motion.
picture=320x180+0+30
difference() { bmp_difference "$scratch/frame_1.png" "$scratch/shots/ScreenShot_00$1.bmp" $picture || true; }
before=$(difference 1) same=$(difference 2) after=$(difference 3)
echo "frame at 16 s against the picture at 15.9, 16 and 16.1 s: $before $same $after"
check "the frame at 16 s is the picture at 16 s" less_than "$same" 0.03
check "... and not its neighbour at 15.9 s" more_than "$before" "$(awk -v s="$same" 'BEGIN { print 2 * s }')"
check "... nor at 16.1 s" more_than "$after" "$(awk -v s="$same" 'BEGIN { print 2 * s }')"
# The flash starts at 16.85 s: the frame at 16.8 s is clear, the one at 16.9 s flashes.
dark=$(bmp_mean "$scratch/frame_1.8.png" $picture) bright=$(bmp_mean "$scratch/frame_1.9.png" $picture)
echo "brightness at 16.8 and 16.9 s: $dark $bright"
check "the flash shows first on the frame at 16.9 s" more_than "$bright" "$(awk -v d="$dark" 'BEGIN { print d + 0.2 }')"
finish
