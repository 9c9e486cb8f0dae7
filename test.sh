#!/usr/bin/env bash
# Installs what is missing, builds both targets, and runs every test under Wine with ctest.
# Arguments go to ctest: ./test.sh -R e2e_robustness runs that test alone.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/tools/setup.sh" --all
source "$here/tools/wine-env.sh"
orv_wine_env "$(mktemp -d /tmp/orvanta-wine.XXXXXX)"
prefix=$WINEPREFIX
cleanup() { orv_stop; rm -rf "$prefix"; }
trap cleanup EXIT
orv_start_xvfb 1024x768   # for the unit tests; each end-to-end test starts its own of the size it needs
cd "$here/build/x64"
ctest --output-on-failure --timeout 600 -j "$(nproc)" "$@"
