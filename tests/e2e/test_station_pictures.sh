# The station scene: one picture per ship shading. Each shading must look different from the others
# where the ship stands (the scripted camera looks at the ship from 112.3 s on, so the ship covers
# the middle of the picture), and the scene must show more than a flat fill.
source "$(dirname "$0")/lib.sh"

# specular (on the camera path), toon, double reflection, pulse, hologram
times=(95 120 140 151 160)
orvanta --windowed --res 640x480 --mode benchmark --step 1 --grab 95,120,140,151,160 --quit-at 161 --out "$scratch/shots"
check "station run exits 0" [ "$rc" = 0 ]
check "no message box" no_message_box

shot() { printf '%s/shots/ScreenShot_%03d.bmp' "$scratch" $(($1 + 1)); }

middle=160x80+240+200   # where the ship stands while the camera circles it
centre=40x16+300+232
for i in 0 1 2 3 4; do
  check "picture at ${times[$i]} s grabbed" [ -f "$(shot $i)" ]
  check "scene drawn at ${times[$i]} s" more_than "$(bmp_stddev "$(shot $i)")" 0.05
done
for i in 0 1 2 3 4; do
  for j in $(seq $((i + 1)) 4); do
    check "shadings at ${times[$i]} s and ${times[$j]} s differ" more_than "$(bmp_difference "$(shot $i)" "$(shot $j)" $middle)" 0.08
  done
done
# During the orbit the ship alone fills the very centre: its colour changes with the shading.
for i in 1 2 3; do
  for j in $(seq $((i + 1)) 4); do
    check "ship at the centre changes from ${times[$i]} s to ${times[$j]} s" \
      more_than "$(bmp_difference "$(shot $i)" "$(shot $j)" $centre)" 0.1
  done
done
finish
