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
  [ -f "$dir/CMakeCache.txt" ] || echo "Configuring ${dir#"$here/"}"
  cmake -S "$here" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

# The build's output from its first line of work on (compiling, linking, generating): a build with
# nothing to do prints only that each target is complete, and then nothing is shown at all.
# Standard error comes along, in order.
build() { # build dir
  cmake --build "$1" -j "$jobs" 2>&1 | {
    local line working=0
    while IFS= read -r line; do
      if [ $working = 0 ]; then
        case $line in
          *"] Built target "* | *"] Performing build step for '"* | *"] No install step for '"* | *"] Completed '"*) continue ;;
        esac
        working=1
      fi
      printf '%s\n' "$line"
    done
  }
}

configure "$here/build/x64" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-x86_64.cmake" -DORVANTA_TESTS=ON
build "$here/build/x64"

if [ $all = 1 ]; then
  configure "$here/build/x86" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" -DORVANTA_TESTS=OFF
  build "$here/build/x86"
fi
