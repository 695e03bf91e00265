#!/usr/bin/env python3
"""Opening a large file, start to first draw: `tarnwick --screenshot` (start, open, lay out the
window, draw every layer, write the PNG, quit) beside `tarnwick-cli count` (read and parse the
same file, print a summary), whole processes alternating on a generated file of 1,000,000 track
points and 1,000 named waypoints (bench/gpx_load/make_gpx.py). Tile hosts point at a closed
local port, so every download fails at once and no run waits on the network. Prints each run,
the medians (wall and CPU seconds) and the ratio screenshot / count.

Usage: bench/open_large/run.py [BUILD_DIR] [--rounds N]   (default build, 7 rounds)
The file goes to BUILD_DIR/bench/open_large and is reused when present."""
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
args = sys.argv[1:]
rounds = 7
if "--rounds" in args:
    i = args.index("--rounds")
    rounds = int(args[i + 1])
    del args[i:i + 2]
build = os.path.abspath(args[0] if args else "build")

subprocess.run(["cmake", "--build", build, "--target", "tarnwick", "tarnwick-cli"], check=True,
               stdout=subprocess.DEVNULL)
app = os.path.join(build, "src", "app", "tarnwick")
cli = os.path.join(build, "src", "cli", "tarnwick-cli")
out = os.path.join(build, "bench", "open_large")
os.makedirs(out, exist_ok=True)
gpx = os.path.join(out, "open_1M_1000wpt.gpx")
if not os.path.exists(gpx):
    subprocess.run([sys.executable, os.path.join(here, "..", "gpx_load", "make_gpx.py"), "1000000", gpx, "1000"],
                   check=True)

# A port nothing listens on: bound and released again.
s = socket.socket()
s.bind(("127.0.0.1", 0))
closed = "http://127.0.0.1:%d" % s.getsockname()[1]
s.close()
work = tempfile.mkdtemp(prefix="open_large.")
env = dict(os.environ, QT_QPA_PLATFORM="offscreen", TARNWICK_GSI_BASE=closed, TARNWICK_OSM_BASE=closed,
           TARNWICK_GSI_MAPS_BASE=closed, TARNWICK_CONFIG_DIR=work)


def measure(cmd):
    start = time.perf_counter()
    p = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=env)
    _, status, ru = os.wait4(p.pid, 0)
    wall = time.perf_counter() - start
    err = p.stderr.read().decode(errors="replace")
    p.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("%s failed: %s" % (" ".join(cmd), err.strip()))
    return wall, ru.ru_utime + ru.ru_stime


png = os.path.join(work, "first.png")
tools = [
    ("tarnwick-cli count", [cli, "count", gpx]),
    ("tarnwick --screenshot", [app, "--screenshot", png, "--wait-ms", "0", gpx]),
]
results = {name: [] for name, _ in tools}
print("%s (%.0f MB), %d rounds alternating; wall / cpu seconds" % (os.path.basename(gpx), os.path.getsize(gpx) / 1e6,
                                                                   rounds))
for r in range(rounds):
    line = []
    for name, cmd in (tools if r % 2 == 0 else tools[::-1]):
        w, c = measure(cmd)
        results[name].append((w, c))
        line.append("%s %.2f / %.2f" % (name, w, c))
    print("  " + ",  ".join(line))
med = {name: (statistics.median(w for w, _ in rs), statistics.median(c for _, c in rs)) for name, rs in results.items()}
for name, _ in tools:
    print("median %-22s wall %6.3f s  cpu %6.3f s" % (name, *med[name]))
a, b = med["tarnwick --screenshot"], med["tarnwick-cli count"]
print("ratio screenshot / count: wall %.2fx  cpu %.2fx" % (a[0] / b[0], a[1] / b[1]))
shutil.rmtree(work)
