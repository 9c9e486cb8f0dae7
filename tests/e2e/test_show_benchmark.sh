# The whole show as a benchmark on the deterministic clock, through the contact-sheet script: 24 show
# times, each checked for the scene that must be visible then (coarse colour and coverage, not pixels),
# a report at the end and nothing left behind.
source "$(dirname "$0")/lib.sh"
keep=$scratch/sheet
"$e2e_root/tools/contact-sheet.sh" --keep "$keep" "$scratch/sheet.png" >/dev/null 2>&1 || true
cp "$keep/log.txt" "$scratch/log" 2>/dev/null || true
run() { cat "$keep/run.txt"; }

check "contact sheet of 24 tiles, six across" [ "$(bmp_size "$scratch/sheet.png" 2>/dev/null | cut -d' ' -f1)" = 1968 ]
check "the show ends at 235.8 s" grep -qx '945 frames in 236.00 s: 4.0 frames/s' <(run)
check "report written" [ -f "$keep/Results.htm" ]
check "score shown, no other message" bash -c "grep -qF 'caption \"Results\"' '$scratch/log' && [ \$(grep -c MessageBox: '$scratch/log') = 1 ]"
check "no object left at exit" grep -qx 'objects left: 0' <(run)
check "no device reference left at exit" grep -qx 'device references left: 0' <(run)
check "data folder removed" [ ! -e "$(temp_folder)/orvanta_data" ]


expect() { # time, picture, what must be visible
  local t=$1 f=$2 what=$3 ok=true
  case $what in
    tunnel)   between "$(bmp_mean "$f")" 0.05 0.6 && less_than "$(warm "$f")" 0.015 &&
              between "$(blue "$f")" 1.05 1.25 && more_than "$(bmp_stddev "$f")" 0.05 || ok=false ;;
    blob)     more_than "$(warm "$f")" 0.025 && more_than "$(warm "$f" 240x240+200+120)" 0.05 || ok=false ;;
    flash)    more_than "$(bmp_mean "$f")" 0.85 || ok=false ;;
    logo)     less_than "$(bmp_mean "$f")" 0.25 && more_than "$(bmp_max "$f" 320x60+160+200)" 0.9 || ok=false ;;
    station)  between "$(bmp_mean "$f")" 0.1 0.6 && more_than "$(blue "$f")" 1.1 && less_than "$(warm "$f")" 0.05 &&
              more_than "$(bmp_stddev "$f")" 0.05 || ok=false ;;
    hall)     more_than "$(blue "$f")" 1.3 || ok=false ;;
    star)     more_than "$(blue "$f")" 1.1 && more_than "$(warm "$f" 240x240+200+120)" 0.02 || ok=false ;;
    credits)  more_than "$(bmp_max "$f" 240x60+0+340)" 0.8 || ok=false ;;
    black)    less_than "$(bmp_mean "$f")" 0.01 || ok=false ;;
  esac
  $ok
}

i=0
while read -r t kinds; do
  i=$((i + 1))
  f=$keep/$(printf 'ScreenShot_%03d.bmp' $i)
  if [ ! -f "$f" ]; then check "picture at $t s" false; continue; fi
  for k in $kinds; do check "$k at $t s" expect "$t" "$f" "$k"; done
  [ "$kinds" = black ] || check "frame counter at $t s" more_than "$(bmp_max "$f" 90x24+8+8)" 0.6
done <<'EOF'
5 tunnel
12 tunnel
16.9 flash blob
22 blob
35 blob
45 blob
60 logo
68 logo
74 station
80 station
90 station hall
100 station
108 station hall
118 station hall
131 station hall
140 station hall
152 station hall
160 station hall
172 station hall
183 star credits
200 star
215 star
226 star
235.5 black
EOF
finish
