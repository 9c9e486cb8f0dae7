# Sourced by run.sh, test.sh and the test runners: a private Xvfb and a quiet, throw-away Wine.
#   orv_wine_env PREFIX   - exports the Wine environment (prefix, no debug output, null sound device)
#   orv_start_xvfb WxH    - starts Xvfb on a free display and exports DISPLAY
#   orv_wineserver_running - whether the prefix's wineserver runs
#   orv_wineserver_leaving - whether it runs only to end: no program of the prefix is left
#   orv_wineserver_settle - waits for a wineserver of the prefix that is on its way out to end
#   orv_wine ARGS...      - runs Wine once it has settled
#   orv_stop_xvfb         - stops the Xvfb started here, once the processes started on it have ended
#   orv_stop              - stops the wineserver of the prefix and the Xvfb started here
orv_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WINE=/usr/lib/wine/wine64

orv_wine_env() {
  export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # No sound card on a CI machine: ALSA's null device gives Wine a working output that discards the samples.
  local conf="$orv_root/tools/alsa-null.conf"
  [ -n "${ORVANTA_REAL_SOUND:-}" ] || export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$conf"
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$WINE" wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w
  fi
}

# A private prefix made from an initialised one in a moment: the system files are hard links
# (Wine never writes them in place), the registry is copied. A private prefix has its own
# wineserver, so programs on displays of other sizes cannot change the display modes it reports.
orv_private_prefix() { # template, new prefix
  mkdir -p "$2"
  cp -al "$1/drive_c" "$2/"
  cp -a "$1/dosdevices" "$1"/*.reg "$2/"
  [ ! -e "$1/.update-timestamp" ] || cp -a "$1/.update-timestamp" "$2/"
}

# The program and its package linked into a folder of their own, from which the program runs, so what
# it writes there (Results.htm, pictures) stays out of the build.
orv_program_folder() { # build folder (Orvanta.exe, Orvanta.pac), new folder
  mkdir -p "$2"
  ln -s "$(realpath "$1/Orvanta.exe")" "$(realpath "$1/Orvanta.pac")" "$2/"
}

orv_start_xvfb() {
  local size=${1:-1024x768} n
  for n in $(shuf -i 50-250 -n 40); do   # random, so parallel runs rarely try the same number
    [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] && continue
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    orv_xvfb_pid=$!
    for _ in $(seq 50); do
      kill -0 "$orv_xvfb_pid" 2>/dev/null || break   # lost the race for this number
      if [ -e /tmp/.X11-unix/X$n ]; then export DISPLAY=":$n"; orv_xvfb_display=":$n"; return 0; fi
      sleep 0.1
    done
    kill "$orv_xvfb_pid" 2>/dev/null || true
  done
  echo "Xvfb did not start" >&2; return 1
}

# Whether the wineserver of $WINEPREFIX runs.
orv_wineserver_running() {
  local f
  for f in $(grep -lzx "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null); do
    [[ $(cat "${f%environ}comm" 2>/dev/null) == wineserver* ]] && return 0
  done
  return 1
}

# Whether the prefix's wineserver runs with no program left but Wine's own services: it is then on its
# way out, and a program that joins it can lose its connection as it exits and end at once, silently,
# with exit code 0.
orv_wineserver_leaving() {
  local f exe server=false
  for f in $(grep -lzx "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null); do
    exe=$(readlink "${f%environ}exe" 2>/dev/null) || continue
    case $exe in
      */wineserver*) server=true ;;
      /usr/lib/wine/*)   # a program keeps the wineserver; Wine's own services end with it
        case $(cat "${f%environ}comm" 2>/dev/null) in
          services.exe | winedevice.exe | plugplay.exe | svchost.exe | explorer.exe | rpcss.exe | wineboot.exe | conhost.exe) ;;
          *) return 1 ;;
        esac ;;
    esac
  done
  $server
}

orv_wineserver_settle() { ! orv_wineserver_leaving || /usr/lib/wine/wineserver -w; }
orv_wine() { orv_wineserver_settle; "$WINE" "$@"; }

# Whether a process started on display $1 still runs: every process of a run inherits its DISPLAY
# (the Wine program, and the desktop and service processes of a wineserver the run started). The
# wineserver itself is no X client, and the search runs without the variable.
orv_display_in_use() {
  local f comm
  for f in $(env -u DISPLAY grep -lzx "DISPLAY=$1" /proc/[0-9]*/environ 2>/dev/null); do
    comm=$(cat "${f%environ}comm" 2>/dev/null) || continue
    [[ $comm == wineserver* ]] || return 0
  done
  return 1
}

# Xvfb goes last: a client still connected when it stops has Xlib print "X connection to :N broken"
# after the run's own lines. The wineserver ends its desktop and service processes a moment after the
# program; a display still in use after 15 s (a wineserver shared with a program started elsewhere
# keeps them) is stopped all the same.
orv_stop_xvfb() {
  [ -n "${orv_xvfb_pid:-}" ] || return 0
  local tries=150
  while [ $tries -gt 0 ] && orv_display_in_use "$orv_xvfb_display"; do
    sleep 0.1
    tries=$((tries - 1))
  done
  kill "$orv_xvfb_pid" 2>/dev/null || true
  orv_xvfb_pid=
}

orv_stop() {
  [ -n "${WINEPREFIX:-}" ] && /usr/lib/wine/wineserver -k 2>/dev/null || true
  orv_stop_xvfb
}
