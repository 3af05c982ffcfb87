#!/usr/bin/env bash
# Builds the native Windows executable with MinGW-w64 and its release zip, and runs the
# end-to-end suite against it under Wine; then cross-checks it against the Linux build on
# generated drawings, tries the faults that Windows has, and checks the zip as a user unzips it.
set -euo pipefail
cd "$(dirname "$0")/.."
export WINEDEBUG=-all
# A prefix of our own, set up before the suite: Wine's first start reports on stderr.
export WINEPREFIX="${WINEPREFIX:-$PWD/build/wineprefix}"
wineboot -i >/dev/null 2>&1 || true
wineserver -w || true
cmake --preset windows >/dev/null
cmake --build --preset windows --target package -j "$(nproc 2>/dev/null || echo 2)"
cmake --preset release >/dev/null
cmake --build --preset release --target circle_erase -j "$(nproc 2>/dev/null || echo 2)"
exe="$PWD/build/windows/circle_erase.exe"
# Wine's console is the Windows one: lines end in CR LF there.
python3 scripts/run_e2e.py --platform windows --strip-cr --cases tests/e2e -- wine "$exe"
python3 scripts/cross_check.py --count "${CROSS_CHECK_COUNT:-300}" \
  --linux "$PWD/build/release/circle_erase" --windows "$exe"
# A few drawings of many blocks, which the writer thread takes in turns.
python3 scripts/cross_check.py --count 4 --seed 7 --records 40000 \
  --linux "$PWD/build/release/circle_erase" --windows "$exe"
# New files past the 8 MiB at which their sync in the background is first asked for.
python3 scripts/cross_check.py --count 2 --seed 8 --records 250000 \
  --linux "$PWD/build/release/circle_erase" --windows "$exe"
# The same bytes from a build without optimisation, which calls MinGW's runtime where the
# optimised one has the instruction inline: a crossing whose square root shows when rounded
# twice, and the generated drawings, two of them large.
cmake --preset windows-debug >/dev/null
cmake --build --preset windows-debug --target circle_erase -j "$(nproc 2>/dev/null || echo 2)"
unoptimised="$PWD/build/windows-debug/circle_erase.exe"
python3 scripts/run_e2e.py --platform windows --strip-cr --cases tests/e2e \
  --only crossing-square-root-rounded-once -- wine "$unoptimised"
python3 scripts/cross_check.py --count "${CROSS_CHECK_COUNT:-300}" \
  --linux "$PWD/build/release/circle_erase" --windows "$unoptimised"
python3 scripts/cross_check.py --count 2 --seed 8 --records 250000 \
  --linux "$PWD/build/release/circle_erase" --windows "$unoptimised"
# Two runs at once, a holder killed, stale links, a console that cannot be written.
python3 scripts/fault_tests.py --wine "$exe"
version=$(build/release/circle_erase --version | cut -d' ' -f2)
python3 scripts/package_check.py --zip "build/windows/circle_erase-$version-win64.zip" \
  --linux "$PWD/build/release/circle_erase" --sample examples/ZOD_UZUD.TXT
