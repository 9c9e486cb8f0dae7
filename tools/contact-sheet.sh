#!/usr/bin/env bash
# Renders the show at chosen times headless and puts the pictures into one PNG, so anyone can look at
# the show without watching it.
#   tools/contact-sheet.sh [--keep DIR] [OUT.png] [T1,T2,...]
# Default: contact-sheet.png, 24 times across the show. Benchmark mode at 640x480 on the deterministic
# clock (0.25 s per frame): no music, no letterbox bars. When the last time is in the show's final
# second the run goes on to the end of the show, so it also writes its report. --keep DIR keeps the
# pictures (ScreenShot_001.bmp, ... in time order), the program's output (run.txt: statistics, log.txt:
# messages) and the report, if any.
# Needs a build (tools/build.sh); uses ORVANTA_BIN and WINEPREFIX as tools/launch.sh does.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
keep=
if [ "${1:-}" = --keep ]; then keep=$(realpath -m "$2"); shift 2; fi
out=$(realpath -m "${1:-contact-sheet.png}")
times=${2:-5,12,16.9,22,35,45,60,68,74,80,90,100,108,118,131,140,152,160,172,183,200,215,226,235.5}
work=$(mktemp -d /tmp/orvanta-sheet.XXXXXX)
trap 'rm -rf "$work"' EXIT
last=$(tr ',' '\n' <<<"$times" | sort -g | tail -1)

source "$here/tools/wine-env.sh"
orv_program_folder "${ORVANTA_BIN:-$here/build/x64}" "$work/bin"
end=()
awk -v t="$last" 'BEGIN { exit !(t < 234.8) }' && end=(--quit-at "$(awk -v t="$last" 'BEGIN { print t + 0.25 }')")
set +e
env -u DISPLAY ORVANTA_BIN="$work/bin" "$here/tools/launch.sh" --windowed --res 640x480 --mode benchmark \
  --step 0.25 --fps --grab "$times" "${end[@]}" --out "$work/shots" >"$work/run.txt" 2>"$work/log.txt"
rc=$?
set -e
labels=()
for t in $(tr ',' '\n' <<<"$times" | sort -g); do labels+=("$t s"); done
i=0 args=()
for f in "$work"/shots/ScreenShot_*.bmp; do [ -e "$f" ] && args+=(-label "${labels[$i]}" "$f"); i=$((i + 1)); done
if [ -n "$keep" ]; then
  mkdir -p "$keep"
  cp "$work"/shots/*.bmp "$work/run.txt" "$work/log.txt" "$keep/" 2>/dev/null || true
  [ ! -e "$work/bin/Results.htm" ] || cp "$work/bin/Results.htm" "$keep/"
fi
[ ${#args[@]} -gt 0 ] || { echo "no pictures (exit code $rc)" >&2; cat "$work/log.txt" >&2; exit 1; }
montage -font DejaVu-Sans "${args[@]}" -tile 6x -geometry 320x240+4+4 -background '#1a2230' -fill '#c8d8e8' -depth 8 -quality 85 "$out"
echo "$out"
