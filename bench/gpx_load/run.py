#!/usr/bin/env python3
"""Loads generated 10k, 100k and 1M-point GPX files with tarnwick's reader (bench_gpx_load)
and, side by side in the same run, with `xmllint --noout` (libxml2 building the whole tree)
and `xmllint --stream --noout` (libxml2's streaming reader, the floor). Each measurement is a
separate process: wall seconds, CPU seconds and peak resident memory (from wait4). Prints the
medians and the ratios tarnwick / xmllint.

Usage: bench/gpx_load/run.py [BUILD_DIR] [--rounds N]   (default build, 5 rounds)
The files go to BUILD_DIR/bench/gpx_load/out and are reused when present."""
import os
import statistics
import subprocess
import sys
import time

here = os.path.dirname(os.path.abspath(__file__))
args = [a for a in sys.argv[1:] if not a.startswith("--")]
rounds = 5
if "--rounds" in sys.argv:
    rounds = int(sys.argv[sys.argv.index("--rounds") + 1])
    args = [a for a in args if a != str(rounds)]
build = os.path.abspath(args[0] if args else "build")

subprocess.run(["cmake", "--build", build, "--target", "bench_gpx_load"], check=True, stdout=subprocess.DEVNULL)
ours = os.path.join(build, "bench", "gpx_load", "bench_gpx_load")
out = os.path.join(build, "bench", "gpx_load", "out")
os.makedirs(out, exist_ok=True)


def measure(cmd):
    start = time.perf_counter()
    p = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, ru = os.wait4(p.pid, 0)
    wall = time.perf_counter() - start
    p.returncode = os.waitstatus_to_exitcode(status)
    err = p.stderr.read().decode(errors="replace")
    p.stderr.close()
    if p.returncode != 0:
        sys.exit("%s failed: %s" % (" ".join(cmd), err.strip()))
    return wall, ru.ru_utime + ru.ru_stime, ru.ru_maxrss / 1024.0


tools = [
    ("tarnwick", lambda f: [ours, f]),
    ("xmllint --noout", lambda f: ["xmllint", "--noout", f]),
    ("xmllint --stream", lambda f: ["xmllint", "--stream", "--noout", f]),
]

print("%d rounds, medians; each tool runs once per round, interleaved" % rounds)
for n, label in ((10000, "10k"), (100000, "100k"), (1000000, "1M")):
    f = os.path.join(out, "bench_%d.gpx" % n)
    if not os.path.exists(f):
        subprocess.run([sys.executable, os.path.join(here, "make_gpx.py"), str(n), f], check=True)
    results = {name: [] for name, _ in tools}
    for _ in range(rounds):
        for name, cmd in tools:
            results[name].append(measure(cmd(f)))
    med = {name: tuple(statistics.median(r[i] for r in rs) for i in range(3)) for name, rs in results.items()}
    print("\n%s points (%.1f MB):" % (label, os.path.getsize(f) / 1e6))
    for name, _ in tools:
        w, c, m = med[name]
        print("  %-17s wall %7.3f s  cpu %7.3f s  peak %8.1f MB" % (name, w, c, m))
    t = med["tarnwick"]
    for ref in ("xmllint --noout", "xmllint --stream"):
        r = med[ref]
        print("  tarnwick / %-17s wall %.2fx  cpu %.2fx  memory %.3fx" % (ref, t[0] / r[0], t[1] / r[1], t[2] / r[2]))
