#!/usr/bin/env bash
# The figures around the benchmark: the frame log holds every frame the program counts, in the section
# the benchmark counts it for, and tools/benchmark.sh turns the logs of its runs into JSON and a plot.
# Stepped clocks keep both short: the show's sections begin at 1, 71 and 137 s.
source "$(dirname "$0")/lib.sh"
py=/usr/bin/python3

# A stepped benchmark past the start of the third section, small and with a large step: 277 frames.
orvanta --mode benchmark --windowed --res 320x240 --step 0.5 --quit-at 138 --fps --frame-log "$scratch/frames.csv"
log=$scratch/frames.csv
check "stepped run: exits 0" [ "$rc" = 0 ]
check "frame log written" [ -s "$log" ]
check "frame log: the header" [ "$(head -n 1 "$log")" = "frame,show_time_s,frame_time_ms,section" ]
check "frame log: a line per frame counted" \
  [ "$(($(wc -l <"$log") - 1))" = "$(sed -n 's/^\([0-9]*\) frames in .*/\1/p' "$scratch/out")" ]
for s in 1 2 3; do
  check "frame log: the frames of section $s as --fps counts them" \
    [ "$(awk -F, -v s=$s 'NR > 1 && $4 == s' "$log" | wc -l)" = \
      "$(sed -n "s/^section $s (.*): \([0-9]*\) frames.*/\1/p" "$scratch/out")" ]
done
# Each frame's section and time as "section@time" where the section changes, and the frame numbers.
check "frame log: sections switch at 1, 71 and 137 s" \
  [ "$(awk -F, 'NR == 2 || (NR > 2 && $4 != last) { printf "%s%d@%s", sep, $4, $2; sep = " "; last = $4 }' "$log")" = \
    "0@0.000000 1@1.000000 2@71.000000 3@137.000000" ]
check "frame log: numbered 1, 2, 3 ... and half a second apart" \
  awk -F, 'NR > 1 && ($1 != NR - 1 || $2 != ($1 - 1) * 0.5 || (NR > 2 && $3 != 500)) { bad = 1 } END { exit bad }' "$log"

# Two whole stepped benchmark runs through the script, with a short bare loop: a score and a report each.
set +e
ORVANTA_BUILD=$build WINEPREFIX=$scratch/prefix env -u DISPLAY timeout 300 "$e2e_root/tools/benchmark.sh" --runs 2 --step 2 --bare 1 \
  --json "$scratch/figures.json" --plot "$scratch/plot.png" --plot-size 640x320 >"$scratch/bench" 2>&1
rc=$?
set -e
check "benchmark.sh: exits 0" [ "$rc" = 0 ]
check "benchmark.sh: prints the lows of each run" [ "$(grep -c '^  1 % low 0.5 frames/s, 0.1 % low 0.5 frames/s;' "$scratch/bench")" = 2 ]
check "benchmark.sh: prints the stability" grep -q '^  worst run 100.0 % of the best (score): stable' "$scratch/bench"
check "plot: a PNG of 640x320" [ "$(identify -format '%m %w %h' "$scratch/plot.png" 2>&1)" = "PNG 640 320" ]
# Every field, with what a stepped run of 2 s a frame must give (118 frames in each run) or, for what
# the clock of the machine measures, a plausible range.
check "JSON: every field, plausible" "$py" - "$scratch/figures.json" <<'EOF'
import json, sys
d = json.load(open(sys.argv[1]))
m, runs, s = d["machine"], d["runs"], d["stability"]
fail = []
def want(what, ok):
    if not ok: fail.append(what)
want("machine", m["cpu_model"] and m["cpu_cores"] >= 1 and m["wine_version"].startswith("wine-") and m["adapter"]
     and m["resolution"] == "640x480" and "stepped" in m["mode"])
want("two runs", len(runs) == 2)
for r in runs:
    want("sections", all(abs(f - 0.5) < 0.03 for f in r["section_fps"]))
    want("score", r["score"] == runs[0]["score"] and 30 < r["score"] < 50)
    # half-second windows of one frame each (2 frames/s), but the first holds the frames at 0 and 2 s
    want("report", (r["average_fps"], r["min_fps"], r["max_fps"]) == (0, 2, 4))
    want("lows", r["low_1pct_fps"] == r["low_0_1pct_fps"] == 0.5)
    want("percentiles", r["frame_time_p50_ms"] == r["frame_time_p95_ms"] == r["frame_time_p99_ms"]
         == r["longest_frame_ms"] == 2000)
    want("start-up", 0 < r["startup_s"] < 120)
    want("memory", 20 < r["peak_memory_mb"] < 4000)
    want("bare loop", r["bare_fps_before"] > 1 and r["bare_fps_after"] > 1)
    want("ratio", 0 < r["engine_bare_ratio"] < 1)
want("stability", s["runs"] == 2 and s["score_spread"] == 0 and s["section_spread"] == [0, 0, 0]
     and s["verdict"] == "stable" and s["worst_to_best"] == 1)
print("JSON:", ", ".join(fail) or "all fields")
sys.exit(1 if fail else 0)
EOF
[ $failures = 0 ] || cat "$scratch/bench"
finish
