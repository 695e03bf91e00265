#!/usr/bin/env python3
"""Checks `tarnwick-cli points` against an independent reading of the same GPX files: Python's
ElementTree walked in document order with the reader's rules (a wpt or trkpt takes the name,
ele and time elements that follow it up to the next wpt, trk or trkpt; a trk ends the track
before it), Hubeny distances on WGS84 accumulated in single precision as the documents keep
them, and the list's copy format: no, elev, date, time, dist, speed, lat, lon (waypoints: no,
name, elev, lat, lon). Every track and the waypoints of every file are compared line by line.
Usage: independent_points.py TARNWICK_CLI FILE_OR_DIR... (exit 77 when no file is found)."""
import math
import os
import re
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from datetime import datetime, timedelta, timezone

TIME = re.compile(r"^(\d{4})-(\d\d)-(\d\d)T(\d\d):(\d\d):(\d\d)(\.\d{3})?Z$")
A, E2, MNUM = 6378137.0, 0.00669437999019758, 6335439.32729246
JST = timezone(timedelta(hours=9))


def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


def local(tag):
    return tag.rsplit("}", 1)[-1]


def text(e):
    return "".join(e.itertext())


NUMBER = re.compile(r"^\s*([+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?)")


def leading(s):
    m = NUMBER.match(s or "")
    return float(m.group(1)) if m else 0.0


def millis(s):
    m = TIME.match((s or "").strip())
    if not m:
        return None
    y, mo, d, h, mi, se = (int(g) for g in m.groups()[:6])
    ms = int(m.group(7)[1:]) if m.group(7) else 0
    try:
        t = datetime(y, mo, d, h, mi, se, tzinfo=timezone.utc)
    except ValueError:
        return None
    return int(t.timestamp()) * 1000 + ms


def elev(s):
    v = leading(s)
    return v if math.isfinite(v) and 0 <= v <= 3800 else None


def coords(e):
    if not e.get("lat") or not e.get("lon"):
        return None
    lat, lon = leading(e.get("lat")), leading(e.get("lon"))
    if not (math.isfinite(lat) and math.isfinite(lon)) or abs(lat) >= 90 or abs(lon) > 180:
        return None
    return lat, lon


def hubeny(lat1, lon1, lat2, lon2):
    mu = (lat1 + lat2) * 0.5 * math.pi / 180
    dy = (lat1 - lat2) * math.pi / 180
    dx = (lon1 - lon2) * math.pi / 180
    s = math.sin(mu)
    w = math.sqrt(1 - E2 * s * s)
    ym = dy * (MNUM / (w * w * w))
    xn = dx * (A / w) * math.cos(mu)
    return math.sqrt(ym * ym + xn * xn)


def elev_text(v):
    return "%4.2f" % (f32(v) if v is not None else 0.0)


def track_lines(pts):
    lines, prev, dist = [], None, 0.0
    for i, (lat, lon, ele, ms) in enumerate(pts):
        seg = f32(hubeny(prev[0], prev[1], lat, lon)) if prev else 0.0
        dist = f32(dist + seg) if prev else 0.0
        when = "\t"
        if ms is not None:
            when = datetime.fromtimestamp(ms // 1000, JST).strftime("%Y/%m/%d\t%H:%M:%S")
        speed = ""
        if prev and ms is not None and prev[3] is not None and ms > prev[3]:
            speed = str(int(seg * 3600 / ((ms - prev[3]) / 1000.0)))
        lines.append("%d\t%s\t%s\t%d\t%s\t%.6f\t%.6f" % (i + 1, elev_text(ele), when, int(dist), speed, lat, lon))
        prev = (lat, lon, ele, ms)
    return lines


def read(path):
    root = ET.parse(path).getroot()
    tracks, points, wpts = [], [], []
    current = None  # the wpt or trkpt whose look-ahead runs: [kind, lat, lon, name/ele, ele/time]

    def end():
        if current[0] == "wpt":
            name = re.sub(r"[\t\r\n]", " ", current[3].strip())
            wpts.append("%d\t%s\t%s\t%.6f\t%.6f" % (len(wpts) + 1, name, elev_text(current[4]), current[1], current[2]))
        else:
            points.append(tuple(current[1:]))

    for e in root.iter():
        tag = local(e.tag)
        if current and tag not in ("wpt", "trk", "trkpt"):
            if current[0] == "wpt" and tag == "name":
                current[3] = text(e)
            elif tag == "ele":
                current[3 if current[0] == "trkpt" else 4] = elev(text(e))
            elif current[0] == "trkpt" and tag == "time":
                current[4] = millis(text(e))
            continue
        if current:
            end()
            current = None
        c = coords(e) if tag in ("wpt", "trkpt") else None
        if tag == "wpt" and c:
            current = ["wpt", c[0], c[1], "", None]
        elif tag == "trkpt" and c:
            current = ["trkpt", c[0], c[1], None, None]
        elif tag == "trk" and points:
            tracks.append(track_lines(points))
            points = []
    if current:
        end()
    if points:
        tracks.append(track_lines(points))
    return tracks, wpts


def cli(tool, path, *args):
    r = subprocess.run([tool, "points", path, *args], capture_output=True, text=True, encoding="utf-8")
    if r.returncode != 0:
        raise SystemExit("%s points %s %s failed: %s" % (tool, path, " ".join(args), r.stderr.strip()))
    return r.stdout.splitlines()


def compare(label, got, want):
    if got == want:
        return True
    for n, (g, w) in enumerate(zip(got, want)):
        if g != w:
            print("%s line %d:\n  tarnwick-cli %r\n  reference   %r" % (label, n + 1, g, w))
            return False
    print("%s: %d lines against %d" % (label, len(got), len(want)))
    return False


def main():
    tool, paths = sys.argv[1], []
    for a in sys.argv[2:]:
        if os.path.isdir(a):
            paths += sorted(os.path.join(a, f) for f in os.listdir(a) if f.endswith(".gpx"))
        elif os.path.exists(a):
            paths.append(a)
    if not paths:
        print("no GPX files found: skipped")
        return 77
    ok, rows = True, 0
    for path in paths:
        tracks, wpts = read(path)
        name = os.path.basename(path)
        for k, want in enumerate(tracks, 1):
            ok &= compare("%s track %d" % (name, k), cli(tool, path, "--track", str(k)), want)
            rows += len(want)
        ok &= compare(name + " waypoints", cli(tool, path, "--waypoints"), wpts)
        rows += len(wpts)
    # -o writes what the standard output shows; a track that is not there is an error.
    first = next(p for p in paths if read(p)[0])
    with tempfile.TemporaryDirectory() as d:
        out = os.path.join(d, "points.tsv")
        subprocess.run([tool, "points", first, "-o", out], check=True)
        with open(out, encoding="utf-8") as f:
            ok &= compare("-o " + os.path.basename(first), f.read().splitlines(), cli(tool, first))
    r = subprocess.run([tool, "points", first, "--track", "99"], capture_output=True, text=True)
    if r.returncode != 1 or "no track 99" not in r.stderr or r.stdout:
        print("--track 99: exit %d, %r" % (r.returncode, r.stderr))
        ok = False
    print("%d files, %d rows %s" % (len(paths), rows, "agree" if ok else "differ"))
    return 0 if ok else 1


sys.exit(main())
