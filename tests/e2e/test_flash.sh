# Full-screen flashes in the real program: a big flash at its peak whitens the picture, a small one
# to 70 %, the picture is clear again after the flash, and the show ends faded to black. Benchmark
# mode has no letterbox bars; the right third of the picture stays clear of the blob.
source "$(dirname "$0")/lib.sh"
right=200x480+440+0

# 0.05 s frames: the big flash (16.85 s) peaks at 16.95 s, the small one (25.0 s) at 25.1 s.
orvanta --windowed --res 640x480 --mode benchmark --step 0.05 --grab 16.95,17.6,25.1 --quit-at 25.2 --out "$scratch/shots"
check "flash run exits 0" [ "$rc" = 0 ]
check "big flash at its peak is near white" more_than "$(bmp_mean "$scratch/shots/ScreenShot_001.bmp" $right)" 0.9
peak=$(bmp_mean "$scratch/shots/ScreenShot_001.bmp" $right)
check "picture clear after the flash" less_than "$(bmp_mean "$scratch/shots/ScreenShot_002.bmp" $right)" "$(awk -v p="$peak" 'BEGIN { print p - 0.3 }')"
small=$(bmp_mean "$scratch/shots/ScreenShot_003.bmp" $right)
check "small flash at its peak is 70 % white" more_than "$small" 0.6
check "small flash is not a big one" less_than "$small" 0.8

# The fade to black runs from 233.8 to 234.8 s; the show ends at 235.8 s.
orvanta --windowed --res 640x480 --mode benchmark --step 0.25 --grab 235,235.5 --out "$scratch/end"
check "run to the end exits 0" [ "$rc" = 0 ]
check "black at the end of the fade" less_than "$(bmp_mean "$scratch/end/ScreenShot_001.bmp")" 0.01
check "black after the fade" less_than "$(bmp_mean "$scratch/end/ScreenShot_002.bmp")" 0.01
finish
