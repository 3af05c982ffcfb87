#!/usr/bin/env bash
# Builds the native Windows executable with MinGW-w64 and runs the end-to-end suite against it
# under Wine; then cross-checks it against the Linux build on generated drawings.
set -euo pipefail
cd "$(dirname "$0")/.."
export WINEDEBUG=-all
# A prefix of our own, set up before the suite: Wine's first start reports on stderr.
export WINEPREFIX="${WINEPREFIX:-$PWD/build/wineprefix}"
wineboot -i >/dev/null 2>&1 || true
wineserver -w || true
cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --preset release >/dev/null
cmake --build --preset release --target circle_erase
exe="$PWD/build/windows/circle_erase.exe"
# Wine's console is the Windows one: lines end in CR LF there.
python3 scripts/run_e2e.py --platform windows --strip-cr --cases tests/e2e -- wine "$exe"
python3 scripts/cross_check.py --count "${CROSS_CHECK_COUNT:-300}" \
  --linux "$PWD/build/release/circle_erase" --windows "$exe"
