#!/usr/bin/env python3
"""Runs two builds of circle_erase on the same drawings with the same options and compares every
byte they leave: all files of the run's folder, standard output and the exit status. For a change
that must not change the output (a speed-up, a refactoring): build the commit before it as OLD.

usage: scripts/compare_builds.py OLD NEW [--seeds N] [--big FILE] [--with=OPTION]

The drawings: N of scripts/drawings.py's with their own options and nine fixed sets each; as many
again of lines placed about the boundary's box, in the plane and at survey coordinates, where
shortcuts that test boxes would go wrong; and, with --big, a large drawing (bench/gen_drawing's)
with its boundary made a circle, an arc, an ellipse and an elliptic arc in turn. --with adds an
option to every set (-k25, say), for a change that must not change what that option writes."""
import argparse
import concurrent.futures
import hashlib
import math
import os
import random
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import drawings  # noqa: E402

SETS = [[], ["-m2"], ["-m3"], ["-m4"], ["-m5"], ["-m6"], ["-i"], ["-c"], ["-c", "-i", "-m3"],
        ["-m2", "-e25", "-f13"], ["-t"], ["-t2"]]


def near_box(seed):
    """Lines about the boundary's box: along its sides, through its corners, tangent, just clear,
    tiny ones, and ones from points of the circle rounded as a drawing rounds them."""
    rng = random.Random(seed)
    base = rng.choice([0, 0, 1e7, -3.5e6])
    cx, cy = base + rng.uniform(-50, 50), base / 2 + rng.uniform(-50, 50)
    r = rng.choice([rng.uniform(0.01, 5), rng.uniform(5, 200)])
    tail = rng.choice(["", " 0 0 %r %r" % (rng.uniform(0.2, 1.5), rng.uniform(-90, 90)),
                       " %r %r" % (rng.uniform(0, 360), rng.uniform(0, 360))])
    lines = ["hq", "hs" + " 1" * 16, "lg0", "ly1", "lc2", "lt1", "hhp1ci",
             "ci %r %r %r%s" % (cx, cy, r, tail), "#"]
    gap = lambda: rng.choice([0, 1e-9, 1e-6, 0.00025, 0.001, r * 1e-3, r * 0.3]) * rng.choice([1, -1])
    for _ in range(60):
        k = rng.randrange(6)
        if k == 0:  # along a side of the box
            x = cx + rng.choice([r, -r]) + gap()
            y1, y2 = cy + rng.uniform(-3 * r, 3 * r), cy + rng.uniform(-3 * r, 3 * r)
            pts = (x, y1, x, y2) if rng.random() < 0.5 else (y1 - cy + cx, cy + x - cx, y2 - cy + cx, cy + x - cx)
        elif k == 1:  # towards a corner
            sx, sy = rng.choice([r, -r]), rng.choice([r, -r])
            a, b = rng.uniform(1, 3), rng.uniform(-1, 0.9)
            pts = (cx + sx * a + gap(), cy + sy * a, cx + sx * b, cy + sy * b + gap())
        elif k == 2:  # tangent, from outside
            t = rng.uniform(0, 6.283)
            d = r + gap()
            px, py = cx + d * (1 if t < 3 else -1), cy + rng.uniform(-2 * r, 2 * r)
            pts = (px, py, px + rng.uniform(-1, 1) * 1e-9, py + rng.uniform(3 * r, 4 * r))
        elif k == 3:  # anywhere near
            pts = tuple(c + rng.uniform(-4 * r, 4 * r) for c in (cx, cy, cx, cy))
        elif k == 4:  # from a rounded point of the circle, inwards or outwards
            t = rng.uniform(0, 6.283)
            ex, ey = cx + r * math.cos(t), cy + r * math.sin(t)
            digits = rng.choice([3, 4])
            ex, ey = round(ex, digits), round(ey, digits)
            f = rng.choice([0, 0.5, 2, 3])
            pts = (ex, ey, cx + (ex - cx) * f, cy + (ey - cy) * f)
            if rng.random() < 0.5:
                pts = pts[2:] + pts[:2]
        else:  # so short that its ends merge, or nearly
            x, y = cx + rng.uniform(-4 * r, 4 * r), cy + rng.uniform(-4 * r, 4 * r)
            d = rng.choice([1e-7, 2e-6, 3e-6, 1e-5])
            pts = (x, y, x + d * rng.choice([1, 0, -1]), y + d * rng.choice([1, 0]))
        fmt = rng.choice(["%.3f", "%.4f", "%r", "%.1f"] if k < 4 else ["%r", "%.7f"] if k > 4 else ["%r"])
        lines.append(" " + " ".join(fmt % v for v in pts))
        if rng.random() < 0.1:
            lines.append(rng.choice(["pl", "#", "lc3", "z3"]))
    return ("\r\n".join(lines) + "\r\n").encode("latin-1")


def run(exe, data, opts):
    with tempfile.TemporaryDirectory() as d:
        open(os.path.join(d, "ZOD_UZUD.TXT"), "wb").write(data)
        p = subprocess.run([exe] + opts, cwd=d, capture_output=True, timeout=600)
        h = hashlib.md5(b"%d\0" % p.returncode + p.stdout + b"\0" + p.stderr)
        for name in sorted(os.listdir(d)):
            h.update(name.encode() + b"\0" + open(os.path.join(d, name), "rb").read())
        return h.hexdigest()


def with_boundary(data, record):
    return re.sub(rb"(?m)^(hhp1ci\r?\n)ci [^\r\n]*", lambda m: m.group(1) + record, data, count=1)


def cases(o):
    for seed in range(o.seeds):
        d = drawings.drawing(seed)
        for opts in [drawings.options(seed)] + SETS[:9]:
            yield "drawing %d %s" % (seed, " ".join(opts)), d, opts
        d = near_box(seed)
        for opts in SETS[:10]:
            yield "near-box %d %s" % (seed, " ".join(opts)), d, opts
    if o.big:
        data = open(o.big, "rb").read()
        m = re.search(rb"(?m)^hhp1ci\r?\nci ([-\d.]+) ([-\d.]+) ([-\d.]+)", data)
        cx, cy, r = (x.decode() for x in m.groups())
        for tail, sets in (("", SETS[:11]), (" 30 250", SETS[1:6] + SETS[8:10]),
                           (" 0 0 0.6 25", SETS[:11]), (" 30 250 0.6 25", SETS[1:6] + SETS[8:10])):
            d = with_boundary(data, ("ci %s %s %s%s" % (cx, cy, r, tail)).encode())
            for opts in sets:
                yield "big%s %s" % (tail, " ".join(opts)), d, opts


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("old")
    ap.add_argument("new")
    ap.add_argument("--seeds", type=int, default=300)
    ap.add_argument("--big")
    ap.add_argument("--with", dest="extra", action="append", default=[])
    o = ap.parse_args()
    o.old, o.new = os.path.abspath(o.old), os.path.abspath(o.new)
    n, bad = 0, []
    with concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 2) as pool:
        jobs = [(name, pool.submit(run, o.old, d, opts + o.extra),
                 pool.submit(run, o.new, d, opts + o.extra)) for name, d, opts in cases(o)]
        for name, a, b in jobs:
            n += 1
            if a.result() != b.result():
                bad.append(name)
    for name in bad[:20]:
        print("differs:", name)
    print("%d runs compared, %d differ" % (n, len(bad)))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
