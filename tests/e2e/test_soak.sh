# Whole stepped benchmark runs one after another in one Wine prefix (ten by default; ORVANTA_SOAK_RUNS
# sets another number): each gives the same score and the same report apart from its date, no run's
# peak memory grows past the first one's, and nothing is left in the temporary folder.
source "$(dirname "$0")/lib.sh"
report=$ORVANTA_BIN/Results.htm
runs=${ORVANTA_SOAK_RUNS:-10}
temp=$(temp_folder)
check "temporary folder found" [ -d "$temp" ]
temp_before=$(ls -A "$temp")
started=$SECONDS

# The report without the line that dates it.
undated() { sed -E 's#Created: [0-9/]+ [0-9:]+<br>##' "$report"; }
first_report= first_score= first_peak=
for run in $(seq 1 "$runs"); do
  rm -f "$report"
  orvanta --windowed --res 320x240 --mode benchmark --step 0.5 --fps
  check "run $run: exits 0" [ "$rc" = 0 ]
  check "run $run: report written" [ -f "$report" ]
  score=$(sed -n 's/.*caption "Results", text "Your score is: \([0-9]*\)".*/\1/p' "$scratch/log")
  peak=$(sed -n 's/^peak memory: \([0-9]*\) MB$/\1/p' "$scratch/out")
  check "run $run: score and peak memory printed" [ -n "$score" -a -n "$peak" ]
  check "run $run: temporary folder as before" [ "$(ls -A "$temp")" = "$temp_before" ]
  if [ "$run" = 1 ]; then
    first_report=$(undated) first_score=$score first_peak=$peak
    check "run 1: the report is dated" grep -qE "Created: [0-9/]+ [0-9:]+<br>" "$report"
    continue
  fi
  check "run $run: score $score as the first run's $first_score" [ "$score" = "$first_score" ]
  check "run $run: the same report" [ "$(undated)" = "$first_report" ]
  # Peak working set in whole MB. Runs of the same show vary by a few MB (the driver's and the
  # system's allocations, measured up to 2 MB on a busy machine); 3 % above the first run is growth.
  check "run $run: peak memory $peak MB, the first run's $first_peak MB" [ $((peak * 100)) -le $((first_peak * 103)) ]
done
echo "soak: $runs runs, score $first_score, peak memory $first_peak MB, $((SECONDS - started)) s"
finish
