#!/usr/bin/env bash
# The launcher as a user meets it: a start with everything built says nothing about building, and a
# headless run ends with the program's own lines, nothing from the display server going away.
source "$(dirname "$0")/lib.sh"

# The tests run on a finished build: ./run.sh finds nothing to install or build.
set +e
env -u DISPLAY timeout 600 "$e2e_root/run.sh" --help >"$scratch/out" 2>"$scratch/log"
rc=$?
set -e
check "run.sh --help: exits 0" [ "$rc" = 0 ]
check "run.sh --help: the usage" grep -q '^Usage: Orvanta.exe \[options\]$' "$scratch/out"
check "run.sh with everything built: nothing but the usage" [ ! -s "$scratch/log" ]
# A program that joins the wineserver of that display-less start would find no display.
timeout 60 /usr/lib/wine/wineserver -w || true

orvanta --windowed --res 320x240 --mode benchmark --step 1 --quit-at 3
# The processes of the run may outlive the launcher: once the wineserver has ended, every one of
# them has written what it had to say.
timeout 60 /usr/lib/wine/wineserver -w || true
check "headless run: exits 0" [ "$rc" = 0 ]
check "headless run: no line about the X connection" bash -c "! grep -q 'X connection' '$scratch/out' '$scratch/log'"
check "headless run: the program's lines only" \
  [ "$(cat "$scratch/out" "$scratch/log" | tr -d '\r')" = 'MessageBox: caption "Orvanta", text "Benchmark aborted!", style 0x50040' ]
finish
