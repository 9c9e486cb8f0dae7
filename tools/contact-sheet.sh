#!/usr/bin/env bash
# Renders the show at chosen times headless and puts the pictures into one PNG, so anyone can look at
# the show without watching it.
#   tools/contact-sheet.sh [OUT.png] [T1,T2,...]   (default: contact-sheet.png, ten times across the show)
# Needs a build (tools/build.sh). Benchmark mode at 640x480: no music, no letterbox bars.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-contact-sheet.png}")
times=${2:-5,20,40,62,75,95,120,151,190,225}
work=$(mktemp -d /tmp/orvanta-sheet.XXXXXX)
trap 'rm -rf "$work"' EXIT
last=$(tr ',' '\n' <<<"$times" | sort -g | tail -1)

env -u DISPLAY "$here/tools/launch.sh" --windowed --res 640x480 --mode benchmark --step 0.5 \
  --grab "$times" --quit-at "$(awk -v t="$last" 'BEGIN { print t + 0.5 }')" --out "$work" >/dev/null
labels=()
for t in $(tr ',' '\n' <<<"$times" | sort -g); do labels+=("$t s"); done
i=0 args=()
for f in "$work"/ScreenShot_*.bmp; do args+=(-label "${labels[$i]}" "$f"); i=$((i + 1)); done
montage "${args[@]}" -tile 5x -geometry 320x240+4+4 -background '#1a2230' -fill '#c8d8e8' "$out"
echo "$out"
