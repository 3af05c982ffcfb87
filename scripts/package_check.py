#!/usr/bin/env python3
"""Checks the Windows release zip as a user gets it: unzipped into an empty folder, each batch
file runs under Wine on the sample drawing (and on it with an arc for a boundary) and leaves the
files that the Linux build leaves with the same options; each executable carries the version
that the Linux build prints, and needs no DLL beyond KERNEL32 and the C runtime.

usage: package_check.py --zip ZIP --linux EXE --sample ZOD_UZUD.TXT [--objdump OBJDUMP]
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import zipfile

ALLOWED_DLLS = {"kernel32.dll", "msvcrt.dll"}
VERSION_KEYS = ("FileVersion", "ProductVersion", "ProductName", "FileDescription")


def version_strings(exe):
    """The values of VERSION_KEYS in the executable's version resource: UTF-16 strings, the key,
    its terminator, padding to a multiple of four bytes, the value (ASCII here)."""
    data = open(exe, "rb").read()
    found = {}
    for key in VERSION_KEYS:
        m = re.search(re.escape((key + "\0").encode("utf-16-le")) + rb"(?:\0\0)*((?:[^\0]\0)+)\0\0",
                      data, re.S)
        if m:
            found[key] = m.group(1).decode("utf-16-le")
    return found


def files_of(d):
    return {n: open(os.path.join(d, n), "rb").read() for n in sorted(os.listdir(d))}


def winpath(p):
    return "Z:" + p.replace("/", "\\")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--zip", required=True)
    ap.add_argument("--linux", required=True)
    ap.add_argument("--sample", required=True)
    ap.add_argument("--objdump", default="x86_64-w64-mingw32-objdump")
    o = ap.parse_args()
    faults = []
    line = subprocess.run([o.linux, "--version"], capture_output=True, check=True).stdout
    version = line.split()[-1].decode()
    if os.path.basename(o.zip) != "circle_erase-%s-win64.zip" % version:
        faults.append("%s is not named after version %s" % (o.zip, version))
    sample = open(o.sample, "rb").read()
    arc = sample.replace(b"\nci 70 30 15\r\n", b"\nci 70 30 15 200 340 1 0\r\n")
    assert arc != sample, "the sample's boundary record has changed: update the arc variant"
    env = dict(os.environ, WINEDEBUG="-all")
    with tempfile.TemporaryDirectory(prefix="ce_package_") as top:
        inst = os.path.join(top, "inst")
        os.makedirs(inst)
        zipfile.ZipFile(o.zip).extractall(inst)
        names = sorted(os.listdir(inst))
        for want in ("circle_erase.exe", "zod_preview.exe", "README.txt"):
            if want not in names:
                faults.append("the zip lacks %s" % want)
        readme = open(os.path.join(inst, "README.txt"), "rb").read()
        if readme.count(b"\n") != readme.count(b"\r\n") or b"\n" not in readme:
            faults.append("README.txt does not end its lines in CR LF")

        for exe in ("circle_erase.exe", "zod_preview.exe"):
            path = os.path.join(inst, exe)
            if not os.path.exists(path):
                continue
            dump = subprocess.run([o.objdump, "-p", path], capture_output=True, text=True, check=True).stdout
            dlls = {d.lower() for d in re.findall(r"DLL Name: (\S+)", dump)}
            if not dlls or dlls - ALLOWED_DLLS:
                faults.append("%s needs %s" % (exe, ", ".join(sorted(dlls))))
            if not re.search(r"Type Table.*\n.*Entry: ID: 0x000010,", dump):
                faults.append("%s has no version resource" % exe)
            got = version_strings(path)
            want = {"FileVersion": version, "ProductVersion": version, "ProductName": "circle_erase"}
            for k, v in want.items():
                if got.get(k) != v:
                    faults.append("%s: %s is %r, not %r" % (exe, k, got.get(k), v))
            if not got.get("FileDescription") or "\n" in got["FileDescription"]:
                faults.append("%s: FileDescription %r" % (exe, got.get("FileDescription")))
        p = subprocess.run(["wine", os.path.join(inst, "circle_erase.exe"), "--version"], env=env,
                           capture_output=True)
        if p.stdout.replace(b"\r\n", b"\n") != line:
            faults.append("circle_erase.exe --version prints %r, the Linux build %r" % (p.stdout, line))

        bats = [n for n in names if n.lower().endswith(".bat")]
        if not bats:
            faults.append("the zip holds no batch file")
        for bat in bats:
            text = open(os.path.join(inst, bat), "rb").read().decode("ascii")
            if not re.search(r"^rem \S", text, re.M | re.I):
                faults.append("%s says nowhere what it does" % bat)
            call = [ln for ln in text.splitlines() if 'circle_erase.exe"' in ln]
            if len(call) != 1:
                faults.append("%s does not start circle_erase.exe once" % bat)
                continue
            opts = call[0].split('circle_erase.exe"', 1)[1].split()
            for kind, drawing in (("circle", sample), ("arc", arc)):
                # The host starts the batch file in the drawing's folder, not in the tool's.
                runs = {}
                for side in ("linux", "windows"):
                    d = os.path.join(top, side, bat, kind)
                    os.makedirs(d)
                    open(os.path.join(d, "ZOD_UZUD.TXT"), "wb").write(drawing)
                    cmd = [o.linux] + opts if side == "linux" else ["wine", "cmd", "/c", winpath(os.path.join(inst, bat))]
                    p = subprocess.run(cmd, cwd=d, env=env, capture_output=True, timeout=120)
                    runs[side] = (p.returncode, p.stdout.replace(b"\r\n", b"\n"), files_of(d))
                if runs["linux"] != runs["windows"]:
                    faults.append("%s on the %s drawing: %r under Wine, %r on Linux" % (
                        bat, kind, runs["windows"][:2], runs["linux"][:2]))
                if runs["linux"][2]["ZOD_UZUD.TXT"] == drawing:
                    faults.append("%s on the %s drawing changed nothing" % (bat, kind))
    for f in faults:
        print("FAIL", f)
    print("%s: %d batch files run, %d faults" % (os.path.basename(o.zip), len(bats), len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
