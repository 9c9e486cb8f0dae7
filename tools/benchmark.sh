#!/usr/bin/env bash
# Measures the benchmark on this machine. Runs it in real time at 640x480 in a window, between two runs
# of the bare Clear+Present loop on the same private display, so the ratio of the two stays meaningful
# on a busy machine, and prints per run: the frame rate of each section, the score, the start-up time
# (from entering the program to its first frame) with each of its steps, peak memory beside the bare
# loop's (the difference is the program's own share) and what was left at exit. With --profile also the share of the frame-loop
# thread's time spent in the program's own code (engine and scenes) and in D3DX per section, and the five
# functions of its own that cost most per frame; sampling costs a few per cent of the frame rate, so
# scores are compared without it.
#   tools/benchmark.sh [--runs N] [--until T] [--profile]
#     --until: end at show time T (then there is no score)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
runs=1 until= profile=false
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --until) until=$2; shift 2 ;;
    --profile) profile=true; shift ;;
    *) echo "usage: $0 [--runs N] [--until T] [--profile]" >&2; exit 2 ;;
  esac
done

"$here/build.sh" >/dev/null
build=$here/../build/x64
source "$here/wine-env.sh"
work=$(mktemp -d /tmp/orvanta-benchmark.XXXXXX)
orv_wine_env "$build/../wineprefix"
orv_private_prefix "$WINEPREFIX" "$work/prefix"
export WINEPREFIX=$work/prefix
trap 'orv_stop; rm -rf "$work"' EXIT
orv_start_xvfb 640x480

# bare: runs the bare loop for 10 s; its frame rate, device creation and peak memory go to $bare_out.
bare() { "$WINE" "$build/tests/bare_present.exe" 10 640x480 2>/dev/null | tr -d '\r' >"$work/bare_out"; }
bare_value() { sed -n "s/^$1: \([0-9.]*\).*/\1/p" "$work/bare_out"; }

# Show seconds of the three benchmark sections, as the program counts them.
sections="1 71 137 236"

for run in $(seq "$runs"); do
  bare; before=$(bare_value 'bare loop')
  orv_program_folder "$build" "$work/run$run"
  (ORVANTA_BIN=$work/run$run "$here/launch.sh" --mode benchmark --windowed --res 640x480 \
     --no-message-boxes --fps $($profile && echo --profile "$work/run$run/profile.txt") ${until:+--quit-at "$until"} \
     >"$work/run$run/out" 2>"$work/run$run/log") || true
  bare; after=$(bare_value 'bare loop')
  out=$work/run$run/out
  echo "== run $run"
  grep -E '^(section|start-up|device references|objects left)' "$out" | sed 's/^/  /'
  peak=$(sed -n 's/^peak memory: \([0-9]*\) MB/\1/p' "$out")
  bare_peak=$(bare_value 'peak memory')
  echo "  peak memory: ${peak:-?} MB; bare Clear+Present loop ${bare_peak:-?} MB (device created in" \
       "$(bare_value 'device creation') s), the program's own share $(( ${peak:-0} - ${bare_peak:-0} )) MB"
  score=$(sed -n 's/.*text "Your score is: \([0-9]*\)".*/\1/p' "$work/run$run/log")
  echo "  score: ${score:-none (show cut short)}"
  fps=$(sed -n 's/.*: \([0-9.]*\) frames\/s$/\1/p' "$out" | head -1)
  awk -v e="${fps:-0}" -v b="$before" -v a="$after" 'BEGIN {
    printf "  whole show %.1f frames/s; bare Clear+Present %.1f before, %.1f after: engine/bare %.3f\n",
           e, b, a, e / ((b + a) / 2) }'
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
