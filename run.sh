#!/usr/bin/env bash
# Installs what is missing, builds, and runs the show. Options: see README.md.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/tools/setup.sh" >&2
exec "$here/tools/launch.sh" "$@"
