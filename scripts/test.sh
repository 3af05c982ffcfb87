#!/usr/bin/env bash
# Builds and runs every test: unit tests and the end-to-end cases, in the debug build and
# under AddressSanitizer and UndefinedBehaviorSanitizer (with the fault tests); a bounded
# fuzz run; then the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
for preset in debug asan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done
scripts/fuzz.sh
scripts/windows_e2e.sh
