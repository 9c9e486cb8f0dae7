# The finale: the star above the room, and its reflection in the mirror floor below it. At 180 s the
# room camera looks at the star from its first shot; the star is drawn in its own colour, its mirrored
# copy shows through the tinted floor, darker than the star but redder than the bare floor.
source "$(dirname "$0")/lib.sh"

orvanta --windowed --res 640x480 --mode benchmark --step 1 --grab 180 --quit-at 181 --out "$scratch/shots"
check "run exits 0" [ "$rc" = 0 ]
shot=$scratch/shots/ScreenShot_001.bmp
check "picture grabbed" [ -f "$shot" ]

channel() { convert "$shot" -crop "$2" -format "%[fx:mean.$1]" info:; }
star=40x40+302+225 reflection=40x30+298+390 floor=30x30+380+420
check "star drawn in its own red" less_than "$(awk -v b="$(channel b $star)" 'BEGIN { print 2 * b }')" "$(channel r $star)"
check "star lit" less_than 0.3 "$(channel r $star)"
check "reflection darker than the star" less_than "$(bmp_mean "$shot" $reflection)" "$(bmp_mean "$shot" $star)"
check "reflection shows on the floor" less_than "$(awk -v r="$(channel r $floor)" 'BEGIN { print 1.3 * r }')" "$(channel r $reflection)"
check "reflection not empty" less_than 0.05 "$(bmp_mean "$shot" $reflection)"
finish
