#!/usr/bin/env bash
# Builds the tool and runs it on a copy of the bundled sample drawing, then shows what changed:
# as a diff and as a picture, before and after (build/demo/preview.svg, also docs/sample.svg, or
# for options such as -c docs/sample-c.svg). With -a the sample is the floor plan of
# examples/grid_plan, whose grid bubbles and round columns are the circles to clear.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target circle_erase zod_preview
mode=1
all=()
for a in "$@"; do
    case "$a" in
    [-/][mM]*) mode="${a:2}" ;;
    [-/][aA]*) all=("-${a:1}") ;;
    esac
done
sample=examples/ZOD_UZUD.TXT
if [ ${#all[@]} -gt 0 ]; then sample=examples/grid_plan/ZOD_UZUD.TXT; fi
work=build/demo
rm -rf "$work" && mkdir -p "$work"
cp "$sample" "$work/ZOD_UZUD.TXT"
status=0
(cd "$work" && ../release/circle_erase "$@") || status=$?
echo "exit status $status; changes to the drawing (< before, > after):"
diff <(tr -d '\r' < "$sample") <(tr -d '\r' < "$work/ZOD_UZUD.TXT") || true
build/release/zod_preview "$sample" "$work/ZOD_UZUD.TXT" -o "$work/preview.svg" "-m${mode:-1}" \
    ${all[@]+"${all[@]}"}
# The run without options is the README's picture; one with options gets its own beside it.
picture=docs/sample$(printf '%s' "$@" | tr -c 'A-Za-z0-9' '-').svg
mkdir -p docs && cp "$work/preview.svg" "$picture"
echo "picture, before and after: $work/preview.svg"
# A PNG beside it when a converter is at hand; the SVG is the picture either way.
if command -v rsvg-convert >/dev/null; then
    rsvg-convert -o "$work/preview.png" "$work/preview.svg" || true
elif command -v convert >/dev/null; then
    convert "$work/preview.svg" "$work/preview.png" || true
fi
if [ -f "$work/preview.png" ]; then echo "also as a PNG: $work/preview.png"; fi
