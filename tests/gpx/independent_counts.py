#!/usr/bin/env python3
"""Independent count of tracks, points and waypoints of GPX files with Python's ElementTree,
using the plain GPX structure (trk > trkseg > trkpt, wpt > ele/name), not the application's
reader. Prints one line per file in the shape of `tarnwick-cli count`, to fill and check
tests/fixtures/gpx/corpus-counts.txt. Usage: independent_counts.py FILE.gpx..."""
import json
import re
import sys
import xml.etree.ElementTree as ET
from datetime import datetime, timezone

TIME = re.compile(r"^(\d{4})-(\d\d)-(\d\d)T(\d\d):(\d\d):(\d\d)(\.\d{3})?Z$")


def local(tag):
    return tag.rsplit("}", 1)[-1]


def child(e, name):
    for c in e:
        if local(c.tag) == name:
            return c
    return None


def text(e):
    return "".join(e.itertext()) if e is not None else None


def parse_time(s):
    m = TIME.match(s or "")
    if not m:
        return None
    y, mo, d, h, mi, se = (int(g) for g in m.groups()[:6])
    ms = int(m.group(7)[1:]) if m.group(7) else 0
    try:
        return datetime(y, mo, d, h, mi, se, ms * 1000, tzinfo=timezone.utc).timestamp()
    except ValueError:
        return None


def elev_ok(s):
    try:
        v = float(s.strip())
    except (AttributeError, ValueError):
        return False
    return 0 <= v <= 3800


def inside(lat, lon):
    return 20.42527777 <= lat <= 45.55777777 and 122.93361111 <= lon <= 153.98638888


def count(path):
    root = ET.parse(path).getroot()
    tracks, outside = [], False
    for trk in root.iter():
        if local(trk.tag) != "trk":
            continue
        pts = [p for p in trk.iter() if local(p.tag) == "trkpt" and p.get("lat") and p.get("lon")]
        if not pts:
            continue
        times = [parse_time(text(child(p, "time"))) for p in pts]
        timed = [t for t in times if t is not None]
        n, k = len(pts), len(timed)
        valid = k >= 1 and k >= n * 80 // 100 and (timed[-1] - timed[0]) > 10.0
        outside |= any(not inside(float(p.get("lat")), float(p.get("lon"))) for p in pts)
        name = text(child(trk, "name"))
        tracks.append({"name": name.strip() if name is not None else "", "points": n, "timed": k,
                       "valid_time": valid, "stable": 1})
    wpts = [w for w in root.iter() if local(w.tag) == "wpt" and w.get("lat") and w.get("lon")]
    no_elev = sum(1 for w in wpts if not elev_ok(text(child(w, "ele"))))
    return {"tracks": tracks, "waypoints": len(wpts), "waypoints_without_elev": no_elev, "outside": outside}


for f in sys.argv[1:]:
    print(f.rsplit("/", 1)[-1] + " " + json.dumps(count(f), ensure_ascii=False))
