#!/usr/bin/env python3
"""Runs the Linux and the Windows executable on the same generated drawings and compares every
file they leave and their console output.

usage: cross_check.py --linux EXE --windows EXE.exe [--count N] [--seed S] [--records N]
"""
import argparse
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import drawings  # noqa: E402


def files_of(d):
    return {n: open(os.path.join(d, n), "rb").read() for n in sorted(os.listdir(d)) if n != "run.bat"}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--linux", required=True)
    ap.add_argument("--windows", required=True)
    ap.add_argument("--count", type=int, default=300)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--records", type=int, default=60)
    o = ap.parse_args()
    # Each case runs in a folder of its own.
    o.linux, o.windows = os.path.abspath(o.linux), os.path.abspath(o.windows)
    with tempfile.TemporaryDirectory(prefix="ce_cross_") as top:
        bat = ["@echo off"]
        cases = []
        for i in range(o.count):
            seed = o.seed * 100000 + i
            data, opts = drawings.drawing(seed, o.records), drawings.options(seed)
            for side in ("lin", "win"):
                d = os.path.join(top, side, "c%04d" % i)
                os.makedirs(d)
                open(os.path.join(d, "ZOD_UZUD.TXT"), "wb").write(data)
            lin = os.path.join(top, "lin", "c%04d" % i)
            p = subprocess.run([o.linux] + opts, cwd=lin, capture_output=True, timeout=60)
            open(os.path.join(lin, "console"), "wb").write(p.stdout + p.stderr + b"status %d\n" % p.returncode)
            # One Wine process runs every Windows case: starting Wine is the slow part.
            bat.append('cd /d "%s"' % ("Z:" + os.path.join(top, "win", "c%04d" % i).replace("/", "\\")))
            bat.append('"%s" %s > console 2>&1' % ("Z:" + o.windows.replace("/", "\\"), " ".join(opts)))
            bat.append('echo status %errorlevel%>> console')
            cases.append((i, opts))
        open(os.path.join(top, "run.bat"), "w").write("\r\n".join(bat) + "\r\n")
        env = dict(os.environ, WINEDEBUG="-all")
        subprocess.run(["wine", "cmd", "/c", os.path.join(top, "run.bat")], env=env,
                       capture_output=True, timeout=3600)
        bad = retried = 0
        for i, opts in cases:
            a = files_of(os.path.join(top, "lin", "c%04d" % i))
            b = files_of(os.path.join(top, "win", "c%04d" % i))
            b["console"] = b.get("console", b"").replace(b"\r\n", b"\n")
            if a != b and b"as an internal or external command" in b["console"]:
                # Wine's command shell now and then fails to start a program under load: run
                # that case again on its own.
                retried += 1
                d = os.path.join(top, "retry", "c%04d" % i)
                os.makedirs(d)
                seed = o.seed * 100000 + i
                open(os.path.join(d, "ZOD_UZUD.TXT"), "wb").write(drawings.drawing(seed, o.records))
                p = subprocess.run(["wine", o.windows] + opts, cwd=d, env=env, capture_output=True,
                                   timeout=120)
                open(os.path.join(d, "console"), "wb").write(p.stdout + p.stderr + b"status %d\n" % p.returncode)
                b = files_of(d)
                b["console"] = b["console"].replace(b"\r\n", b"\n")
            if a != b:
                bad += 1
                diff = sorted(n for n in set(a) | set(b) if a.get(n) != b.get(n))
                print("DIFF drawing %d %s: %s" % (i, " ".join(opts), ", ".join(diff)))
                if bad <= 3:
                    for n in diff:
                        print("  linux   %s: %r" % (n, a.get(n, b"")[:300]))
                        print("  windows %s: %r" % (n, b.get(n, b"")[:300]))
        print("%d drawings compared, %d differ (%d run again after Wine failed to start them)"
              % (len(cases), bad, retried))
        return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
