#!/usr/bin/env bash
# Measures the benchmark on this machine. Runs it in real time at 640x480 in a window, between two runs
# of the bare Clear+Present loop on the same private display, so the ratio of the two stays meaningful
# on a busy machine, and prints per run: the frame rate of each section, the score, start-up time (from
# entering the program to its first frame) with each of its steps, peak memory beside the bare loop's
# (the difference is the program's own share), what was left at exit, and from the run's frame log (--frame-log) the 1 % and
# 0.1 % lows, the frame-time percentiles and the longest frame (tools/benchstats.py says how they are
# counted). Over two runs or more it prints how far the runs lie apart and whether they are stable. With
# --profile also the share of the frame-loop thread's time spent in the program's own code (engine and
# scenes) and in D3DX per section, and the five functions of its own that cost most per frame; sampling
# costs a few per cent of the frame rate, so scores are compared without it.
#   tools/benchmark.sh [--runs N] [--until T] [--profile] [--json FILE] [--plot FILE.png] [--plot-size WxH]
#     --until: end at show time T (then there is no score)
#     --json: every figure of every run, the stability and the machine (CPU, Wine, Direct3D adapter,
#             resolution, mode) as JSON
#     --plot: frame time over show time of every run, sections and scenes marked (default size 1200x500)
#   For checking this script quickly: --step S (a stepped clock, S show seconds per frame: the figures
#   then say nothing about speed), --bare S (seconds of each bare loop, default 10).
# Environment: ORVANTA_BUILD, a built tree's build/x64 to measure as it is (default: build this one);
# WINEPREFIX, an initialised prefix each run's own prefix is made from (default: build/wineprefix).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
runs=1 until= profile=false json= plot= plot_size=1200x500 step= bare_seconds=10
usage="usage: $0 [--runs N] [--until T] [--profile] [--json FILE] [--plot FILE.png] [--plot-size WxH] [--step S] [--bare S]"
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || case $1 in --profile) ;; *) echo "$usage" >&2; exit 2 ;; esac
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --until) until=$2; shift 2 ;;
    --profile) profile=true; shift ;;
    --json) json=$(realpath -m "$2"); shift 2 ;;
    --plot) plot=$(realpath -m "$2"); shift 2 ;;
    --plot-size) plot_size=$2; shift 2 ;;
    --step) step=$2; shift 2 ;;
    --bare) bare_seconds=$2; shift 2 ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
[[ $runs =~ ^[1-9][0-9]*$ && $plot_size =~ ^[0-9]+x[0-9]+$ ]] || { echo "$usage" >&2; exit 2; }
python=/usr/bin/python3   # Debian's, with the packages of tools/setup.sh

if [ -n "${ORVANTA_BUILD:-}" ]; then
  build=$(cd "$ORVANTA_BUILD" && pwd)
else
  "$here/build.sh" >/dev/null
  build=$here/../build/x64
fi
source "$here/wine-env.sh"
work=$(mktemp -d /tmp/orvanta-benchmark.XXXXXX)
orv_wine_env "${WINEPREFIX:-$build/../wineprefix}"   # the template of the runs' private prefix
orv_private_prefix "$WINEPREFIX" "$work/prefix"
export WINEPREFIX=$work/prefix
trap 'orv_stop; rm -rf "$work"' EXIT
orv_start_xvfb 640x480

# bare: runs the bare loop; its frame rate, device creation, peak memory and the Direct3D adapter it
# ran on go to $work/bare_out.
bare() {
  orv_wine "$build/tests/bare_present.exe" "$bare_seconds" 640x480 2>/dev/null | tr -d '\r' >"$work/bare_out" || true
  sed -n 's/^adapter: //p' "$work/bare_out" >"$work/adapter"
}
bare_value() { sed -n "s/^$1: \([0-9.]*\).*/\1/p" "$work/bare_out"; }

# Show seconds of the three benchmark sections, as the program counts them.
sections="1 71 137 236"

for run in $(seq "$runs"); do
  bare; before=$(bare_value 'bare loop')
  orv_program_folder "$build" "$work/run$run"
  (ORVANTA_BIN=$work/run$run "$here/launch.sh" --mode benchmark --windowed --res 640x480 \
     --no-message-boxes --fps $($profile && echo --profile "$work/run$run/profile.txt") ${until:+--quit-at "$until"} \
     ${step:+--step "$step"} --frame-log "$work/run$run/frames.csv" \
     >"$work/run$run/out" 2>"$work/run$run/log") || true
  bare; after=$(bare_value 'bare loop')
  echo "${before:-0} ${after:-0}" >"$work/run$run/bare"
  out=$work/run$run/out
  echo "== run $run"
  grep -E '^(section|start-up|device references|objects left)' "$out" | sed 's/^/  /'
  peak=$(sed -n 's/^peak memory: \([0-9]*\) MB/\1/p' "$out")
  bare_peak=$(bare_value 'peak memory')
  echo "  peak memory: ${peak:-?} MB; bare Clear+Present loop ${bare_peak:-?} MB (device created in" \
       "$(bare_value 'device creation') s), the program's own share $(( ${peak:-0} - ${bare_peak:-0} )) MB"
  if [ -s "$work/run$run/frames.csv" ]; then
    echo "  $("$python" "$here/benchstats.py" frames "$work/run$run/frames.csv")"
  fi
  score=$(sed -n 's/.*text "Your score is: \([0-9]*\)".*/\1/p' "$work/run$run/log")
  echo "  score: ${score:-none (show cut short)}"
  if [ -f "$work/run$run/Results.htm" ]; then   # the report's own figures
    grep -o "[A-Z][a-z]* frames per second</td><td class='r'>[0-9]* FPS" "$work/run$run/Results.htm" |
      sed "s/ frames per second<\/td><td class='r'>\([0-9]*\) FPS/ \1/" | tr 'A-Z\n' 'a-z ' |
      awk '{ printf "  report: average %s, minimum %s, maximum %s frames/s\n", $2, $4, $6 }'
  fi
  fps=$(sed -n 's/.*: \([0-9.]*\) frames\/s$/\1/p' "$out" | head -1)
  awk -v e="${fps:-0}" -v b="${before:-0}" -v a="${after:-0}" 'BEGIN {
    printf "  whole show %.1f frames/s; bare Clear+Present %.1f before, %.1f after: engine/bare %.3f\n",
           e, b, a, (b + a) ? e / ((b + a) / 2) : 0 }'
  $profile || continue
  gawk -v bounds="$sections" '
    $1 == "second" { own[$2] += $3; d3dx[$2] += $4; all[$2] += $5 }
    END {
      n = split(bounds, b, " ")
      for (i = 1; i < n; ++i) {
        o = d = a = 0
        for (s = b[i]; s < b[i + 1]; ++s) { o += own[s]; d += d3dx[s]; a += all[s] }
        if (a) printf "  section %d: own code %.1f %%, D3DX %.1f %% of the frame loop'"'"'s time (%d samples)\n",
                      i, 100 * o / a, 100 * d / a, a
      }
    }' "$work/run$run/profile.txt"
  # Samples at code addresses, added up per function (the nearest symbol below), as time per frame.
  frames=$(sed -n 's/^\([0-9]*\) frames in.*/\1/p' "$out")
  seconds=$(sed -n 's/^[0-9]* frames in \([0-9.]*\) s.*/\1/p' "$out")
  x86_64-w64-mingw32-nm -C -n --defined-only "$build/Orvanta.exe" | awk '$2 ~ /^[tT]$/' |
    gawk -v frames="${frames:-1}" -v seconds="${seconds:-1}" -v profile="$work/run$run/profile.txt" '
      BEGIN {
        while ((getline line < profile) > 0) {
          split(line, f, " ")
          if (f[1] == "image") base = strtonum(f[2])
          else if (f[1] == "second") total += f[5]
          else if (f[1] == "address") hits[base + strtonum(f[2])] = f[3]
        }
      }
      { addr[NR] = strtonum("0x" $1); $1 = $2 = ""; name[NR] = substr($0, 3) }
      END {
        # symbols come sorted by address
        for (a in hits) {
          lo = 1; hi = NR
          while (lo < hi) { mid = int((lo + hi + 1) / 2); if (addr[mid] <= a + 0) lo = mid; else hi = mid - 1 }
          cost[name[lo]] += hits[a]
        }
        if (!total) exit
        per_sample = seconds / total   # s of wall time per sample
        printf "  top functions of its own (microseconds per frame, share of the frame loop):\n"
        for (k = 0; k < 5; ++k) {
          best = ""; for (fn in cost) if (best == "" || cost[fn] > cost[best]) best = fn
          if (best == "") break
          printf "    %8.1f us  %5.2f %%  %s\n", 1e6 * cost[best] * per_sample / frames, 100 * cost[best] / total, best
          delete cost[best]
        }
      }'
done

folders=()
for run in $(seq "$runs"); do folders+=("$work/run$run"); done
mode="benchmark, windowed, frames presented immediately, $([ -n "$step" ] && echo "stepped clock ($step s a frame)" || echo "real time")${until:+, ended at $until s}"
"$python" "$here/benchstats.py" summary ${json:+--json "$json"} --adapter "$(cat "$work/adapter")" \
  --wine "$("$WINE" --version 2>/dev/null)" --resolution 640x480 --mode "$mode" "${folders[@]}"
if [ -n "$plot" ]; then
  logs=()
  for f in "${folders[@]}"; do [ -s "$f/frames.csv" ] && logs+=("$f/frames.csv"); done
  if [ ${#logs[@]} -gt 0 ]; then
    "$python" "$here/benchplot.py" "$plot" "$plot_size" \
      "Orvanta benchmark at 640x480, $runs run$([ "$runs" = 1 ] || echo s), $(nproc) cores: frame time over show time" "${logs[@]}"
    echo "plot: $plot"
  else
    echo "no plot: no run left a frame log" >&2
  fi
fi
[ -z "$json" ] || echo "figures: $json"
