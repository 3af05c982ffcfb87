#!/usr/bin/env bash
# Builds in release mode, times circle_erase on generated drawings (three-decimal ones of four
# sizes, four-decimal "survey" ones of two) against the I/O floor (cp of the file twice) and
# against the same job written with GEOS, then runs the micro-benchmarks. Inputs are read from the page cache, as the host has just written them.
# Then the many-circles job (-a) of bench/circles.py.
# Exits 1 when a target is missed, after printing every result.
# usage: bench/run.sh [RUNS]   (default 5 runs per measurement; the median is shown)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCE_BENCH=ON -DCE_TESTS=OFF >/dev/null
cmake --build build/bench --target circle_erase gen_drawing geos_peer micro_bench >/dev/null
status=0
python3 - "$runs" <<'PY' || status=1
import json, os, shutil, statistics, subprocess, sys, time

runs = int(sys.argv[1])
b = os.path.abspath("build/bench")
tool, gen = b + "/circle_erase", b + "/bench/gen_drawing"
peer, micro = b + "/bench/geos_peer", b + "/bench/micro_bench"
top = b + "/runs"
shutil.rmtree(top, ignore_errors=True)
os.makedirs(top)
have_time = os.access("/usr/bin/time", os.X_OK)

def once(cmd, cwd):
    """Wall seconds and peak resident KiB of one run. The peak comes from /usr/bin/time -f %M
    when it is there, else from the child's own rusage (what getrusage(RUSAGE_CHILDREN) sees)."""
    if have_time:
        cmd = ["/usr/bin/time", "-f", "%M", "-o", os.path.join(top, "rss")] + cmd
    t = time.perf_counter()
    p = subprocess.Popen(cmd, cwd=cwd, stdout=subprocess.DEVNULL)
    _, status, ru = os.wait4(p.pid, 0)
    t = time.perf_counter() - t
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: %s" % " ".join(cmd))
    rss = int(open(os.path.join(top, "rss")).read().split()[-1]) if have_time else ru.ru_maxrss
    return t, rss

def timed(cmd, cwd):
    times, peaks = [], []
    for _ in range(runs):
        t, rss = once(cmd, cwd)
        times.append(t)
        peaks.append(rss)
    return statistics.median(times), max(peaks)

rows = {}
# Three-decimal drawings of every size, and four-decimal ones spread over +-1000 ("survey").
for kind, n in [("", 10000), ("", 100000), ("", 1000000), ("", 5000000), ("survey", 1000000),
                ("survey", 5000000)]:
    src = os.path.join(top, "in_%s%d.txt" % (kind, n))
    with open(src, "wb") as f:
        subprocess.run([gen, str(n), "7"] + ([kind] if kind else []), stdout=f, check=True)
    work = os.path.join(top, "w%s%d" % (kind, n))
    os.makedirs(work)
    target = os.path.join(work, "ZOD_UZUD.TXT")
    # The tool and its floors take turns, so that each median sees the machine as the others do.
    # circle_erase makes its rewritten file durable before it replaces the host's; cp does not.
    floors = (["sh", "-c", 'cp "$0" a && cp "$0" b', src],
              ["sh", "-c", 'cp "$0" a && cp "$0" b && sync b', src])
    times, floor_times, sync_times, peaks = [], [], [], []
    for _ in range(runs):
        shutil.copyfile(src, target)  # not timed
        t, rss = once([tool], work)
        times.append(t)
        peaks.append(rss)
        floor_times.append(once(floors[0], work)[0])
        sync_times.append(once(floors[1], work)[0])
    t, peak = statistics.median(times), max(peaks)
    floor, floor_sync = statistics.median(floor_times), statistics.median(sync_times)
    geos = timed([peer, src, "geos_out.txt"], work)[0] if (kind, n) == ("", 1000000) else None
    rows[kind, n] = dict(mb=os.path.getsize(src) / 2**20, t=t, peak=peak, floor=floor,
                         floor_sync=floor_sync, geos=geos)
    for f in os.listdir(work): os.remove(os.path.join(work, f))
    if (kind, n) != ("", 1000000): os.remove(src)  # the micro-benchmarks read the 1M one
    print("  measured %s%d records" % (kind and kind + " ", n), file=sys.stderr)

print()
print("| drawing | records | MiB in | seconds | records/s | peak RSS | x cp floor | x floor+sync | GEOS peer / ours |")
print("|---|---:|---:|---:|---:|---:|---:|---:|---:|")
for (kind, n), r in rows.items():
    print("| {} | {:,} | {:.1f} | {:.3f} | {:,.0f} | {:.1f} MiB | {:.2f} | {:.2f} | {} |".format(
        kind or "sheet", n, r["mb"], r["t"], n / r["t"], r["peak"] / 1024, r["t"] / r["floor"],
        r["t"] / r["floor_sync"], "%.2f (%.3f s)" % (r["geos"] / r["t"], r["geos"]) if r["geos"] else ""))
lin = rows["", 1000000]["t"] / rows["", 100000]["t"]
print()
print("linearity: 10x the records (100k -> 1M) take %.2f times as long" % lin)

# The clipping of the 1M drawing's own segments, in memory.
env = dict(os.environ, CE_DRAWING=os.path.join(top, "in_1000000.txt"))
out = subprocess.run([micro, "--benchmark_format=json", "--benchmark_min_time=0.5"],
                     check=True, capture_output=True, text=True, env=env).stdout
bm = {x["name"]: x["cpu_time"] for x in json.loads(out)["benchmarks"]}  # ns
print()
print("micro-benchmarks (ns per call):")
for k, v in bm.items(): print("  %-30s %10.1f" % (k, v))
ours = bm["ClipCrossing_circle_erase"]
cw, cc = bm["ClipCrossing_GEOS_written"], bm["ClipCrossing_GEOS_computed"]
ow = bm["ClipOutside_GEOS_written"] / bm["ClipOutside_circle_erase"]
dr = bm["ClipDrawing_circle_erase"]
dw, dc = bm["ClipDrawing_GEOS_written"], bm["ClipDrawing_GEOS_computed"]
print("clipping GEOS / circle_erase: crossing segment %.1f (pieces written), %.1f (GEOS only "
      "computes them); segment outside %.1f" % (cw / ours, cc / ours, ow))
print("  the 1M drawing's segments: %.1f (pieces written), %.1f (GEOS only computes them)"
      % (dw / dr, dc / dr))

r1 = rows["", 1000000]
big = [(k, n) for k, n in rows if n >= 1000000]
worst_cp = max(rows[k]["t"] / rows[k]["floor"] for k in big)
worst_sync = max(rows[k]["t"] / rows[k]["floor_sync"] for k in big)
worst_peak = max(r["peak"] for r in rows.values())
checks = [
    ("1M and 5M records, both drawings, within 3x the cp floor", worst_cp <= 3, "%.2fx at worst" % worst_cp),
    ("  and within 1.5x the durable floor", worst_sync <= 1.5, "%.2fx at worst" % worst_sync),
    ("whole run at least 15x faster than the GEOS peer", r1["geos"] / r1["t"] >= 15, "%.2fx" % (r1["geos"] / r1["t"])),
    ("clipping the drawing's segments at least 10x faster than GEOS", dc / dr >= 10,
     "%.1fx" % (dc / dr)),
    ("peak RSS at most 8 MiB at every size", worst_peak <= 8192, "%.1f MiB at most" % (worst_peak / 1024)),
    ("10x the records in at most 10.5x the time", lin <= 10.5, "%.2fx" % lin),
]
print()
for name, ok, val in checks: print("  %-4s %-62s %s" % ("met" if ok else "MISS", name, val))
shutil.rmtree(top, ignore_errors=True)
sys.exit(0 if all(ok for _, ok, _ in checks) else 1)
PY
python3 bench/circles.py build/bench "$runs" || status=1
exit $status
