#!/usr/bin/env bash
# Times the Windows executable under Wine against the same source built with its writer thread
# compiled out (circle_erase_inline.exe) and against the Linux build, on the 1,000,000-record
# drawing. Both Windows builds start Wine, so its start-up is part of their times; it is timed
# on its own too (--version). All take turns, and each median sees the machine as the others
# do; all three must write the same bytes. Exits 1 when the threaded build is not the faster
# of the two, or takes more than 1.25 times the Linux build's time, after printing every result.
# usage: bench/windows.sh [RUNS]   (default 15 runs of each; the median is shown)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$PWD/build/wineprefix}"
b=build/bench-windows
cmake -S . -B "$b" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DCE_TESTS=OFF -DCE_INLINE_TWIN=ON >/dev/null
cmake --build "$b" -j "$(nproc 2>/dev/null || echo 2)" --target circle_erase circle_erase_inline
cmake -S . -B build/bench-linux -G Ninja -DCMAKE_BUILD_TYPE=Release -DCE_TESTS=OFF >/dev/null
cmake --build build/bench-linux -j "$(nproc 2>/dev/null || echo 2)" --target circle_erase
# The drawing is made on Linux: the generator writes the same bytes everywhere.
[ "$b/gen_drawing" -nt bench/gen_drawing.cpp ] ||
  "${CXX:-c++}" -std=c++20 -O2 -o "$b/gen_drawing" bench/gen_drawing.cpp
wineboot -i >/dev/null 2>&1 || true
# One Wine server for every run (it ends ten seconds after the last): one that ends between two
# runs, as it does after three idle seconds, can drop the next one's connection.
wineserver -w || true
wineserver -p10
exec python3 - "$runs" "$b" build/bench-linux/circle_erase <<'PY'
import os, shutil, statistics, subprocess, sys, time

runs, b = int(sys.argv[1]), os.path.abspath(sys.argv[2])
top = b + "/runs"
shutil.rmtree(top, ignore_errors=True)
os.makedirs(top)
src = top + "/in.txt"
with open(src, "wb") as f:
    subprocess.run([b + "/gen_drawing", "1000000", "7"], stdout=f, check=True)
tools = {"threaded": ["wine", b + "/circle_erase.exe"],
         "inline": ["wine", b + "/circle_erase_inline.exe"],
         "linux": [os.path.abspath(sys.argv[3])]}

def run(cmd, cwd):
    t = time.perf_counter()
    p = subprocess.run(cmd, cwd=cwd, stdout=subprocess.DEVNULL)
    t = time.perf_counter() - t
    if p.returncode != 0:
        sys.exit("failed: %s" % " ".join(cmd))
    return t

for name in tools:
    os.makedirs(os.path.join(top, name))
run(tools["inline"] + ["--version"], top)  # Wine's first start sets up its server
times = {name: [] for name in list(tools) + ["wine start-up"]}
for i in range(runs):
    order = list(tools) if i % 2 == 0 else list(tools)[::-1]
    for name in order:
        work = os.path.join(top, name)
        shutil.copyfile(src, os.path.join(work, "ZOD_UZUD.TXT"))  # not timed
        times[name].append(run(tools[name], work))
    times["wine start-up"].append(run(tools["threaded"] + ["--version"], top))
outs = [open(os.path.join(top, name, "ZOD_UZUD.TXT"), "rb").read() for name in tools]
if outs[0] != outs[1] or outs[0] != outs[2]:
    sys.exit("the executables wrote different files")

med = {name: statistics.median(t) for name, t in times.items()}
mib = os.path.getsize(src) / 2**20
print()
print("1,000,000 records (%.1f MiB) under %s, median of %d, taking turns:" % (
    mib, subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip(), runs))
print()
print("| executable | seconds | min | max |")
print("|---|---:|---:|---:|")
for name, t in times.items():
    print("| %s | %.3f | %.3f | %.3f |" % (name, med[name], min(t), max(t)))
print()
th, il, st, lx = med["threaded"], med["inline"], med["wine start-up"], med["linux"]
print("inline / threaded: %.2f (less Wine's start-up: %.2f)" % (il / th, (il - st) / (th - st)))
print("threaded under Wine / Linux build: %.2f (less Wine's start-up: %.2f)" % (th / lx, (th - st) / lx))
checks = [("the threaded build is faster than the inline one", th < il),
          ("the threaded build under Wine within 1.25x the Linux build", th <= 1.25 * lx)]
for name, ok in checks: print("  %-4s %s" % ("met" if ok else "MISS", name))
shutil.rmtree(top, ignore_errors=True)
sys.exit(0 if all(ok for _, ok in checks) else 1)
PY
