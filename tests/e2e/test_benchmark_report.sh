# A benchmark run to the end writes its report; the deterministic clock makes the figures exact.
source "$(dirname "$0")/lib.sh"
report=$ORVANTA_BIN/Results.htm

orvanta --windowed --res 640x480 --mode benchmark --step 1 --grab 235 --out "$scratch/shots"
check "benchmark to the end exits 0" [ "$rc" = 0 ]
check "report written" [ -f "$report" ]
check "report is one line" [ "$(wc -l < "$report")" = 0 ]
# 1 s frames: sections of 70, 66 and 100 frames; 237 frames from show time 0 to 236.
check "score of the section frames" grep -qF "<td class='l'>Score</td><td class='r'>78</td>" "$report"
check "every frame counted" grep -qF "<td class='l'>Total frames rendered</td><td class='r'>237</td>" "$report"
check "graphics card named" grep -qE "Graphics card</td><td class='r'>[^<]+</td>" "$report"
check "the results dialog shows the reported score" logged 'caption "Results", text "Your score is: 78"'
check "frame counter drawn in the top-left corner" more_than "$(bmp_max "$scratch/shots/ScreenShot_001.bmp" 90x24+8+8)" 0.6
check "creation line" grep -qE "Created: [0-9]{1,2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}<br>" "$report"

rm -f "$report"
orvanta --windowed --res 640x480 --mode benchmark --step 1 --quit-at 100
check "no report after an early end" [ ! -e "$report" ]
check "early end reported" logged 'text "Benchmark aborted!"'

orvanta --windowed --res 640x480 --mode demo --step 1 --quit-at 10
check "a demo cut short says so" logged 'text "Demo aborted!"'
finish
