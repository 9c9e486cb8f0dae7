# The 2D overlays in the rendered show (640 x 480, no letterbox bars in benchmark mode): the logo fading
# in and flashing in the centre, the shader captions flush with the top-right corner, the greetings
# strips, and the credits plates at the lower left.
source "$(dirname "$0")/lib.sh"

times=60,68,71,108.15,130,133.3,181.5,184
orvanta --windowed --res 640x480 --mode benchmark --step 0.1 --grab $times --quit-at 184.1 --out "$scratch/shots"
check "benchmark run exits 0" [ "$rc" = 0 ]
check "no message box" no_message_box

# The same frames with every overlay picture fully transparent: the difference is the overlays alone.
cp -r "$build/data" "$scratch/bare"
for f in "$scratch"/bare/{Logo,Credits,Shader}/*.tga; do convert "$f" -auto-orient -channel A -evaluate set 0 +channel "$f"; done
pack "$scratch/bare"
orvanta --windowed --res 640x480 --mode benchmark --step 0.1 --grab $times --quit-at 184.1 --out "$scratch/bare-shots"
for i in 1 2 3 4 5 6 7 8; do
  f=ScreenShot_00$i.bmp
  check "picture $i grabbed" [ -f "$scratch/shots/$f" ] && [ -f "$scratch/bare-shots/$f" ]
  convert "$scratch/shots/$f" "$scratch/bare-shots/$f" -compose difference -composite "$scratch/overlay_$i.bmp"
done
shot() { echo "$scratch/overlay_$1.bmp"; }
dark() { less_than "$(bmp_mean "$1" "$2")" 0.002; }

logo=320x100+160+190   # the lettering of a 320 x 160 logo centred at (320, 240)
half=$(bmp_mean "$(shot 1)" $logo) full=$(bmp_mean "$(shot 2)" $logo)
check "logo half faded in at 60 s" more_than "$half" 0.02
check "logo opaque at 68 s" more_than "$full" "$(awk -v h="$half" 'BEGIN { print 1.5 * h }')"
check "logo centred" dark "$(shot 2)" 640x150+0+0
check "nothing below the logo" dark "$(shot 2)" 640x150+0+330
check "logo hidden at 71 s" dark "$(shot 3)" 640x480+0+0

greet=$(shot 4)
check "lower greetings strip" more_than "$(bmp_mean "$greet" 640x26+0+360)" 0.05
check "upper greetings strip" more_than "$(bmp_mean "$greet" 640x26+0+94)" 0.05
check "nothing between the strips" dark "$greet" 640x230+0+125

caption=$(shot 5)   # toon caption: 204.8 x 51.2 pixels at (435.2, 38.4)
check "caption in the top-right corner" more_than "$(bmp_mean "$caption" 200x46+438+40)" 0.05
check "nothing left of the caption" dark "$caption" 425x100+0+0
check "nothing above the caption" dark "$caption" 640x36+0+0
check "nothing below the caption" dark "$caption" 640x380+0+92

flash=$(shot 6)
check "logo flashes in the centre" more_than "$(bmp_mean "$flash" $logo)" 0.01  # added light over the bright hall
check "caption switched and shown with the flash" more_than "$(bmp_mean "$flash" 200x46+438+40)" 0.05
check "flash leaves the rest dark" dark "$flash" 640x150+0+330

plate=$(shot 7)   # first plate: 409.6 x 102.4 pixels from (0, 302.4)
shown=$(bmp_mean "$plate" 400x80+0+312)
check "credits plate at the lower left" more_than "$shown" 0.05
check "nothing right of the plate" dark "$plate" 220x480+420+0
check "nothing above the plate" dark "$plate" 640x300+0+0
check "nothing below the plate" dark "$plate" 640x70+0+410
check "plate fading out at 184 s" less_than "$(bmp_mean "$(shot 8)" 400x80+0+312)" \
  "$(awk -v s="$shown" 'BEGIN { print 0.6 * s }')"
finish
