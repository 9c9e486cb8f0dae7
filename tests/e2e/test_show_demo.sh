# The whole show as a user sees it: demo mode in real time with its music, to the end. Each scene is
# looked for at a time inside its window, between the letterbox bars; the show ends by itself at
# 235.8 s without a message, and leaves nothing behind.
source "$(dirname "$0")/lib.sh"
E2E_TIMEOUT=400 orvanta --windowed --res 640x480 --mode demo --fps --grab 10,40,90,200 --out "$scratch/shots"
run() { cat "$scratch/out"; }
show_end=$(run | sed -n 's/^[0-9]* frames in \([0-9.]*\) s.*/\1/p')
fps=$(run | sed -n 's/.*s: \([0-9.]*\) frames\/s$/\1/p')

check "demo to the end exits 0" [ "$rc" = 0 ]
check "music plays from the start" logged 'Music: playing "Msx\Orvanta by Brenholt.mp3" from 0.000 s'
check "the show ends by itself at 235.8 s" between "$show_end" 235.79 236.5
check "no message at the end of a demo" bash -c "! grep -q MessageBox: '$scratch/log'"
check "in real time, at more than 5 frames/s" more_than "$fps" 5
check "no object left at exit" grep -qx 'objects left: 0' <(run)
check "no device reference left at exit" grep -qx 'device references left: 0' <(run)
check "data folder removed" [ ! -e "$(temp_folder)/orvanta_data" ]

screen=640x336+0+72 centre=240x200+200+140
shot() { echo "$scratch/shots/ScreenShot_00$1.bmp"; }
bars_black() { less_than "$(bmp_mean "$1" 640x72+0+0)" 0.01 && less_than "$(bmp_mean "$1" 640x72+0+408)" 0.01; }
for i in 1 2 3 4; do check "letterbox bars in picture $i" bars_black "$(shot $i)"; done
check "tunnel at 10 s" between "$(blue "$(shot 1)" $screen)" 1.05 1.25
check "blob at 40 s" more_than "$(warm "$(shot 2)" $screen)" 0.02
check "station hall at 90 s" more_than "$(blue "$(shot 3)" $screen)" 1.3
check "star over the room at 200 s" more_than "$(warm "$(shot 4)" $centre)" 0.02
finish
