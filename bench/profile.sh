#!/usr/bin/env bash
# Where the time of a whole run goes, per thread: profiles circle_erase (the release build of
# bench/run.sh) on a generated drawing with perf and prints, for each thread, its share of the
# samples and the functions that hold most of them.
# usage: bench/profile.sh [N [survey]]   (default 1000000 records of the sheet drawing)
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-1000000}
kind=${2:-}
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCE_BENCH=ON -DCE_TESTS=OFF >/dev/null
cmake --build build/bench --target circle_erase gen_drawing >/dev/null
work=build/bench/profile
rm -rf "$work"
mkdir -p "$work"
build/bench/bench/gen_drawing "$n" 7 $kind >"$work/ZOD_UZUD.TXT"
(cd "$work" && perf record -q -F 10000 -o perf.data ../circle_erase >/dev/null 2>&1)
perf report -i "$work/perf.data" --no-children -s pid,sym -g none --stdio 2>/dev/null |
  python3 -c '
import collections, re, sys
rows = collections.defaultdict(list)
for line in sys.stdin:
    m = re.match(r"\s*([\d.]+)%\s+(\d+):\S+\s+\[(.)\]\s+(.+?)\s*$", line)
    if m: rows[int(m.group(2))].append((float(m.group(1)), m.group(4), m.group(3) == "k"))
names = ["main (pre-scan, then main pass)", "writer (formats and writes)", "sync"]
threads = sorted(rows, key=lambda t: -sum(p for p, _, _ in rows[t]))
order = sorted(threads[:3])  # the main thread starts first, then the writer, then the syncer
print("| thread | share | functions (share of all samples) |")
print("|---|---:|---|")
for t in order:
    total = sum(p for p, _, _ in rows[t])
    top = sorted(rows[t], reverse=True)[:8]
    kernel = sum(p for p, _, k in rows[t] if k)
    desc = ", ".join("`%s` %.1f" % (s, p) for p, s, k in top if not k)
    print("| %s | %.1f %% | %s; kernel %.1f |" % (names[order.index(t)], total, desc, kernel))
'
