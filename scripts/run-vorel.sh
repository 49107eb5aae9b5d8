#!/usr/bin/env bash
# Installs what is missing, builds, and starts Vorel in a data folder of its own (run/vorel).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
data=${VOREL_DATA:-$root/run/vorel}
mkdir -p "$data"
cd "$data"
exec "${BUILD_DIR:-$root/build}/apps/vorel/vorel" "$@"
