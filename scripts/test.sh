#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: the program's tests,
# the print check through a CUPS queue, then the fuzz targets (built with clang and its
# sanitizers) for a bounded time each.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build=${BUILD_DIR:-$root/build}
export QT_QPA_PLATFORM=offscreen
(cd "$build" && ctest --output-on-failure -j"$(nproc)" --timeout 600)
# Printing through a real CUPS queue, or a "skipped" line; it installs CUPS only with
# VT_CUPS_INSTALL=1 (as CI does), so a desktop's printers are left as they are.
"$root/scripts/cups-check.sh"

fuzz_build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
cmake -S "$root/fuzz" -B "$fuzz_build" -DCMAKE_CXX_COMPILER=clang++ \
      -DVT_FUZZ_SECONDS="${VT_FUZZ_SECONDS:-90}" >/dev/null
cmake --build "$fuzz_build" -j"$(nproc)"
(cd "$fuzz_build" && ctest --output-on-failure -j"$(nproc)")
