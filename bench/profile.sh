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
# The main thread starts first; the writer is the one that formats; the rest sync, each file
# on a thread of its own (the input during the pre-scan, then the new file).
main = min(rows)
writer = max((t for t in rows if t != main),
             key=lambda t: sum(p for p, s, _ in rows[t] if s == "put_fixed"), default=None)
sync = [x for t in rows if t not in (main, writer) for x in rows[t]]
groups = [("main (pre-scan, then main pass)", rows[main]),
          ("writer (formats and writes)", rows[writer] if writer else []), ("sync", sync)]
print("| thread | share | functions (share of all samples) |")
print("|---|---:|---|")
for name, samples in groups:
    total = sum(p for p, _, _ in samples)
    top = sorted(samples, reverse=True)[:8]
    kernel = sum(p for p, _, k in samples if k)
    desc = ", ".join("`%s` %.1f" % (s, p) for p, s, k in top if not k)
    if desc: desc += "; "
    print("| %s | %.1f %% | %skernel %.1f |" % (name, total, desc, kernel))
'
