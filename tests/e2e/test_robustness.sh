#!/usr/bin/env bash
# Damaged data and interrupted shows: every case ends with a clear message (or, for a lost device,
# with nothing but the end-of-run message), exits 0 within its time limit, and leaves neither the
# unpacked data in the temporary folder nor any file next to the program.
source "$(dirname "$0")/lib.sh"
data=$scratch/data
cp -r "$build/data" "$data"
temp=$(temp_folder)
check "temporary folder found" [ -d "$temp" ]
temp_before=$(ls -A "$temp")
export E2E_TIMEOUT=90   # a hang fails the case instead of the whole test

# Run ARGS...: one headless run of the show at 640x480 in a window.
run() { orvanta --windowed --res 640x480 "$@"; }
# Leftovers NAME: exit code 0, no unpacked data left, nothing but the program and its package beside it.
leftovers() {
  check "$1: exits 0" [ "$rc" = 0 ]
  check "$1: temporary folder as before" [ "$(ls -A "$temp")" = "$temp_before" ]
  check "$1: nothing written beside the program" [ "$(ls "$ORVANTA_BIN")" = "$(printf 'Orvanta.exe\nOrvanta.pac')" ]
}
messages() { grep -c 'MessageBox:' "$scratch/log" || true; }
# Broken NAME FILE MESSAGE: FILE (in $data) has been damaged; the start-up ends with MESSAGE, shown once,
# followed only by the end-of-run message. FILE is restored afterwards.
broken() {
  pack "$data"
  run --step 0.5 --quit-at 2
  check "$1: says \"$3\"" logged "text \"$3"
  check "$1: one message and the end-of-run one" [ "$(messages)" = 2 ]
  check "$1: start-up ends" logged 'text "Demo aborted!"'
  leftovers "$1"
  cp "$build/data/$2" "$data/$2"
}

# Models: cut short at any byte, cut after a complete object (parses, but nodes are missing), garbage.
size() { stat -c %s "$build/data/$1"; }
head -c $(( $(size Tunnel/tunnel.X) / 2 )) "$build/data/Tunnel/tunnel.X" >"$data/Tunnel/tunnel.X"
broken "tunnel cut in half" Tunnel/tunnel.X "Error parsing file 'tunnel.X'"
tail -c 4096 "$build/data/Room/room_wall.bmp" >"$data/Tunnel/Light.X"
broken "flare model of garbage" Tunnel/Light.X "Error parsing file 'Light.X'"
sed '/^}/q' "$build/data/Station/Station.x" >"$data/Station/Station.x"   # the sky box frame only
broken "station after its first frame" Station/Station.x "Nodes 'ship', 'Material_1'"
{ head -n 1 "$build/data/Star/Star.x"; tail -c 4096 "$build/data/Star/star_core.bmp"; } >"$data/Star/Star.x"
broken "star header and garbage" Star/Star.x "Error parsing file 'Star.x'"
head -c 300 "$build/data/Room/Room.x" >"$data/Room/Room.x"
broken "room cut in its first mesh" Room/Room.x "Error parsing file 'Room.x'"

mp3="Msx/Orvanta by Brenholt.mp3"
head -c 5 "$build/data/$mp3" >"$data/$mp3"
broken "soundtrack of five bytes" "$mp3" "Msx file doesn't exist"

# A package cut in half, in benchmark mode: the start-up ends with the package's message alone; no
# score is presented for a benchmark that never ran.
pack "$data"
head -c $(( $(stat -c %s "$ORVANTA_BIN/Orvanta.pac") / 2 )) "$ORVANTA_BIN/Orvanta.pac" >"$scratch/half.pac"
mv "$scratch/half.pac" "$ORVANTA_BIN/Orvanta.pac"
run --mode benchmark --step 0.5 --quit-at 2
check "package cut in half: says so" logged "caption \"Extracting package\", text \"Package file 'Orvanta.pac' is damaged\""
check "package cut in half: no other message" [ "$(messages)" = 1 ]
check "package cut in half: no score" bash -c "! grep -q 'Your score is' '$scratch/log'"
leftovers "package cut in half"

# Escape in each scene's time window, with a damaged file where the show goes on without it.
# Escape NAME TIME MODE STEP MESSAGE: the show is cut short at show time TIME.
escape() {
  pack "$data"
  run --mode "$3" --step "$4" --quit-at "$2" --fps
  check "$1: ends at $2 s" grep -q " in $2.00 s" "$scratch/out"
  check "$1: \"$5\"" logged "text \"$5\""
  leftovers "$1"
}
escape "Escape in the tunnel under the logo" 60 demo 1 "Demo aborted!"
check "Escape in the tunnel under the logo: no other message" [ "$(messages)" = 1 ]
escape "Escape in the blob" 30 benchmark 0.5 "Benchmark aborted!"
check "Escape in the blob: no report" [ ! -e "$ORVANTA_BIN/Results.htm" ]

head -c $(( $(size "$mp3") / 2 )) "$build/data/$mp3" >"$data/$mp3"
escape "Escape in the station after half a soundtrack" 150 demo 2 "Demo aborted!"
check "half a soundtrack plays" logged 'from 0.000 s of 118.'
check "half a soundtrack: no other message" [ "$(messages)" = 1 ]
cp "$build/data/$mp3" "$data/$mp3"

rm "$data/Credits/quelin.tga"
escape "Escape in the credits without a plate" 190 benchmark 2 "Benchmark aborted!"
check "missing plate reported" logged 'Error loadind texture Credits\quelin.tga"'
check "missing plate: no other message" [ "$(messages)" = 2 ]
cp "$build/data/Credits/quelin.tga" "$data/Credits/"

escape "Escape as the star falls" 232 benchmark 2 "Benchmark aborted!"

# The window closed while loading: the close waits for the message loop, no frame is drawn. A file
# dropped on the program is no option and changes nothing.
pack "$data"
run 'C:\users\me\Desktop\notes.txt' --close-while-loading --fps
check "closed while loading: no frame" grep -q "^0 frames" "$scratch/out"
check "closed while loading: \"Demo aborted!\"" logged 'text "Demo aborted!"'
check "closed while loading: no other message" [ "$(messages)" = 1 ]
leftovers "closed while loading"

# A device lost in the station scene ends the show at that frame without an error message.
run --mode benchmark --step 2 --lose-device-at 100 --fps
check "lost device: ends at 100 s" grep -q " in 100.00 s" "$scratch/out"
check "lost device: no error message" no_message_box
check "lost device: the show counts as cut short" logged 'text "Benchmark aborted!"'
leftovers "lost device"
finish
