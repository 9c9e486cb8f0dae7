# Shared by the end-to-end tests: run the real program headless and look at what it leaves.
# Each test gets its own scratch folder and its own Xvfb (sized to the resolution it asks for).
set -euo pipefail
e2e_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:?folder of Orvanta.exe}" && pwd)
scratch=$(mktemp -d /tmp/orvanta-e2e.XXXXXX)
# The program runs from a folder of its own, so what it writes (Results.htm) stays in the scratch folder.
source "$e2e_root/tools/wine-env.sh"
export ORVANTA_BIN=$scratch/bin
orv_program_folder "$build" "$ORVANTA_BIN"
orv_wine_env "${WINEPREFIX:-$e2e_root/build/wineprefix}"    # initialised once, shared read-only
orv_private_prefix "$WINEPREFIX" "$scratch/prefix"
export WINEPREFIX=$scratch/prefix
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
failures=0

# orvanta ARGS... : runs the program headless; stderr (the message-box log) goes to $scratch/log,
# the exit code to $rc. A run that crashes leaves a core where the system writes one into the folder
# the program ran from: the stacks of its threads go to the log, so that a crash on another machine
# says where it happened.
orvanta() {
  set +e
  (ulimit -c unlimited 2>/dev/null; exec env -u DISPLAY timeout "${E2E_TIMEOUT:-120}" "$e2e_root/tools/launch.sh" "$@") \
    >"$scratch/out" 2>"$scratch/log"
  rc=$?
  set -e
  log_shown=false
  local core
  for core in "$ORVANTA_BIN"/core*; do
    [ -f "$core" ] || continue
    echo "--- $(basename "$core"): the stacks of the crashed program" >>"$scratch/log"
    ! command -v gdb >/dev/null ||
      gdb -batch -ex "thread apply all bt 12" /usr/lib/wine/wine64 "$core" 2>&1 | grep -E '^(Thread|#)' >>"$scratch/log"
    rm -f "$core"
  done
}

check() { # description, command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); show_log; fi
}
# The output and log of the run a check failed on, once per run.
log_shown=false
show_log() {
  $log_shown && return
  log_shown=true
  echo "--- program output"; cat "$scratch/out" 2>/dev/null || true
  echo "--- program log"; cat "$scratch/log" 2>/dev/null || true
}

logged() { grep -qF -- "$1" "$scratch/log"; }
# No message box but the end-of-run ones (an early end says "... aborted!", a full benchmark its score).
no_message_box() { ! grep 'MessageBox:' "$scratch/log" | grep -vqE 'text "(Benchmark|Demo) aborted!"|caption "Results"'; }
# The user's temporary folder (GetTempPath) as a Unix path: the TEMP value of the prefix's user.reg.
temp_folder() {
  local t
  t=$(sed -n 's/^"TEMP"="\(.*\)"$/\1/p' "$WINEPREFIX/user.reg" | head -n 1)
  t=${t//\\\\//}   # C:\\users\\me\\Temp -> C:/users/me/Temp
  echo "$WINEPREFIX/drive_c${t#[Cc]:}"
}

# pack DIR: replaces the program's package with one made from DIR by the build's package writer.
pack() { rm -f "$ORVANTA_BIN/Orvanta.pac"; "$build/host/pack/orvanta_pack" "$1" "$ORVANTA_BIN/Orvanta.pac"; }
bmp_size() { identify -format '%w %h' "$1"; }
# mean and standard deviation (0..1) of a region WxH+X+Y, or of the whole picture
bmp_mean() { convert "$1" ${2:+-crop "$2"} -colorspace gray -format '%[fx:mean]' info:; }
# mean absolute difference of two pictures, 0..1, optionally inside a region WxH+X+Y
bmp_difference() { compare -metric MAE ${3:+-extract "$3"} "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\))/\1/'; }
bmp_max() { convert "$1" ${2:+-crop "$2"} -colorspace gray -format '%[fx:maxima]' info:; }
bmp_stddev() { convert "$1" ${2:+-crop "$2"} -colorspace gray -format '%[fx:standard_deviation]' info:; }
# Fraction of the picture (or of a region) whose red exceeds its blue by a quarter: the blob, the star.
warm() { convert "$1" ${2:+-crop "$2"} -separate -delete 1 -compose minus_src -composite -threshold 25% -format '%[fx:mean]' info:; }
# mean blue over mean red: 1.1 to 1.2 in the grey tunnel, above 1.3 in the station's hall and the room
blue() { convert "$1" ${2:+-crop "$2"} -format '%[fx:mean.b / max(mean.r, 0.001)]' info:; }
between() { more_than "$1" "$2" && less_than "$1" "$3"; }
# a < b, a > b: false unless the measurement a is a number (a missing picture gives an error message)
less_than() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a == a + 0 && a < b) }'; }
more_than() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a == a + 0 && a > b) }'; }

finish() {
  if [ $failures -gt 0 ]; then
    show_log
    exit 1
  fi
}
