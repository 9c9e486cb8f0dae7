#!/usr/bin/env bash
# Builds both targets where needed and writes the release zips into OUTDIR (default dist/):
# Orvanta-<version>-win32.zip and Orvanta-<version>-win64.zip, each holding the folder Orvanta/ with
# Orvanta.exe, Orvanta.pac and Orvanta.txt. Two runs from the same commit give the same bytes.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$here/dist}")

"$here/tools/build.sh" --all   # prints only when it has work to do

# Every entry carries the time of the commit, written in UTC (zip's DOS times are local times).
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$here" log -1 --format=%ct 2>/dev/null || echo 315532800)   # else 1980-01-01
fi
export SOURCE_DATE_EPOCH TZ=UTC

mkdir -p "$out"
for build in x86 x64; do
  dir=$here/build/$build
  rm -rf "$dir/release/_CPack_Packages" "$dir"/release/Orvanta-*.zip
  (cd "$dir" && cpack --config CPackConfig.cmake >/dev/null)
  zip=$(ls "$dir"/release/Orvanta-*.zip)
  cp "$zip" "$out/"
  echo "$out/$(basename "$zip") ($(stat -c %s "$zip") bytes)"
done
