#!/usr/bin/env bash
# Builds the host tools, the 64-bit program with its tests and data package, and (with --all) the
# 32-bit release build. Output: build/x64/Orvanta.exe and build/x64/Orvanta.pac.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
all=0
[ "${1:-}" = "--all" ] && all=1

configure() { # build dir, extra cmake args...
  local dir=$1; shift
  cmake -S "$here" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

configure "$here/build/x64" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-x86_64.cmake" -DORVANTA_TESTS=ON
cmake --build "$here/build/x64" -j "$jobs"

if [ $all = 1 ]; then
  configure "$here/build/x86" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" -DORVANTA_TESTS=OFF
  cmake --build "$here/build/x86" -j "$jobs"
fi
