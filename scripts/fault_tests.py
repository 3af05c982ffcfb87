#!/usr/bin/env python3
"""Fault tests: whatever goes wrong, ZOD_UZUD.TXT is either the original or the complete result.

- the run is killed (SIGKILL) at many moments of a large drawing;
- writes fail part-way (RLIMIT_FSIZE with SIGXFSZ ignored): status 1, original intact, no
  temporary file left;
- the exchange file cannot be read, the work file cannot be created, the exchange file is
  read-only: status 1, original intact.

usage: fault_tests.py EXE [--kills N] [--records N]
"""
import argparse
import os
import random
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import drawings  # noqa: E402

failures = []


def check(cond, what):
    if not cond:
        failures.append(what)
        print("FAIL " + what)


def fresh(top, name, data):
    d = os.path.join(top, name)
    shutil.rmtree(d, ignore_errors=True)
    os.makedirs(d)
    with open(os.path.join(d, "ZOD_UZUD.TXT"), "wb") as f:
        f.write(data)
    return d


def exchange(d):
    with open(os.path.join(d, "ZOD_UZUD.TXT"), "rb") as f:
        return f.read()


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("exe")
    ap.add_argument("--kills", type=int, default=60)
    ap.add_argument("--records", type=int, default=150000)
    o = ap.parse_args()
    exe = os.path.abspath(o.exe)
    rng = random.Random(5)
    data = drawings.drawing(424242, records=o.records)
    with tempfile.TemporaryDirectory(prefix="ce_fault_") as top:
        # The complete result, from a run left alone.
        d = fresh(top, "whole", data)
        t0 = time.monotonic()
        p = subprocess.run([exe, "-m1"], cwd=d)
        whole_time = time.monotonic() - t0
        check(p.returncode == 0, "uninterrupted run exits 0")
        result = exchange(d)
        check(result != data, "the drawing changes")
        check(sorted(os.listdir(d)) == ["ZOD_UZUD.TXT"], "an uninterrupted run leaves one file")

        # Killed at many moments, spread over the whole run and a little beyond.
        seen = {"original": 0, "result": 0}
        for k in range(o.kills):
            d = fresh(top, "kill", data)
            delay = whole_time * 1.5 * (k + rng.random()) / o.kills
            p = subprocess.Popen([exe, "-m1"], cwd=d)
            time.sleep(delay)
            p.send_signal(signal.SIGKILL)
            p.wait()
            got = exchange(d)
            state = "original" if got == data else "result" if got == result else None
            check(state is not None, "killed after %.3f s: ZOD_UZUD.TXT is neither original nor result" % delay)
            if state:
                seen[state] += 1
        print("kills: %d runs over %.3f s, %d left the original, %d the result"
              % (o.kills, whole_time * 1.5, seen["original"], seen["result"]))

        # Writes that fail part-way, at many sizes.
        limits = [0, 1, 100, 4096, len(data) // 3, len(data) - 1, len(result) - 1]
        limits += [rng.randrange(1, len(result)) for _ in range(13)]
        for limit in limits:
            d = fresh(top, "fsize", data)

            def cap(limit=limit):
                signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
                resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))

            p = subprocess.run([exe], cwd=d, preexec_fn=cap, capture_output=True)
            check(p.returncode == 1, "file size limit %d: status %d" % (limit, p.returncode))
            check(exchange(d) == data, "file size limit %d: original intact" % limit)
            check(sorted(os.listdir(d)) == ["ZOD_UZUD.TXT"], "file size limit %d: files %s" % (limit, os.listdir(d)))
        print("write faults: %d file size limits" % len(limits))

        # An exchange file that cannot be read.
        d = os.path.join(top, "unreadable")
        os.makedirs(os.path.join(d, "ZOD_UZUD.TXT"))
        p = subprocess.run([exe], cwd=d)
        check(p.returncode == 1, "a directory as exchange file: status 1")
        check(sorted(os.listdir(d)) == ["ZOD_UZUD.TXT"], "a directory as exchange file: nothing created")

        # A work file that cannot be created.
        d = fresh(top, "nowork", data)
        os.makedirs(os.path.join(d, "ZOD_UZUD.$$$"))
        p = subprocess.run([exe], cwd=d)
        check(p.returncode == 1, "no work file: status 1")
        check(exchange(d) == data, "no work file: original intact")

        # A read-only exchange file is not replaced.
        d = fresh(top, "readonly", data)
        os.chmod(os.path.join(d, "ZOD_UZUD.TXT"), 0o444)
        p = subprocess.run([exe], cwd=d)
        check(p.returncode == 1, "read-only exchange file: status 1")
        check(exchange(d) == data, "read-only exchange file: original intact")
        check(sorted(os.listdir(d)) == ["ZOD_UZUD.TXT"], "read-only exchange file: no file left")

        # A directory where nothing can be created (only enforced for other users than root).
        if os.geteuid() != 0:
            d = fresh(top, "locked", data)
            os.chmod(d, 0o555)
            p = subprocess.run([exe], cwd=d)
            os.chmod(d, 0o755)
            check(p.returncode == 1, "locked directory: status 1")
            check(exchange(d) == data, "locked directory: original intact")
    print("%d fault checks failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
