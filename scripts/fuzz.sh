#!/usr/bin/env bash
# Builds the fuzz target with clang, seeds it with the end-to-end inputs and fuzzes a whole run
# for a bounded time (FUZZ_SECONDS, default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_run
corpus="$PWD/build/fuzz/corpus"
mkdir -p "$corpus"
i=0
for f in tests/e2e/*/in/*; do
  for opt in '\x01' '\x13' '\x0a' '\x45' '\x81' '\xa2' '\xe1' '\x64'; do
    { printf "$opt"; cat "$f"; } > "$corpus/e2e_$i"
    i=$((i + 1))
  done
  # The same file with a designated circle of edge values in front, its own marker disabled so
  # that the circle counts: a NaN radius, an infinite tilt, a circle at the bound, a flat arc.
  for opt in '\x01\xc0\x00\x00\x06' '\x83\x80\x00\x00\x01\x00\x03\x01\x07' \
             '\x81\xc0\x0b\x0b\x0b' '\x85\x80\x00\x00\x01\x02\x03\x0c\x03'; do
    { printf "$opt"; sed 's/^hhp1ci/hhp0ci/' "$f"; } > "$corpus/e2e_$i"
    i=$((i + 1))
  done
done
build/fuzz/fuzz_run -max_total_time="${FUZZ_SECONDS:-60}" -max_len=65536 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$PWD/build/fuzz/" "$corpus" 2>&1 | tail -n 25
