#!/usr/bin/env bash
# Start-up without a stopwatch. The models in the package are binary .X files (the platform's parser
# takes several times as long over the text form), and no step of the start-up breakdown (--fps) takes
# more than a generous multiple of the time the bare Clear+Present program needs to create Direct3D and
# its device, measured in this test on the same kind of display: on a busy machine both slow down.
source "$(dirname "$0")/lib.sh"
multiple=20

# The package stores its files inverted (PacCodingInverted): turned back, the headers can be counted.
header_count() { perl -0777 -pe '$_ = ~$_' "$build/Orvanta.pac" | grep -a -o -F "$1" | wc -l; }
check "the five models in the package are binary .X" [ "$(header_count 'xof 0303bin 0032')" = 5 ]
check "no model in the package is text .X" [ "$(header_count 'xof 0302txt')" = 0 ]

# bare_device: the bare program's device creation in seconds (a short run in a 640x480 Xvfb).
bare_device() {
  orv_start_xvfb 640x480
  orv_wine "$build/tests/bare_present.exe" 0.5 640x480 2>/dev/null | tr -d '\r' |
    sed -n 's/^device creation: \([0-9.]*\) s$/\1/p'
  orv_stop_xvfb
}
before=$(bare_device)
orvanta --mode benchmark --windowed --res 640x480 --step 0.5 --quit-at 2 --fps
after=$(bare_device)
# The slower of the two bare runs: the more generous yardstick.
device=$(awk -v a="$before" -v b="$after" 'BEGIN { print (a > b ? a : b) }')
check "bare program created its device" more_than "$device" 0
steps=$(sed -n 's/^start-up step: \(.*\): \([0-9.-]*\) s.*/\2 \1/p' "$scratch/out")
echo "bare device creation: $device s; start-up: $(sed -n 's/^start-up: //p' "$scratch/out")"
echo "$steps" | sed 's/^/  /'
has_step() { echo "$steps" | grep -q " $1\$"; }
for step in unpacking "device creation" "model tunnel.X, parse" "model Station.x, mesh build" \
            "model Station.x, textures" "texture loads" "shader assembly" "first frame" "the rest"; do
  check "breakdown names '$step'" has_step "$step"
done
check "the steps add up to no more than the start-up" \
  more_than "$(echo "$steps" | sed -n 's/ the rest$//p')" -0.0005
slow=$(echo "$steps" | awk -v limit="$(awk -v d="$device" -v m=$multiple 'BEGIN { print d * m }')" '$1 > limit')
check "no step over $multiple times the bare device creation" [ -z "$slow" ]
[ -z "$slow" ] || echo "slow steps: $slow"
finish
