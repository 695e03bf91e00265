#!/usr/bin/env python3
"""Writes a deterministic GPX file of N track points in Japan: 4 tracks of 3 segments each,
elevations, times every 5 s with rests (20 points standing still every 500 points), and one
named waypoint per 1000 points (at most 300, or WAYPOINTS). Usage: make_gpx.py N OUT.gpx [WAYPOINTS]"""
import random
import sys
from datetime import datetime, timedelta, timezone


def main(n, out, max_wpts=300):
    rng = random.Random(n)
    tracks, segs = 4, 3
    per_seg = [n // (tracks * segs)] * (tracks * segs)
    per_seg[-1] += n - sum(per_seg)
    lat, lon, ele = 35.6, 138.5, 800.0
    t = datetime(2024, 5, 1, 0, 0, 0, tzinfo=timezone.utc)
    wpts = []
    with open(out, "w", encoding="utf-8", newline="\n") as f:
        w = f.write
        w('<?xml version="1.0" encoding="UTF-8"?>\n')
        w('<gpx version="1.1" creator="make_gpx.py" xmlns="http://www.topografix.com/GPX/1/1">\n')
        w("  <metadata><name>bench %d</name></metadata>\n" % n)
        body = []
        i = 0
        for k in range(tracks):
            body.append("  <trk>\n    <name>day %d</name>\n" % (k + 1))
            for s in range(segs):
                body.append("    <trkseg>\n")
                for _ in range(per_seg[k * segs + s]):
                    resting = i % 500 < 20 and i >= 500
                    if not resting:
                        lat += rng.uniform(-0.00022, 0.00022)
                        lon += rng.uniform(-0.00022, 0.00022)
                        ele = min(3700.0, max(5.0, ele + rng.uniform(-3, 3.2)))
                    t += timedelta(seconds=5)
                    ms = ".%03dZ" % rng.randrange(1000) if i % 7 == 0 else "Z"
                    body.append('      <trkpt lat="%.7f" lon="%.7f">\n        <ele>%.1f</ele>\n'
                                '        <time>%s%s</time>\n      </trkpt>\n'
                                % (lat, lon, ele, t.strftime("%Y-%m-%dT%H:%M:%S"), ms))
                    if i % 1000 == 999 and len(wpts) < max_wpts:
                        wpts.append((lat, lon, ele, len(wpts) + 1))
                    i += 1
                    if len(body) > 20000:
                        w("".join(body))
                        body.clear()
                body.append("    </trkseg>\n")
            body.append("  </trk>\n")
        # Waypoints after the tracks: their positions are known only once the points exist.
        w("".join(body))
        for (la, lo, el, k) in wpts:
            w('  <wpt lat="%.7f" lon="%.7f">\n    <ele>%.1f</ele>\n    <name>地点%d::P%d</name>\n  </wpt>\n'
              % (la, lo, el, k, k))
        w("</gpx>\n")


if __name__ == "__main__":
    main(int(sys.argv[1]), sys.argv[2], *(int(a) for a in sys.argv[3:4]))
