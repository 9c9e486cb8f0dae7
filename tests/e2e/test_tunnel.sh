# The opening tunnel: seen from the first frames to 70.8 s, moving between two nearby times, lit
# right after the camera path jumps, and gone after 70.8 s.
source "$(dirname "$0")/lib.sh"

# 2.0/2.5: slow flight; 40: the first frame after the jump to path time 70 at 39.6 s;
# 55: slowing down; 70.5: the last moments; 71.5: after the scene's end.
orvanta --windowed --res 640x480 --mode benchmark --step 0.5 --grab 2,2.5,40,55,70.5,71.5 --quit-at 72 --out "$scratch/shots"
check "run exits 0" [ "$rc" = 0 ]
check "no message box" no_message_box
shot() { echo "$scratch/shots/ScreenShot_00$1.bmp"; }
for i in 1 2 3 4 5; do
  check "tunnel shown in picture $i" less_than 0.05 "$(bmp_mean "$(shot $i)")"
  check "tunnel walls textured in picture $i" less_than 0.05 "$(bmp_stddev "$(shot $i)")"
done
check "the flight moves between 2.0 and 2.5 s" more_than "$(bmp_difference "$(shot 1)" "$(shot 2)")" 0.05
# At 71.5 s the station's corridor has taken the whole picture over.
check "nothing of the tunnel after 70.8 s" more_than "$(bmp_difference "$(shot 5)" "$(shot 6)")" 0.1
finish
