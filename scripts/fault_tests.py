#!/usr/bin/env python3
"""Fault tests: whatever goes wrong, ZOD_UZUD.TXT is either the original or the complete result.

- the run is killed (SIGKILL) at many moments of a large drawing, some before the new file
  replaces the old and some after;
- writes fail part-way (RLIMIT_FSIZE with SIGXFSZ ignored): status 1, original intact, no
  temporary file left;
- the exchange file cannot be read, the work file cannot be created, the exchange file is
  read-only: status 1, original intact;
- the edges: a second run while one holds the lock (both orders), a holder killed with SIGKILL,
  stale links at the work files' names, a FIFO for the exchange file, out of memory, a console
  that cannot be written, a file another user owns and has not let us write;
- a host that wrote zod_uzud.txt, the run killed at each of its renames in turn (strace): the
  next run finds the drawing and rewrites it, also where it was left under a passing name.
- with --shim, a library preloaded into the run that times what a busy machine does: the
  exchange file replaced between the open and the lock, a background sync that fails once.
With --wine EXE is a Windows executable and only the edges that Windows has are tried, under
Wine; there the renames are the Wine server's, which is held at each while the run is killed.

usage: fault_tests.py EXE [--kills N] [--records N] [--no-memory-limit] [--wine] [--shim SO]
"""
import argparse
import fcntl
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


def only_exchange(d):
    return sorted(os.listdir(d)) == ["ZOD_UZUD.TXT"]


def one_line(err):
    return err.count(b"\n") == 1 and err.startswith(b"circle_erase: ")


def lowercase(top, name, data):
    """A folder where the host wrote the exchange file as zod_uzud.txt."""
    d = fresh(top, name, data)
    os.rename(os.path.join(d, "ZOD_UZUD.TXT"), os.path.join(d, "zod_uzud.txt"))
    return d


PASSING = ("DUR_o2r2.$$", "DUR_o2r2.$$$")


def after_stop(d, cmd, result, what):
    """A run was stopped in d: the next run finds the drawing, says so in one line when it was
    under a passing name, and rewrites it (unless the stopped run had done so)."""
    def now():
        return exchange(d) if os.path.exists(os.path.join(d, "ZOD_UZUD.TXT")) else None

    if now() != result:
        stranded = any(os.path.exists(os.path.join(d, n)) for n in PASSING)
        p = subprocess.run(cmd, cwd=d, capture_output=True)
        check(p.returncode == 0 and (one_line(p.stderr) if stranded else p.stderr == b""),
              "%s: the next run, got %d %r" % (what, p.returncode, p.stderr))
    left = sorted(os.listdir(d))
    check(now() == result and set(left) <= {"ZOD_UZUD.TXT", "ZOD_UZUD.$$$"},
          "%s: the drawing rewritten, files %s" % (what, left))


def strace_works():
    if shutil.which("strace") is None:
        return "strace is not installed"
    p = subprocess.run(["strace", "-o", os.devnull, "true"], capture_output=True)
    return None if p.returncode == 0 else "strace cannot trace here: %r" % p.stderr[:200]


def rename_kills(top, exe, data, result):
    """The run killed on entering each rename in turn (glibc's rename is the rename call,
    rename_noreplace renameat2; each is counted on its own)."""
    d = lowercase(top, "renames", data)
    trace = os.path.join(top, "renames.txt")
    subprocess.run(["strace", "-f", "-qq", "-o", trace, "-e", "trace=rename,renameat,renameat2",
                    exe], cwd=d, stdout=subprocess.DEVNULL)
    check(exchange(d) == result, "renames: a traced run gives the result")
    with open(trace) as f:
        calls = [line.split()[1].split("(")[0] for line in f if "(" in line]
    check(len(calls) >= 2, "renames: the run renames at least twice, got %s" % calls)
    for i, call in enumerate(calls):
        d = lowercase(top, "renames", data)
        inject = "%s:signal=SIGKILL:when=%d" % (call, calls[: i + 1].count(call))
        p = subprocess.run(["strace", "-f", "-qq", "-o", os.devnull, "-e", "trace=" + call, "-e",
                            "inject=" + inject, exe], cwd=d)
        check(p.returncode == -signal.SIGKILL, "renames: killed at %s" % inject)
        after_stop(d, [exe], result, "killed at %s" % inject)
    print("rename kills: %d renames" % len(calls))


def wine_server_pid():
    """The Wine server of this prefix: the one that holds the prefix open."""
    prefix = os.path.realpath(os.environ.get("WINEPREFIX", os.path.expanduser("~/.wine")))
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if not os.path.basename(os.readlink("/proc/%s/exe" % pid)).startswith("wineserver"):
                continue
            fds = os.listdir("/proc/%s/fd" % pid)
            if any(os.readlink("/proc/%s/fd/%s" % (pid, fd)) == prefix for fd in fds):
                return pid
        except OSError:
            pass
    return None


def wine_rename_kills(top, cmd, data, result):
    """Under Wine the server makes the renames. It is held just after each of them in turn (its
    rename of our files, counted from the moment strace attaches) while the run is killed."""
    server = wine_server_pid()
    if server is None:
        print("rename kills skipped: no Wine server found for the prefix")
        return
    trace = os.path.join(top, "renames.txt")
    d = os.path.realpath(os.path.join(top, "renames"))
    paths = []
    for n in ("zod_uzud.txt", "ZOD_UZUD.TXT", "ZOD_UZUD.$$N") + PASSING:
        paths += ["-P", os.path.join(d, n)]

    def traced(extra, run):
        st = subprocess.Popen(["strace", "-p", server, "-o", trace, "-e", "trace=rename"] + paths
                              + extra, stderr=subprocess.PIPE)
        check(b"attached" in st.stderr.readline(), "renames: strace attaches to the Wine server")
        try:
            run()
        finally:
            st.terminate()
            st.communicate()
        with open(trace) as f:
            return f.read().count("rename(")

    lowercase(top, "renames", data)
    n = traced([], lambda: subprocess.run(cmd, cwd=d, stdout=subprocess.DEVNULL))
    check(exchange(d) == result and n >= 3, "renames: a traced run gives the result, %d renames" % n)
    for k in range(1, n + 1):
        lowercase(top, "renames", data)

        def kill_when_held():
            p = subprocess.Popen(cmd, cwd=d, start_new_session=True)
            held = False
            for _ in range(600):
                with open(trace) as f:
                    held = "DELAYED" in f.read()
                if held or p.poll() is not None:
                    break
                time.sleep(0.1)
            check(held, "renames: the server held at rename %d" % k)
            if p.poll() is None:
                os.killpg(p.pid, signal.SIGKILL)
            p.wait()

        traced(["-e", "inject=rename:delay_exit=1000000:when=%d" % k], kill_when_held)
        # The server closes the dead run's handles, and with them the lock file.
        for _ in range(300):
            if not os.path.exists(os.path.join(d, "ZOD_UZUD.$$L")):
                break
            time.sleep(0.1)
        after_stop(d, cmd, result, "killed after rename %d" % k)
    print("rename kills: %d renames" % n)


def edges(top, cmd, wine, memory_limit):
    """What a hostile user tries: each must end as the original or the complete result. The
    drawing is small, but its diagnostics in test mode 2 are far more than a pipe holds."""
    data = drawings.drawing(1919, records=3000)
    def result_of(args):
        d = fresh(top, "alone", data)
        p = subprocess.run(cmd + args, cwd=d, stdout=subprocess.DEVNULL)
        check(p.returncode == 0, "%s alone: status 0" % args)
        return exchange(d)

    def holder(d, args):
        """A run held up with the lock: test mode 2 writes into a pipe nobody reads until the
        pipe is full. Its first line comes once the pre-scan is done."""
        p = subprocess.Popen(cmd + args, cwd=d, stdout=subprocess.PIPE)
        check(p.stdout.readline().startswith(b"# Tcopy()end"), "%s: the holder starts" % args)
        return p

    erase, crop = result_of(["-t2"]), result_of(["-t2", "-i"])
    # Both orders: the second run is refused at once and the first completes.
    for first, second, want in ((["-t2"], ["-i"], erase), (["-t2", "-i"], [], crop)):
        d = fresh(top, "two", data)
        p = holder(d, first)
        q = subprocess.run(cmd + second, cwd=d, capture_output=True, timeout=60)
        what = "%s while %s runs" % (second, first)
        check(q.returncode == 1 and one_line(q.stderr) and b"in use" in q.stderr,
              "%s: status 1 and one line, got %d %r" % (what, q.returncode, q.stderr))
        check(exchange(d) == data, "%s: the drawing untouched meanwhile" % what)
        p.communicate()
        check(p.returncode == 0 and exchange(d) == want, "%s: the first completes" % what)
        check(sorted(os.listdir(d)) == ["ZOD_UZUD.$$$", "ZOD_UZUD.TXT"], "%s: files" % what)

    # A holder killed leaves no lock behind.
    d = fresh(top, "killed", data)
    p = holder(d, ["-t2"])
    p.kill()
    p.communicate()
    if wine:
        # The server closes the handles of the dead, and with them the lock file, soon after.
        lock = os.path.join(d, "ZOD_UZUD.$$L")
        for _ in range(300):
            if not os.path.exists(lock):
                break
            time.sleep(0.1)
    q = subprocess.run(cmd + ["-t2"], cwd=d, stdout=subprocess.DEVNULL)
    check(q.returncode == 0 and exchange(d) == erase, "after a killed holder: the next run succeeds")

    # Stale links at the work files' names: the names are replaced, what they point to is not.
    # Wine's DeleteFile removes what a Unix symbolic link points to; Windows has none of those.
    for kind in ("hard",) if wine else ("symbolic", "hard"):
        for args in ([], ["-t"]):
            d = fresh(top, "links", data)
            victim = os.path.join(top, "victim.txt")
            with open(victim, "wb") as f:
                f.write(b"victim\r\n")
            for name in ("ZOD_UZUD.$$$", "ZOD_UZUD.$$N"):
                (os.symlink if kind == "symbolic" else os.link)(victim, os.path.join(d, name))
            p = subprocess.run(cmd + args, cwd=d, capture_output=True)
            with open(victim, "rb") as f:
                check(f.read() == b"victim\r\n", "%s links %s: the victim untouched" % (kind, args))
            check(p.returncode == 0 and not os.path.islink(os.path.join(d, "ZOD_UZUD.TXT")),
                  "%s links %s: status 0, the exchange file a file, got %d %r"
                  % (kind, args, p.returncode, p.stderr))
            left = sorted(os.listdir(d))
            check(left == (["ZOD_UZUD.$$$", "ZOD_UZUD.TXT"] if args else ["ZOD_UZUD.TXT"]),
                  "%s links %s: files %s" % (kind, args, left))

    # The exchange file a link: the link gives way to the new file, its target stays as it was.
    if not wine:
        exchange_link(top, cmd, data, erase)

    why = strace_works()
    if why:
        print("rename kills skipped: " + why)
    elif wine:
        wine_rename_kills(top, cmd, data, result_of([]))
    else:
        rename_kills(top, cmd[0], data, result_of([]))

    # Test mode 2's console cannot be written: the file is rewritten all the same.
    d = fresh(top, "full", data)
    with open("/dev/full", "wb") as full:
        p = subprocess.run(cmd + ["-t2"], cwd=d, stdout=full)
    check(p.returncode == 0 and exchange(d) == erase, "-t2 >/dev/full: status 0, rewritten")
    if wine:
        return
    unix_edges(top, cmd, data, memory_limit)


def exchange_link(top, cmd, data, erase):
    d = fresh(top, "linked", b"")
    target = os.path.join(top, "drawing.txt")
    with open(target, "wb") as f:
        f.write(data)
    os.remove(os.path.join(d, "ZOD_UZUD.TXT"))
    os.symlink(target, os.path.join(d, "ZOD_UZUD.TXT"))
    p = subprocess.run(cmd + ["-t2"], cwd=d, stdout=subprocess.DEVNULL)
    check(p.returncode == 0 and exchange(d) == erase, "a linked exchange file is rewritten")
    check(not os.path.islink(os.path.join(d, "ZOD_UZUD.TXT")), "a linked exchange file: now a file")
    with open(target, "rb") as f:
        check(f.read() == data, "a linked exchange file: its target untouched")


def another_user(top, exe, data):
    """A root-owned 0644 exchange file in a folder anyone may write: as another user the run may
    not write the file, and leaves it as it was; made writable for all, the run rewrites it."""
    if os.geteuid() != 0:
        print("another user: skipped, the test must run as root to be another user")
        return
    nobody = 65534
    os.chmod(top, 0o755)
    own = os.path.join(top, "circle_erase")
    shutil.copy(exe, own)

    def become():
        os.setgroups([])
        os.setgid(nobody)
        os.setuid(nobody)

    for mode in (0o644, 0o666):
        d = fresh(top, "another", data)
        os.chmod(d, 0o777)
        name = os.path.join(d, "ZOD_UZUD.TXT")
        os.chmod(name, mode)
        p = subprocess.run([own], cwd=d, preexec_fn=become, capture_output=True)
        if mode == 0o644:
            check(p.returncode == 1 and one_line(p.stderr) and b"read-only" in p.stderr,
                  "another user's 0644 file: status 1 and one line, got %d %r" % (p.returncode, p.stderr))
            check(exchange(d) == data and os.stat(name).st_uid == 0 and only_exchange(d),
                  "another user's 0644 file: left as it was")
        else:
            check(p.returncode == 0 and exchange(d) != data and only_exchange(d),
                  "another user's 0666 file: rewritten, got %d %r" % (p.returncode, p.stderr))


def unix_edges(top, cmd, data, memory_limit):
    another_user(top, cmd[0], data)

    # The test holds the lock itself.
    d = fresh(top, "held", data)
    with open(os.path.join(d, "ZOD_UZUD.TXT"), "rb") as f:
        fcntl.flock(f, fcntl.LOCK_EX)
        p = subprocess.run(cmd, cwd=d, capture_output=True)
    check(p.returncode == 1 and one_line(p.stderr), "a held lock: status 1 and one line")
    check(exchange(d) == data and only_exchange(d), "a held lock: nothing changes")

    # A FIFO: refused at once, where opening it would wait for a writer.
    d = os.path.join(top, "fifo")
    os.makedirs(d)
    os.mkfifo(os.path.join(d, "ZOD_UZUD.TXT"))
    p = subprocess.run(cmd, cwd=d, capture_output=True, timeout=30)
    check(p.returncode == 1 and one_line(p.stderr), "a FIFO: status 1 and one line")
    check(only_exchange(d), "a FIFO: nothing created")

    # Out of memory: a line longer than the address space allowed.
    if memory_limit:
        line = b"#" + b"x" * (120 << 20) + b"\r\n"
        huge = data.replace(b"\r\n#", b"\r\n" + line + b"#", 1)
        d = fresh(top, "memory", huge)

        def cap():
            resource.setrlimit(resource.RLIMIT_AS, (100 << 20, 100 << 20))

        p = subprocess.run(cmd, cwd=d, preexec_fn=cap, capture_output=True)
        check(p.returncode == 1 and one_line(p.stderr) and b"memory" in p.stderr,
              "out of memory: status 1 and one line, got %d %r" % (p.returncode, p.stderr[:200]))
        check(exchange(d) == huge and only_exchange(d), "out of memory: nothing changes")


def preloaded(exe, shim, **env):
    """The environment of a run with the shim preloaded. AddressSanitizer's runtime must come
    first of all libraries, so an instrumented tool's own is named before the shim."""
    libs = subprocess.run(["ldd", exe], capture_output=True, text=True).stdout.split("\n")
    asan = [l.split("=>")[1].split()[0] for l in libs if "libasan" in l and "=>" in l]
    return dict(os.environ, LD_PRELOAD=":".join(asan + [shim]), **env)


def shim_faults(top, exe, shim):
    first, second = drawings.drawing(1, records=300), drawings.drawing(6, records=300)

    def result_of(data):
        d = fresh(top, "alone", data)
        check(subprocess.run([exe], cwd=d).returncode == 0, "shim: a run alone exits 0")
        return exchange(d)

    stale, want = result_of(first), result_of(second)
    check(stale != want, "shim: the two drawings give two results")
    # The host puts a new file at the name between the run's open and its lock: the run
    # opens the name again and rewrites the new file, never the old one's result over it.
    d = fresh(top, "swapped", first)
    with open(os.path.join(d, "NEXT.TXT"), "wb") as f:
        f.write(second)
    env = preloaded(exe, shim, CE_SHIM_RENAME_FROM="NEXT.TXT", CE_SHIM_RENAME_TO="ZOD_UZUD.TXT")
    p = subprocess.run([exe], cwd=d, env=env, capture_output=True)
    check(p.returncode == 0 and exchange(d) == want and only_exchange(d),
          "replaced before the lock: the successor rewritten, got %d %r %s"
          % (p.returncode, p.stderr, "stale result" if exchange(d) == stale else ""))

    # Past 16 MiB the new file is synced in the background at least twice. The first sync
    # fails and a later one succeeds: part of the file may not be on the disk, so the new
    # file must not replace the old one.
    big = second + (b"#" + b"x" * (1 << 20) + b"\r\n") * 40
    d = fresh(top, "sync", big)
    p = subprocess.run([exe], cwd=d, env=preloaded(exe, shim, CE_SHIM_SYNC_FAIL="ZOD_UZUD.$$N"),
                       capture_output=True)
    check(p.returncode == 1 and one_line(p.stderr),
          "a background sync failed once: status 1 and one line, got %d %r"
          % (p.returncode, p.stderr))
    check(exchange(d) == big and only_exchange(d), "a background sync failed once: nothing changes")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("exe")
    ap.add_argument("--kills", type=int, default=60)
    ap.add_argument("--records", type=int, default=150000)
    ap.add_argument("--no-memory-limit", action="store_true",
                    help="skip the out-of-memory case (a sanitizer's shadow memory needs more)")
    ap.add_argument("--wine", action="store_true")
    ap.add_argument("--shim", help="the library built from tests/fault_shim.cpp (Linux)")
    o = ap.parse_args()
    exe = os.path.abspath(o.exe)
    rng = random.Random(5)
    data = drawings.drawing(424242, records=o.records)
    if o.wine:
        # One server for every run: a server that exits between two runs now and then resets the
        # next one's connection ("wine client error"), a failure of Wine's, not of the program.
        subprocess.run(["wineserver", "-w"])
        subprocess.run(["wineserver", "-p"])
        try:
            with tempfile.TemporaryDirectory(prefix="ce_fault_") as top:
                edges(top, ["wine", exe], True, False)
        finally:
            subprocess.run(["wineserver", "-k"])
            subprocess.run(["wineserver", "-w"])
        print("%d fault checks failed" % len(failures))
        return 1 if failures else 0
    with tempfile.TemporaryDirectory(prefix="ce_fault_") as top:
        edges(top, [exe], False, not o.no_memory_limit)
        if o.shim:
            shim_faults(top, exe, os.path.abspath(o.shim))
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
        # A third of the kills fall after the whole run's time: with enough of them, some must
        # come before the new file replaced the old and some after.
        if o.kills >= 20:
            check(seen["original"] > 0 and seen["result"] > 0,
                  "kills: both the original and the result were left")

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
