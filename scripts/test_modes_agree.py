#!/usr/bin/env python3
"""The test modes run the algorithm a plain run runs: on random drawings, the file that -t and
-t2 leave is the plain run's once their diagnostic records are taken out.

A diagnostic record is a point marker ("pt" with 13 decimals, not in the drawing) or a comment
record that the run writes itself. One thing the diagnostics change of their own: the post-pass
takes the "pl" back from a block of one segment followed by a comment record, and a diagnostic
comment or marker inside a block changes what it sees there. So the work file, less its
diagnostics, is put through the post-pass's rule again and must give the plain run's file; the
final file may differ from it only in "pl" and "#pl".

usage: test_modes_agree.py EXE [--seeds N]"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compare_builds  # noqa: E402
import drawings  # noqa: E402

MARKER = re.compile(rb"pt -?\d+\.\d{13} -?\d+\.\d{13}$")
COMMENTS = (b"#Koten_en_ln() ", b"# # p(", b"# olineMAX(")


def run(exe, data, opts):
    with tempfile.TemporaryDirectory() as d:
        open(os.path.join(d, "ZOD_UZUD.TXT"), "wb").write(data)
        p = subprocess.run([exe] + opts, cwd=d, capture_output=True, timeout=120)
        work = os.path.join(d, "ZOD_UZUD.$$$")
        work = open(work, "rb").read() if os.path.exists(work) else None
        return p.returncode, open(os.path.join(d, "ZOD_UZUD.TXT"), "rb").read(), work


def strip(text, drawn):
    return [r for r in text.split(b"\r\n")
            if not (MARKER.match(r) and r not in drawn) and not r.startswith(COMMENTS)]


def post_pass(records):
    """A "pl" before up to two prefixes, one segment record and a comment loses its marker."""
    out = list(records)
    for i, r in enumerate(out):
        if not r.startswith(b"#"):
            continue
        for z in range(3):
            j = i - 2 - z
            if j >= 0 and out[j].startswith(b"pl") and out[i - 1].startswith(b" ") and \
                    all(out[k].startswith(b"z") for k in range(j + 1, i - 1)):
                out[j] = b"#pl"
                break
    return out


def check(exe, name, data, opts):
    drawn = set(data.split(b"\r\n"))
    status, plain, _ = run(exe, data, opts)
    want = plain.split(b"\r\n")
    problems = []
    for test in ("-t", "-t2"):
        t_status, final, work = run(exe, data, opts + [test])
        if t_status != status:
            problems.append("%s: status %d, plain %d" % (test, t_status, status))
            continue
        got = strip(final, drawn)
        unmarked = [r.replace(b"#pl", b"pl") for r in got]
        if len(got) != len(want) or unmarked != [r.replace(b"#pl", b"pl") for r in want]:
            problems.append("%s: records differ" % test)
        elif post_pass(strip(work, drawn)) != want:
            problems.append("%s: block markers differ beyond what the diagnostics explain" % test)
    return ["%s %s %s" % (name, " ".join(opts), p) for p in problems]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("exe")
    ap.add_argument("--seeds", type=int, default=60)
    o = ap.parse_args()
    exe = os.path.abspath(o.exe)
    bad, n = [], 0
    for seed in range(o.seeds):
        for name, data in (("drawing %d" % seed, drawings.drawing(seed)),
                           ("near-box %d" % seed, compare_builds.near_box(seed))):
            for opts in compare_builds.SETS[:10]:
                n += 1
                bad += check(exe, name, data, opts)
    for b in bad[:20]:
        print("differs:", b)
    print("%d drawings and option sets, each with -t and -t2: %d differ" % (n, len(bad)))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
