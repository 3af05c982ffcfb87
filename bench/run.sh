#!/usr/bin/env bash
# Builds in release mode and measures circle_erase against the I/O floor (cp of the file twice)
# and against a GEOS program doing the same clipping; then the micro-benchmarks.
# usage: bench/run.sh [RUNS]   (default 3 runs per measurement, the median is shown)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCE_BENCH=ON -DCE_TESTS=OFF >/dev/null
cmake --build build/bench --target circle_erase gen_drawing geos_peer micro_bench >/dev/null
exec python3 - "$runs" <<'PY'
import os, statistics, subprocess, sys, tempfile, time, resource
runs = int(sys.argv[1])
b = os.path.abspath("build/bench")
tool, gen, peer = b + "/circle_erase", b + "/bench/gen_drawing", b + "/bench/geos_peer"

def timed(cmd, cwd, prepare=None):
    times, peaks = [], []
    for _ in range(runs):
        if prepare: prepare()
        t = time.perf_counter()
        p = subprocess.run(["/usr/bin/time", "-f", "%M"] + cmd, cwd=cwd, stderr=subprocess.PIPE, check=True)
        times.append(time.perf_counter() - t)
        peaks.append(int(p.stderr.split()[-1]))
    return statistics.median(times), max(peaks)

rows = {}
with tempfile.TemporaryDirectory(prefix="ce_bench_", dir=os.path.abspath("build")) as top:
    for n in (10000, 100000, 1000000, 5000000):
        src = os.path.join(top, "in_%d.txt" % n)
        with open(src, "wb") as f:
            subprocess.run([gen, str(n), "7"], stdout=f, check=True)
        work = os.path.join(top, "w%d" % n)
        os.makedirs(work)
        def fresh(): subprocess.run(["cp", src, os.path.join(work, "ZOD_UZUD.TXT")], check=True)
        t, peak = timed([tool], work, fresh)
        floor, _ = timed(["sh", "-c", "cp '%s' a && cp a b" % src], work)
        geos = None
        if n == 1000000:
            geos, _ = timed([peer, src, "geos_out.txt"], work)
        rows[n] = (os.path.getsize(src) / 1e6, t, peak, floor, geos)
print("%10s %8s %9s %12s %10s %9s %9s" % ("records", "MB", "seconds", "records/s", "peak KiB", "x floor", "GEOS/us"))
for n, (mb, t, peak, floor, geos) in rows.items():
    print("%10d %8.1f %9.3f %12.0f %10d %9.1f %9s" % (n, mb, t, n / t, peak, t / floor,
          "%.2f" % (geos / t) if geos else "-"))
print("linearity: 1M / 100k records take %.2f times as long" % (rows[1000000][1] / rows[100000][1]))
PY
