# Window, device, frame loop, present, automation clock, grab and quit work headless.
source "$(dirname "$0")/lib.sh"

start=$(date +%s)
orvanta --windowed --res 640x480 --step 0.04 --grab 0.5 --quit-at 1.0 --out "$scratch/shots"
check "exits 0" [ "$rc" = 0 ]
check "within a minute" [ $(( $(date +%s) - start )) -lt 60 ]
shot=$scratch/shots/ScreenShot_001.bmp
check "grab written" [ -f "$shot" ]
check "640x480 picture" [ "$(bmp_size "$shot")" = "640 480" ]
check "uniform bar over the scene" less_than "$(bmp_stddev "$shot" 640x72+0+0)" 0.01

finish
