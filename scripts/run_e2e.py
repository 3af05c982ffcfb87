#!/usr/bin/env python3
"""Runs the end-to-end cases against a command that starts the program.

A case is a folder under the cases directory:
  about    one line: what the case shows (a case without it fails)
  in/      files placed in an empty working directory before the run
  out/     the files the directory must hold afterwards, byte for byte, and no others
  args     optional: one argument per line
  status   optional: the expected exit status (default 0)
  stdout   optional: the expected console output (default: none)
  stderr   optional: the expected error output (default: none)
  only     optional: the one platform the case holds on ("linux" or "windows")
  env      optional: environment variables for the run, one VAR=value a line (an empty value
           sets the variable empty)

usage: run_e2e.py --cases DIR [--platform P] [--strip-cr] [--only NAME] -- COMMAND...
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile


def read(path, default=None):
    if not os.path.exists(path):
        return default
    with open(path, "rb") as f:
        return f.read()


def tree(root):
    found = {}
    for dirpath, _, files in os.walk(root):
        for name in files:
            full = os.path.join(dirpath, name)
            found[os.path.relpath(full, root)] = read(full)
    return found


def run_case(case_dir, command, strip_cr):
    problems = []
    about = read(os.path.join(case_dir, "about"), b"").rstrip(b"\n")
    if not about.strip() or b"\n" in about:
        problems.append("about: not one line saying what the case shows")
    with tempfile.TemporaryDirectory(prefix="ce_e2e_") as work:
        src = os.path.join(case_dir, "in")
        if os.path.isdir(src):
            for name in os.listdir(src):
                shutil.copy2(os.path.join(src, name), os.path.join(work, name))
        args_bytes = read(os.path.join(case_dir, "args"), b"")
        args = [a for a in args_bytes.decode("utf-8").split("\n") if a != ""]
        env = dict(os.environ)
        for line in read(os.path.join(case_dir, "env"), b"").decode("utf-8").splitlines():
            if line:
                name, value = line.split("=", 1)
                env[name] = value
        proc = subprocess.run(command + args, cwd=work, env=env, capture_output=True, timeout=120)
        want_status = int(read(os.path.join(case_dir, "status"), b"0").strip() or b"0")
        if proc.returncode != want_status:
            problems.append("exit status %d, expected %d" % (proc.returncode, want_status))
        for stream, got in (("stdout", proc.stdout), ("stderr", proc.stderr)):
            want = read(os.path.join(case_dir, stream), b"")
            if strip_cr:
                got = got.replace(b"\r\n", b"\n")
            if got != want:
                problems.append("%s differs:\n  got      %r\n  expected %r" % (stream, got, want))
        got_files = tree(work)
        want_files = tree(os.path.join(case_dir, "out"))
        for name in sorted(set(got_files) | set(want_files)):
            if name not in got_files:
                problems.append("missing file %s" % name)
            elif name not in want_files:
                problems.append("unexpected file %s" % name)
            elif got_files[name] != want_files[name]:
                g, w = got_files[name], want_files[name]
                at = next((i for i in range(min(len(g), len(w))) if g[i] != w[i]), min(len(g), len(w)))
                problems.append("%s differs at byte %d:\n  got      %r\n  expected %r"
                                % (name, at, g[max(0, at - 40):at + 60], w[max(0, at - 40):at + 60]))
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cases", required=True)
    parser.add_argument("--strip-cr", action="store_true",
                        help="compare console output with CR LF read as LF")
    parser.add_argument("--only", action="append", default=[])
    parser.add_argument("--platform", default="linux", help="skip cases that hold elsewhere only")
    parser.add_argument("command", nargs="+")
    opts = parser.parse_args()
    names = sorted(n for n in os.listdir(opts.cases) if os.path.isdir(os.path.join(opts.cases, n)))
    if opts.only:
        names = [n for n in names if n in opts.only]
    failed = 0
    for name in list(names):
        only = read(os.path.join(opts.cases, name, "only"))
        if only is not None and only.decode().strip() != opts.platform:
            print("skip %s (%s only)" % (name, only.decode().strip()))
            names.remove(name)
    for name in names:
        problems = run_case(os.path.join(opts.cases, name), opts.command, opts.strip_cr)
        if problems:
            failed += 1
            print("FAIL %s" % name)
            for p in problems:
                print("  " + p)
        else:
            print("ok   %s" % name)
    print("%d cases, %d failed" % (len(names), failed))
    return 1 if failed or not names else 0


if __name__ == "__main__":
    sys.exit(main())
