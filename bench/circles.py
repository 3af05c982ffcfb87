#!/usr/bin/env python3
"""The many-circles job (-a) on a 1,000,000-segment sheet with 100, 10,000 and 100,000 closed
circles besides the designated one: -a against the same file's run without -a (taking turns,
medians), the cost per segment and per circle near a segment as the circles grow (the pairs of a
segment and a circle within half a unit of it, counted by gen_drawing), the peak RSS, and the
GEOS peer doing the same job (run once: it takes minutes). Prints a table and the targets; exits
1 when one is missed.

usage: bench/circles.py BUILD_DIR [RUNS]   (BUILD_DIR holds circle_erase and bench/)
"""
import os, shutil, statistics, subprocess, sys, time

b = os.path.abspath(sys.argv[1])
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
tool, gen, peer = b + "/circle_erase", b + "/bench/gen_drawing", b + "/bench/geos_peer"
top = b + "/runs_circles"
shutil.rmtree(top, ignore_errors=True)
os.makedirs(top)
N = 1000000


have_time = os.access("/usr/bin/time", os.X_OK)


def once(cmd, cwd):
    """Wall seconds and peak resident KiB of one run. The peak comes from /usr/bin/time -f %M
    when it is there: the child's own rusage also counts the Python it was forked from."""
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


rows = {}
for k in (100, 10000, 100000):
    src = os.path.join(top, "in_%d.txt" % k)
    with open(src, "wb") as f:
        near = subprocess.run([gen, str(N), "7", "circles", str(k)], stdout=f, check=True,
                              stderr=subprocess.PIPE, text=True).stderr.strip()
    work = os.path.join(top, "w%d" % k)
    os.makedirs(work)
    target = os.path.join(work, "ZOD_UZUD.TXT")
    t_all, t_one, peaks = [], [], []
    for _ in range(runs):  # taking turns, so both medians see the machine alike
        shutil.copyfile(src, target)
        t, rss = once([tool, "-a"], work)
        t_all.append(t)
        peaks.append(rss)
        shutil.copyfile(src, target)
        t_one.append(once([tool], work)[0])
    geos = None
    if k == 10000:
        geos = once([peer, src, "geos_out.txt", "all"], work)[0]
    pairs = int(near.rsplit(",", 1)[1].split()[0])
    rows[k] = dict(near=near, pairs=pairs, all=statistics.median(t_all),
                   one=statistics.median(t_one), peak=max(peaks), geos=geos)
    print("  measured %d circles: %s" % (k, near), file=sys.stderr)
    shutil.rmtree(work)
    os.remove(src)

print()
print("| circles | -a s | without -a s | ratio | circles near a segment | extra ns/segment "
      "| extra ns per circle near | peak RSS -a |")
print("|---:|---:|---:|---:|---:|---:|---:|---:|")
for k, r in rows.items():
    r["per_pair"] = (r["all"] - r["one"]) / r["pairs"] * 1e9
    print("| {:,} | {:.3f} | {:.3f} | {:.2f} | {:.3f} | {:.0f} | {:.0f} | {:.1f} MiB |".format(
        k, r["all"], r["one"], r["all"] / r["one"], r["pairs"] / N,
        (r["all"] - r["one"]) / N * 1e9, r["per_pair"], r["peak"] / 1024))
growth = rows[100000]["per_pair"] / rows[10000]["per_pair"]
r = rows[10000]
print()
print("GEOS peer (STRtree, each segment's difference with the union of the circles it meets), "
      "10,000 circles: %.1f s, %.1fx the tool's -a run" % (r["geos"], r["geos"] / r["all"]))
checks = [
    ("10,000 circles: -a within 1.5x the run without -a", r["all"] / r["one"] <= 1.5,
     "%.2fx" % (r["all"] / r["one"])),
    ("10,000 circles: peak RSS under 9 MiB", r["peak"] < 9 * 1024, "%.1f MiB" % (r["peak"] / 1024)),
    ("100,000 against 10,000 circles: cost per circle near a segment at most 2x", growth <= 2,
     "%.2fx" % growth),
    ("100 to 100,000 circles: at most 100 bytes of peak RSS per circle",
     (rows[100000]["peak"] - rows[100]["peak"]) * 1024 / (100000 - 100) <= 100,
     "%.0f B" % ((rows[100000]["peak"] - rows[100]["peak"]) * 1024 / (100000 - 100))),
    ("10,000 circles: at least 20x faster than the GEOS peer", r["geos"] / r["all"] >= 20,
     "%.1fx" % (r["geos"] / r["all"])),
]
print()
for name, ok, val in checks:
    print("  %-4s %-62s %s" % ("met" if ok else "MISS", name, val))
shutil.rmtree(top, ignore_errors=True)
sys.exit(0 if all(ok for _, ok, _ in checks) else 1)
