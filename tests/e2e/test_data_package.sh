#!/usr/bin/env bash
# The show's data tree: the generator's output passes the data checks, a second run writes the same
# bytes as the build did, and the checks notice broken data (so a pass means something).
source "$(dirname "$0")/lib.sh"
tools=$build/host/assetgen
data=$scratch/data
bad=$scratch/bad

check "generator writes the data tree" "$tools/orvanta_assetgen" "$data" --dialog-bitmap "$scratch/dialog.bmp"
check "data tree passes the checks" "$tools/orvanta_datacheck" "$data"
check "same bytes as the build's data tree" diff -r -q "$data" "$build/data"
check "dialog picture is a 150x105 Windows 3 BMP" test "$(identify -format '%m %w %h' "$scratch/dialog.bmp")" = "BMP3 150 105"
check "dialog picture as the build wrote it" cmp "$scratch/dialog.bmp" "$build/resources/dialog.bmp"
wav_field() { od -An -t u"$2" -j "$1" -N "$2" "$scratch/s.wav" | tr -d ' '; }  # offset, bytes
check "soundtrack decodes" lame --quiet --decode "$data/Msx/Orvanta by Brenholt.mp3" "$scratch/s.wav"
check "decoded soundtrack is stereo 44.1 kHz" test "$(wav_field 22 2) $(wav_field 24 4)" = "2 44100"

# Each case breaks one file of a fresh copy; the checks must fail.
rejects() { # description, command that breaks $bad
  local what=$1; shift
  rm -rf "$bad"; cp -r "$data" "$bad"
  "$@"
  check "checks reject $what" bash -c "! '$tools/orvanta_datacheck' '$bad' >/dev/null"
}
rejects "a FLOAT without decimal point" sed -i '0,/1\.000000/s//1/' "$bad/Tunnel/tunnel.X"
rejects "a missing camera target" sed -i 's/Geo_camera_target/Geo_cam_target/g' "$bad/Tunnel/tunnel.X"
rejects "faces wound against their normals" \
  sed -i 's/^\( *\)3;\([0-9]*\),\([0-9]*\),\([0-9]*\);/\13;\2,\4,\3;/' "$bad/Tunnel/tunnel.X"
rejects "a 24-bit greetings strip" convert "$data/Shader/greetings.tga" -alpha off "$bad/Shader/greetings.tga"
rejects "a short soundtrack" truncate -s 2000000 "$bad/Msx/Orvanta by Brenholt.mp3"
rejects "a missing credits plate" rm "$bad/Credits/quelin.tga"
rejects "a station without its left door" sed -i 's/Plane20/Plane21/g' "$bad/Station/Station.x"
rejects "a tinted sky box face" sed -i '0,/^\( *\)0;1\.000000;/s//\10;0.500000;/' "$bad/Station/Station.x"
rejects "a flat environment map" cp "$data/Station/edgeimage.dds" "$bad/Station/CubeGlass.dds"
rejects "an opaque mirror floor" convert "$data/Room/room_floor1.tga" -alpha off "$bad/Room/room_floor1.tga"
rejects "a mirror floor off its plane" sed -i '/Frame no-anim-06/,/;;/s/-110\.000000/-60.000000/' "$bad/Room/Room.x"
finish
