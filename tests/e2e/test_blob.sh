# The metaballs in the real program: drawn from 16.8 to 54.0 s, moving, and nowhere outside that
# window. A package whose colour ramp is pure magenta makes every pixel of the blob recognisable,
# whatever else the show draws at the same time.
source "$(dirname "$0")/lib.sh"

# Share (0..1) of the picture's pixels that are magenta.
magenta_share() {
  convert "$1" -fuzz 10% -fill black +opaque '#FF00FF' -fill white -opaque '#FF00FF' -colorspace gray \
    -format '%[fx:mean]' info:
}
lit_share() { convert "$1" -colorspace gray -threshold 10% -format '%[fx:mean]' info:; }  # brighter than 10 %
differing_pixels() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

orvanta --windowed --res 640x480 --mode benchmark --step 0.05 --grab 20 --quit-at 20.1 --out "$scratch/ramp"
check "run with the shipped ramp exits 0" [ "$rc" = 0 ]
check "blob not black with the shipped ramp" more_than "$(lit_share "$scratch/ramp/ScreenShot_001.bmp")" 0.01

cp -r "$build/data" "$scratch/magenta"
convert -size 256x1 xc:'#FF00FF' -type TrueColor BMP3:"$scratch/magenta/Blob/BlobColor.bmp"
pack "$scratch/magenta"
orvanta --windowed --res 640x480 --mode benchmark --step 0.05 --grab 16.7,20,20.1,52.9,54.1 --quit-at 54.2 \
  --out "$scratch/shots"
shot() { echo "$scratch/shots/ScreenShot_00$1.bmp"; }
check "magenta run exits 0" [ "$rc" = 0 ]
check "nothing of the blob before 16.8 s" [ "$(magenta_share "$(shot 1)")" = 0 ]
check "blob shown at 20 s" more_than "$(magenta_share "$(shot 2)")" 0.01
check "blob shown at 20.1 s" more_than "$(magenta_share "$(shot 3)")" 0.01
check "blob moves between 20 and 20.1 s" more_than "$(differing_pixels "$(shot 2)" "$(shot 3)")" 500
check "blob still shown at 52.9 s" more_than "$(magenta_share "$(shot 4)")" 0.01
check "nothing of the blob after 54 s" [ "$(magenta_share "$(shot 5)")" = 0 ]
finish
