#!/usr/bin/env bash
# Installs what building, running and testing need (Debian packages, all amd64), then builds.
# Idempotent: a second run installs nothing and rebuilds only what changed.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  cmake make
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev   # the build that runs here
  g++-mingw-w64-i686-posix mingw-w64-i686-dev       # the 32-bit release build
  g++                                               # host tools (asset generator, package writer)
  wine64 libwine                                    # runs the .exe
  xvfb xauth libgl1-mesa-dri libgl1 libglx-mesa0    # headless X with software OpenGL
  lame                                              # encodes the soundtrack
  ffmpeg                                            # tools/capture.sh: the show as a video; its test
  libfreetype-dev libjpeg-dev fonts-dejavu-core fonts-dejavu-extra  # asset generator: captions, JPEG
  imagemagick                                       # tests read the pictures the program saves
  gawk                                              # tools/benchmark.sh: profile arithmetic
  python3 gnuplot-nox                               # tools/benchmark.sh: statistics, plot
  googletest                                        # unit tests, built from source
  unzip                                             # tests unpack the release zips
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  [ "$(id -u)" = 0 ] && sudo= || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

"$here/tools/build.sh" "$@"
