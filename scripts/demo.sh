#!/usr/bin/env bash
# Builds the tool and runs it on a copy of the bundled sample drawing, then shows what changed.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target circle_erase
work=build/demo
rm -rf "$work" && mkdir -p "$work"
cp examples/ZOD_UZUD.TXT "$work/ZOD_UZUD.TXT"
(cd "$work" && ../release/circle_erase "$@")
echo "exit status $?; changes to the drawing (- before, + after):"
diff <(tr -d '\r' < examples/ZOD_UZUD.TXT) <(tr -d '\r' < "$work/ZOD_UZUD.TXT") || true
