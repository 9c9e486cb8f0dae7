#!/usr/bin/env bash
# ctest's cross-compiling emulator: runs one Windows test program under Wine in the test environment
# (test.sh exports DISPLAY and WINEPREFIX; run alone, it makes its own).
set -euo pipefail
source "$(dirname "$0")/../tools/wine-env.sh"
orv_wine_env "${WINEPREFIX:-$orv_root/build/wineprefix}"
if [ -z "${DISPLAY:-}" ]; then orv_start_xvfb 1024x768; trap orv_stop_xvfb EXIT; fi
orv_wine "$@"
