#!/usr/bin/env python3
"""Checks the Windows release zip as a user gets it: unzipped into an empty folder, each batch
file runs under Wine on the sample drawing (and on it with an arc for a boundary) and leaves the
files that the Linux build leaves with the same options, started as the host and a user start
it: by its bare name in its own folder, under a Japanese locale (code page 932, as the host's
users have it), and by its full path from another folder, in the locale this check runs in.
One that clears inside every closed circle (-a) runs on the sample without its designation
too, which -a does not need. Without a drawing it fails with status 1 and says so in the
Japanese and the English of its echo lines. One that restyles (-k) erases nothing: every point
and text of the drawing comes back, and the pieces inside follow the switch to its colour and
line type. The tables of README.txt name every batch file of the zip, and the zip holds every
one they name. No batch file's name begins with a command of cmd's own, which cmd would run in
its place; their Japanese is code page 932. README.txt is UTF-8 after a byte order mark, Japanese
first, then English, and links nothing the zip lacks. Each executable carries the version that
the Linux build prints, and needs no DLL beyond KERNEL32 and the C runtime.

usage: package_check.py --zip ZIP --linux EXE --sample ZOD_UZUD.TXT [--objdump OBJDUMP]
"""
import argparse
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

ALLOWED_DLLS = {"kernel32.dll", "msvcrt.dll"}
# cmd's own commands (Wine's cmd adds CHOICE, CTTY, HELP, LABEL and MORE).
CMD_BUILTINS = """ASSOC BREAK CALL CD CHDIR CHOICE CLS COLOR COPY CTTY DATE DEL DIR ECHO ENDLOCAL
    ERASE EXIT FOR FTYPE GOTO HELP IF LABEL MD MKDIR MKLINK MORE MOVE PATH PAUSE POPD PROMPT PUSHD
    RD REM REN RENAME RMDIR SET SETLOCAL SHIFT START TIME TITLE TYPE VER VERIFY VOL""".split()
# Wine finds code page 932 by LC_ALL also where no Japanese locale is installed.
JAPANESE = {"LC_ALL": "ja_JP.UTF-8", "LANG": "ja_JP.UTF-8"}
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


def files_of(d, besides=None):
    """The files in d, but those of `besides` that are there unchanged."""
    found = {}
    for n in sorted(os.listdir(d)):
        path = os.path.join(d, n)
        data = open(path, "rb").read() if os.path.isfile(path) else None
        if besides is None or besides.get(n, b"") != data:
            found[n] = data
    return found


def batch_faults(name, data):
    """What keeps a batch file from running as it is called, or from being read in Japanese."""
    faults = []
    word = next((w for w in CMD_BUILTINS if name.upper().startswith(w)), None)
    if word:
        faults.append("%s: cmd takes the bare name for its own %s" % (name, word))
    if data.count(b"\n") != data.count(b"\r\n"):
        faults.append("%s does not end its lines in CR LF" % name)
    try:
        text = data.decode("cp932")
    except UnicodeDecodeError as e:
        return faults + ["%s is not code page 932: %s" % (name, e)]
    rems = re.findall(r"^rem (.*)$", text, re.M | re.I)
    if not any(r.isascii() for r in rems) or all(r.isascii() for r in rems):
        faults.append("%s does not say in Japanese and English what it does" % name)
    if not any(not e.isascii() for e in echo_lines(text)):
        faults.append("%s has no message in Japanese" % name)
    # In another code page cmd reads the bytes of the Japanese one by one.
    for c in sorted({c for c in text if not c.isascii()}):
        if set(c.encode("cp932")) & set(b"|^&<>%"):
            faults.append("%s: %s has a byte that cmd reads as an operator outside code page 932"
                          % (name, c))
    return faults


def echo_lines(text):
    return re.findall(r"^\s*echo (.*?)\r?$", text, re.M | re.I)


def readme_faults(data, names):
    """README.txt: UTF-8 after its byte order mark, Japanese first, then English, and no link
    to anything the zip lacks."""
    faults = []
    if data.count(b"\n") != data.count(b"\r\n") or b"\n" not in data:
        faults.append("README.txt does not end its lines in CR LF")
    if not data.startswith(b"\xef\xbb\xbf"):
        return faults + ["README.txt does not begin with a UTF-8 byte order mark"]
    try:
        text = data[3:].decode("utf-8")
    except UnicodeDecodeError as e:
        return faults + ["README.txt is not UTF-8: %s" % e]
    ja, sep, en = text.partition("\r\n# circle_erase\r\n")
    kana_kanji = len(re.findall(r"[\u3041-\u30ff\u4e00-\u9fff]", ja))
    words = len(re.findall(r"\b[A-Za-z]{3,}\b", en))
    if not sep or kana_kanji < 500 or words < 1000:
        faults.append("README.txt is not Japanese (%d kana and kanji) and then English (%d words)"
                      % (kana_kanji, words))
    for target in re.findall(r"\]\(([^)]*)\)", text):
        path = target.split("#")[0]
        if "://" in target or path.startswith(("/", "..")) or path and path not in names:
            faults.append("README.txt links %s, which the zip lacks" % target)
    return faults


def restyle_faults(bat, opts, drawing, result):
    """A batch file with -k<cl>: nothing erased, and the switch to colour c and line type l."""
    value = next((o[2:] for o in opts if o[:2].lower() in ("-k", "/k")), None)
    if value is None or b"\nhe  " in result:
        return []
    n = int(value or "0")
    faults = []
    switch = b"\r\nlc%d\r\nlt%d\r\n" % (int(n / 10), int(math.fmod(n, 10)))
    if switch not in result:
        faults.append("%s writes no switch %r" % (bat, switch))
    gone = [r for r in drawing.split(b"\r\n") if r[:2] in (b"pt", b"ch") and r + b"\r\n" not in result]
    if gone:
        faults.append("%s erased %r" % (bat, gone))
    return faults


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
    undesignated = sample.replace(b"hhp1ci\r\nci 70 30 15\r\n", b"")
    assert undesignated != sample
    env = dict(os.environ, WINEDEBUG="-all")
    with tempfile.TemporaryDirectory(prefix="ce_package_") as top:
        inst = os.path.join(top, "inst")
        os.makedirs(inst)
        zipfile.ZipFile(o.zip).extractall(inst)
        names = sorted(os.listdir(inst))
        everything = sorted(os.path.relpath(os.path.join(r, f), inst).replace(os.sep, "/")
                            for r, _, fs in os.walk(inst) for f in fs)
        for want in ("circle_erase.exe", "zod_preview.exe", "README.txt"):
            if want not in names:
                faults.append("the zip lacks %s" % want)
        if "README.txt" in names:
            readme = open(os.path.join(inst, "README.txt"), "rb").read()
            faults += readme_faults(readme, everything)
            listed = set(re.findall(rb"^\| `([\w-]+\.bat)` \|", readme, re.M))
            for bat in sorted(n.encode() for n in names if n.lower().endswith(".bat")):
                if bat not in listed:
                    faults.append("README.txt names no %s" % bat.decode())
            for bat in sorted(listed - {n.encode() for n in names}):
                faults.append("README.txt names %s, which the zip lacks" % bat.decode())
        installed = files_of(inst)

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
            data = open(os.path.join(inst, bat), "rb").read()
            faults += batch_faults(bat, data)
            text = data.decode("cp932", "replace")
            call = [ln for ln in text.splitlines() if 'circle_erase.exe"' in ln]
            if len(call) != 1:
                faults.append("%s does not start circle_erase.exe once" % bat)
                continue
            opts = call[0].split('circle_erase.exe"', 1)[1].split()
            drawings = [("circle", sample), ("arc", arc)]
            if any(o[:2].lower() in ("-a", "/a") for o in opts):
                drawings.append(("undesignated", undesignated))
            for kind, drawing in drawings:
                runs = {}
                for side in ("linux", "bare name", "full path"):
                    d = os.path.join(top, side, bat, kind)
                    if side == "bare name":
                        # The host's folder for external commands is the drawing's too.
                        shutil.copytree(inst, d)
                        cmd, run_env, besides = ["wine", "cmd", "/c", bat], dict(env, **JAPANESE), installed
                    else:
                        os.makedirs(d)
                        cmd, run_env, besides = [o.linux] + opts, env, None
                        if side == "full path":
                            cmd = ["wine", "cmd", "/c", winpath(os.path.join(inst, bat))]
                    open(os.path.join(d, "ZOD_UZUD.TXT"), "wb").write(drawing)
                    p = subprocess.run(cmd, cwd=d, env=run_env, capture_output=True, timeout=120)
                    runs[side] = (p.returncode, p.stdout.replace(b"\r\n", b"\n"), files_of(d, besides))
                for side in ("bare name", "full path"):
                    if runs[side] != runs["linux"]:
                        differ = sorted(n for n in set(runs[side][2]) | set(runs["linux"][2])
                                        if runs[side][2].get(n) != runs["linux"][2].get(n))
                        faults.append("%s on the %s drawing, by its %s: %r under Wine, %r on Linux; "
                                      "files that differ: %s" % (bat, kind, side, runs[side][:2],
                                                                 runs["linux"][:2], ", ".join(differ)))
                if runs["linux"][2]["ZOD_UZUD.TXT"] == drawing:
                    faults.append("%s on the %s drawing changed nothing" % (bat, kind))
                faults += restyle_faults(bat, opts, drawing, runs["linux"][2]["ZOD_UZUD.TXT"])
            # Without a drawing: status 1, and the batch file's message as a Japanese console
            # shows it.
            d = os.path.join(top, "no drawing", bat)
            shutil.copytree(inst, d)
            p = subprocess.run(["wine", "cmd", "/c", bat], cwd=d, env=dict(env, **JAPANESE),
                               capture_output=True, timeout=120)
            said = "".join(e + "\n" for e in echo_lines(text)).encode("cp932")
            if (p.returncode, p.stdout.replace(b"\r\n", b"\n")) != (1, said):
                faults.append("%s without a drawing: status %d, %r, not 1, %r" % (
                    bat, p.returncode, p.stdout, said))
    for f in faults:
        print("FAIL", f)
    print("%s: %d batch files run, %d faults" % (os.path.basename(o.zip), len(bats), len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
