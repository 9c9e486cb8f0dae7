#!/usr/bin/env bash
# Runs the built program under Wine with the given options, from the folder that holds Orvanta.pac.
# With no DISPLAY it starts a private Xvfb of the chosen resolution (a display mode must exist at the
# size of the device, windowed too) and turns message boxes into log lines, so nothing blocks; --help
# needs no display.
# Environment: ORVANTA_BIN (folder of Orvanta.exe, default build/x64), WINEPREFIX (default build/wineprefix).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
bin=${ORVANTA_BIN:-$orv_root/build/x64}

res=1024x768 help=0 args=()
while [ $# -gt 0 ]; do
  case $1 in
    --res) res=${2:-}; args+=("$1" "${2:-}"); shift 2 || shift ;;
    --out) # a Unix path becomes the Windows path of the same folder (Wine maps Z: to /)
      dir=$(realpath -m "${2:-.}"); mkdir -p "$dir"; args+=(--out "Z:${dir//\//\\}"); shift 2 || shift ;;
    --profile) file=$(realpath -m "${2:-profile.txt}"); args+=(--profile "Z:${file//\//\\}"); shift 2 || shift ;;
    --frame-log) file=$(realpath -m "${2:-frames.csv}"); args+=(--frame-log "Z:${file//\//\\}"); shift 2 || shift ;;
    --capture) # a FIFO: a missing value is left to the program to name
      if [[ ${2:-} && $2 != --* ]]; then file=$(realpath -m "$2"); args+=(--capture "Z:${file//\//\\}"); shift 2
      else args+=("$1"); shift; fi ;;
    --help) help=1; args+=("$1"); shift ;;
    *) args+=("$1"); shift ;;
  esac
done

orv_wine_env "${WINEPREFIX:-$orv_root/build/wineprefix}"
if [ -z "${DISPLAY:-}" ] && [ $help = 0 ]; then
  [[ $res =~ ^[0-9]+x[0-9]+$ ]] || res=1024x768   # the program itself refuses a bad value
  # The prefix's wineserver outlives a run by a few seconds and keeps reporting the display modes of
  # that run's display: a run at another size waits for it to end.
  if orv_wineserver_running && [ "$(cat "$WINEPREFIX/.orvanta-display" 2>/dev/null)" != "$res" ]; then
    /usr/lib/wine/wineserver -w
  fi
  echo "$res" >"$WINEPREFIX/.orvanta-display"
  orv_start_xvfb "$res"
  args+=(--no-message-boxes)
fi
trap orv_stop_xvfb EXIT   # the wineserver may serve other programs of the prefix (parallel tests)
# A wineserver started without a display keeps a display-less desktop for a few seconds after the
# program ends; a run started meanwhile would join it and find no display. So a --help that starts
# the prefix's wineserver waits for it to end.
cold=false
[ $help = 0 ] || orv_wineserver_running || cold=true
cd "$bin"
set +e
orv_wine Orvanta.exe "${args[@]}" | tr -d '\r'   # Wine writes text-mode lines
rc=$?
! $cold || /usr/lib/wine/wineserver -w
exit $rc
