#!/usr/bin/env bash
# The show's data tree: the generator's output passes the data checks, a second run writes the same
# bytes as the build did, the models are binary .X files (the text form holds the same models), and the
# checks notice broken data in either form (so a pass means something).
source "$(dirname "$0")/lib.sh"
tools=$build/host/assetgen
data=$scratch/data
text=$scratch/text
bad=$scratch/bad
models="Tunnel/tunnel.X Tunnel/Light.X Station/Station.x Star/Star.x Room/Room.x"

check "generator writes the data tree" "$tools/orvanta_assetgen" "$data" --dialog-bitmap "$scratch/dialog.bmp"
check "data tree passes the checks" "$tools/orvanta_datacheck" "$data"
check "same bytes as the build's data tree" diff -r -q "$data" "$build/data"
binary_models() { for m in $models; do [ "$(head -c 16 "$1/$m")" = "xof 0303bin 0032" ] || return 1; done; }
check "models are binary .X files" binary_models "$data"
check "generator writes the models in text form on request" \
  "$tools/orvanta_assetgen" "$text" --text-models
check "text form passes the checks" "$tools/orvanta_datacheck" "$text"
check "text and binary forms hold the same models" "$tools/orvanta_datacheck" --same-models "$data" "$text"
check "text form differs in the models only" \
  test "$(diff -r -q "$data" "$text" | sed 's/^Files [^ ]*\/\(data\|text\)\/\([^ ]*\) and .*/\2/' | sort | xargs)" \
  = "$(printf '%s\n' $models | sort | xargs)"
check "dialog picture is a 150x105 Windows 3 BMP" test "$(identify -format '%m %w %h' "$scratch/dialog.bmp")" = "BMP3 150 105"
check "dialog picture as the build wrote it" cmp "$scratch/dialog.bmp" "$build/resources/dialog.bmp"
wav_field() { od -An -t u"$2" -j "$1" -N "$2" "$scratch/s.wav" | tr -d ' '; }  # offset, bytes
check "soundtrack decodes" lame --quiet --decode "$data/Msx/Orvanta by Brenholt.mp3" "$scratch/s.wav"
check "decoded soundtrack is stereo 44.1 kHz" test "$(wav_field 22 2) $(wav_field 24 4)" = "2 44100"

# Each case breaks one file of a fresh copy of the tree (binary models unless the case is made on the
# text form); the checks must fail.
rejects() { # description, command that breaks $bad
  local what=$1 tree=$data; shift
  [ "$1" = --text ] && { tree=$text; shift; }
  rm -rf "$bad"; cp -r "$tree" "$bad"
  "$@"
  check "checks reject $what" bash -c "! '$tools/orvanta_datacheck' '$bad' >/dev/null"
}
# Binary models: the first float list (the Tunnel frame's matrix) made an integer list, a name
# changed (its length kept), a file cut short.
rejects "a FLOAT list read as DWORDs" perl -0777 -pi -e 's/\x07\x00\x10\x00\x00\x00/\x06\x00\x10\x00\x00\x00/' \
  "$bad/Tunnel/tunnel.X"
rejects "a missing camera target" sed -i 's/Geo_camera_target/Geo_camera_tXrget/g' "$bad/Tunnel/tunnel.X"
rejects "a binary model cut short" truncate -s 1000000 "$bad/Tunnel/tunnel.X"
rejects "a FLOAT without decimal point" --text sed -i '0,/1\.000000/s//1/' "$bad/Tunnel/tunnel.X"
rejects "faces wound against their normals" --text \
  sed -i 's/^\( *\)3;\([0-9]*\),\([0-9]*\),\([0-9]*\);/\13;\2,\4,\3;/' "$bad/Tunnel/tunnel.X"
rejects "a 24-bit greetings strip" convert "$data/Shader/greetings.tga" -alpha off "$bad/Shader/greetings.tga"
rejects "a short soundtrack" truncate -s 2000000 "$bad/Msx/Orvanta by Brenholt.mp3"
rejects "a missing credits plate" rm "$bad/Credits/quelin.tga"
rejects "a station without its left door" sed -i 's/Plane20/Plane21/g' "$bad/Station/Station.x"
rejects "a tinted sky box face" --text sed -i '0,/^\( *\)0;1\.000000;/s//\10;0.500000;/' "$bad/Station/Station.x"
rejects "a flat environment map" cp "$data/Station/edgeimage.dds" "$bad/Station/CubeGlass.dds"
rejects "an opaque mirror floor" convert "$data/Room/room_floor1.tga" -alpha off "$bad/Room/room_floor1.tga"
rejects "a mirror floor off its plane" --text \
  sed -i '/Frame no-anim-06/,/;;/s/-110\.000000/-60.000000/' "$bad/Room/Room.x"
finish
