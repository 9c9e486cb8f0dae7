# The application's start-up and end: the package is unpacked and removed after loading, the music
# plays from the first frame, the letterbox bars frame the picture, and bad packages stop the start
# with their message.
source "$(dirname "$0")/lib.sh"

orvanta --windowed --res 640x480 --step 0.1 --grab 1 --quit-at 3 --out "$scratch/shots"
check "demo run exits 0" [ "$rc" = 0 ]
check "music plays" logged 'Music: playing "Msx\Orvanta by Brenholt.mp3" from 0.000 s'
check "data folder removed after loading" [ ! -e "$(temp_folder)/orvanta_data" ]
shot=$scratch/shots/ScreenShot_001.bmp
check "picture grabbed" [ -f "$shot" ]
check "top bar black" less_than "$(bmp_mean "$shot" 640x72+0+0)" 0.01
check "bottom bar black" less_than "$(bmp_mean "$shot" 640x72+0+408)" 0.01
check "no report in demo mode" [ ! -e "$ORVANTA_BIN/Results.htm" ]

mkdir -p "$scratch/mono/Msx"
cp "$build/tests/music/mono.mp3" "$scratch/mono/Msx/Orvanta by Brenholt.mp3"
pack "$scratch/mono"
orvanta --windowed --res 640x480 --step 0.1 --quit-at 1 --grab 0 --out "$scratch/mono-shots"
check "mono soundtrack refused" logged 'text "Only stereo sources are supported"'
check "nothing shown with a mono soundtrack" [ ! -e "$scratch/mono-shots/ScreenShot_001.bmp" ]
check "data folder removed after a failed start" [ ! -e "$(temp_folder)/orvanta_data" ]

rm "$ORVANTA_BIN/Orvanta.pac"
orvanta --windowed --res 640x480 --quit-at 1
check "missing package reported" logged "caption \"Extracting package\", text \"Package file 'Orvanta.pac' doesn't exist\""
finish
