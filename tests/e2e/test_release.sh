# The release zips as a user gets them. tools/release.sh run twice writes the same bytes; each zip holds
# exactly Orvanta/ with the program, its package and the info text; the programs are stripped GUI
# programs of their machine that import only Windows' own DLLs and d3dx9_43.dll and carry no path of
# this machine; the 64-bit zip, unpacked into an empty folder of a fresh Wine prefix, runs the stepped
# benchmark to its end from there. (The 32-bit program cannot run here: its checks are the static ones.)
source "$(dirname "$0")/lib.sh"
trap 'orv_stop; rm -rf "$scratch"' EXIT

# Every DLL the programs may import: Windows' own, and d3dx9_43.dll of the DirectX End-User Runtime.
allowed_dlls=(kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll winmm.dll msacm32.dll
  psapi.dll version.dll msvcrt.dll d3d9.dll d3dxof.dll d3dx9_43.dll)

env -u SOURCE_DATE_EPOCH "$e2e_root/tools/release.sh" "$scratch/dist" >/dev/null
env -u SOURCE_DATE_EPOCH "$e2e_root/tools/release.sh" "$scratch/again" >/dev/null
zips=$(cd "$scratch/dist" && ls)
win64=$(ls "$scratch"/dist/Orvanta-*-win64.zip)
version=${win64##*/Orvanta-}
version=${version%-win64.zip}
project_version=$(sed -n 's/^project(Orvanta VERSION \([0-9.]*\) .*/\1/p' "$e2e_root/CMakeLists.txt")
check "two zips, named by the version ($version)" \
  [ "$zips" = "$(printf 'Orvanta-%s-win32.zip\nOrvanta-%s-win64.zip' "$version" "$version")" ]
head=$(git -C "$e2e_root" rev-parse HEAD)
[ "$(git -C "$e2e_root" rev-parse -q --verify "refs/tags/v$project_version^{commit}")" = "$head" ] && commit= ||
  commit=-${head:0:7}
check "the version: the project's, with the commit between releases" \
  grep -qxE "$project_version$commit(-dirty)?" <<<"$version"
for zip in $zips; do
  check "$zip: a second run gives the same bytes" cmp -s "$scratch/dist/$zip" "$scratch/again/$zip"
done

# The checkout and the build folder, in the file's 8-bit and 16-bit strings.
no_path() { [ -f "$1" ] && ! grep -qF -e "$e2e_root" -e "$build" <(strings -a "$1"; strings -a -el "$1"); }
commit_time=$(TZ=UTC date -d "@$(git -C "$e2e_root" log -1 --format=%ct)" '+%a %b %-d %H:%M:%S %Y')
# machine, PE magic, subsystem and time stamp as objdump prints them
pe_header() { TZ=UTC "$1" -f -p "$2" | awk '/^(architecture|Magic|Subsystem|Time\/Date)/ { $1 = $1; print }'; }
imports() { "$1" -p "$2" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z'; }
for platform in win32 win64; do
  zip=$scratch/dist/Orvanta-$version-$platform.zip
  [ $platform = win32 ] && objdump=i686-w64-mingw32-objdump || objdump=x86_64-w64-mingw32-objdump
  check "$platform: Orvanta/ with the program, its package and the info text, in that order" \
    [ "$(unzip -Z1 "$zip")" = "$(printf 'Orvanta/Orvanta.exe\nOrvanta/Orvanta.pac\nOrvanta/Orvanta.txt')" ]
  mkdir "$scratch/$platform"
  unzip -q "$zip" -d "$scratch/$platform"
  folder=$scratch/$platform/Orvanta
  header=$(pe_header $objdump "$folder/Orvanta.exe")
  if [ $platform = win32 ]; then
    check "$platform: a PE32 program for i386" grep -qz 'architecture: i386,.*Magic 010b (PE32)' <<<"$header"
  else
    check "$platform: a PE32+ program for AMD64" grep -qz 'architecture: i386:x86-64,.*Magic 020b (PE32+)' <<<"$header"
  fi
  check "$platform: a GUI program" grep -qx 'Subsystem 00000002 (Windows GUI)' <<<"$header"
  check "$platform: the commit's time in the PE header" grep -qx "Time/Date $commit_time" <<<"$header"
  check "$platform: no symbols" grep -q 'no symbols' <(${objdump%objdump}nm "$folder/Orvanta.exe" 2>&1)
  others=$(imports $objdump "$folder/Orvanta.exe" | grep -vxF "${allowed_dlls[@]/#/-e}" | tr '\n' ' ' || true)
  check "$platform: imports only Windows' own DLLs and d3dx9_43.dll${others:+ (not $others)}" [ -z "$others" ]
  check "$platform: imports d3dx9_43.dll" grep -qx d3dx9_43.dll <(imports $objdump "$folder/Orvanta.exe")
  for file in Orvanta.exe Orvanta.pac; do
    check "$platform: no path of this machine in $file" no_path "$folder/$file"
  done
  txt=$folder/Orvanta.txt
  check "$platform: the info text is ASCII with Windows line ends" \
    [ "$(LC_ALL=C grep -c $'^[ -~]*\r$' "$txt")" = "$(wc -l <"$txt")" ]
  check "$platform: the info text within 80 columns" [ "$(tr -d '\r' <"$txt" | awk 'length > 80' | wc -l)" = 0 ]
  check "$platform: the info text names the version" grep -q "version \.* $version"$'\r$' "$txt"
done

# The 64-bit zip in a fresh prefix that knows nothing of this machine: no drive maps the file system.
export WINEPREFIX=$scratch/fresh
orv_wine_env "$WINEPREFIX"
rm "$WINEPREFIX/dosdevices/z:"
folder=$WINEPREFIX/drive_c/Games
mkdir "$folder"
unzip -q "$win64" -d "$folder"
folder=$folder/Orvanta
temp=$(temp_folder)
temp_before=$(ls -A "$temp")
orv_start_xvfb 640x480
cd "$folder"
orv_wine Orvanta.exe --help | tr -d '\r' >"$scratch/help"
check "the unpacked program lists its options" grep -q '^  --help ' "$scratch/help"
for option in $(awk '/^  --/ { print $1 }' "$scratch/help"); do
  check "the info text explains $option" grep -q "^    $option " "$folder/Orvanta.txt"
done
orv_wineserver_settle
set +e
timeout 300 "$WINE" Orvanta.exe --mode benchmark --windowed --res 640x480 --step 0.5 --no-message-boxes \
  >"$scratch/out" 2>"$scratch/log"
rc=$?
set -e
cd "$scratch"
orv_stop
score=$(sed -n 's/.*caption "Results", text "Your score is: \([0-9]*\)".*/\1/p' "$scratch/log")
check "the unpacked program runs the benchmark to its end" [ "$rc" = 0 ]
check "the score line appears" [ -n "$score" ]
check "Results.htm in the program's folder, with that score" \
  grep -qF "<td class='l'>Score</td><td class='r'>$score</td>" "$folder/Results.htm"
check "nothing else written into the folder" \
  [ "$(ls "$folder")" = "$(printf 'Orvanta.exe\nOrvanta.pac\nOrvanta.txt\nResults.htm')" ]
check "nothing left in the temporary folder" [ "$(ls -A "$temp")" = "$temp_before" ]
finish
