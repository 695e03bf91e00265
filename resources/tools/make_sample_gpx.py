#!/usr/bin/env python3
"""Writes resources/sample.gpx: an invented day hike on Mt. Takao (高尾山) and Shiroyama (城山).

The trail is interpolated between hand-picked control points with a little wiggle and
elevation noise; times follow Tobler's hiking function, with a lunch rest on Shiroyama.
Deterministic (fixed seed), so the file only changes when this script does.
"""
import math
import random
import sys
from datetime import datetime, timedelta, timezone

random.seed(20241103)

# (lat, lon, elevation m)
CONTROL = [
    (35.63230, 139.26990, 190),  # 高尾山口駅
    (35.63120, 139.26600, 260),
    (35.62980, 139.26180, 400),  # 稲荷山展望台
    (35.62790, 139.25710, 445),
    (35.62640, 139.25320, 480),
    (35.62560, 139.24820, 545),
    (35.62510, 139.24360, 599),  # 高尾山山頂
    (35.62620, 139.23980, 590),  # もみじ台
    (35.62890, 139.23720, 560),
    (35.63080, 139.23500, 590),  # 一丁平
    (35.63330, 139.23330, 625),
    (35.63520, 139.23150, 670),  # 城山
    (35.63290, 139.23590, 600),
    (35.63020, 139.24050, 570),
    (35.62800, 139.24600, 540),
    (35.62560, 139.25150, 500),  # 薬王院
    (35.62810, 139.25520, 470),
    (35.63130, 139.25900, 430),  # 金比羅台
    (35.63220, 139.26400, 300),
    (35.63230, 139.26990, 190),  # 高尾山口駅
]

WAYPOINTS = [
    ("高尾山口駅", 0, 190),
    ("稲荷山展望台", 2, 400),
    ("高尾山山頂", 6, 599),
    ("もみじ台", 7, 590),
    ("一丁平", 9, 590),
    ("城山::城山茶屋", 11, 670),
    ("薬王院", 15, 500),
    ("金比羅台", 17, 430),
]

STEP_M = 22.0
REST_AT = 11  # lunch on Shiroyama
REST_MIN = 25


def metres(a, b):
    dy = (b[0] - a[0]) * 111320.0
    dx = (b[1] - a[1]) * 111320.0 * math.cos(math.radians(a[0]))
    return math.hypot(dx, dy)


def tobler_kmh(grade):
    return 6.0 * math.exp(-3.5 * abs(grade + 0.05))


def main(out):
    points = []  # (lat, lon, ele, time)
    t = datetime(2024, 11, 2, 23, 35, 12, tzinfo=timezone.utc)  # 08:35 JST
    prev = None
    for i in range(len(CONTROL) - 1):
        a, b = CONTROL[i], CONTROL[i + 1]
        n = max(2, int(metres(a, b) / STEP_M))
        for k in range(n):
            f = k / n
            wig = math.sin(f * math.pi * 3 + i) * 0.00012 * math.sin(f * math.pi)
            lat = a[0] + (b[0] - a[0]) * f + wig
            lon = a[1] + (b[1] - a[1]) * f - wig * 0.8
            ele = a[2] + (b[2] - a[2]) * f + 4.0 * math.sin(f * math.pi * 2) + random.uniform(-1.5, 1.5)
            if prev:
                d = metres(prev[:2], (lat, lon))
                grade = (ele - prev[2]) / d if d > 0 else 0
                t += timedelta(seconds=d / (tobler_kmh(grade) * 1000 / 3600) * random.uniform(0.9, 1.15))
            points.append((lat, lon, ele, t))
            prev = (lat, lon, ele)
        if i + 1 == REST_AT:
            # A rest: points shuffle around the tea house for REST_MIN minutes.
            c = CONTROL[REST_AT]
            for m in range(6):
                t += timedelta(minutes=REST_MIN / 6)
                points.append((c[0] + random.uniform(-4e-5, 4e-5), c[1] + random.uniform(-4e-5, 4e-5),
                               c[2] + random.uniform(-1, 1), t))
    last = CONTROL[-1]
    t += timedelta(seconds=40)
    points.append((last[0], last[1], last[2], t))

    with open(out, "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n')
        f.write('<gpx version="1.1" creator="Tarnwick sample" xmlns="http://www.topografix.com/GPX/1/1">\n')
        f.write("<metadata><name>高尾山・城山 周回</name></metadata>\n")
        for name, idx, ele in WAYPOINTS:
            lat, lon, _ = CONTROL[idx]
            f.write(f'<wpt lat="{lat:.6f}" lon="{lon:.6f}"><ele>{ele:.1f}</ele><name><![CDATA[{name}]]></name></wpt>\n')
        f.write("<trk><name><![CDATA[高尾山・城山 周回]]></name><trkseg>\n")
        for lat, lon, ele, tm in points:
            f.write(f'<trkpt lat="{lat:.7f}" lon="{lon:.7f}"><ele>{ele:.1f}</ele>'
                    f'<time>{tm.strftime("%Y-%m-%dT%H:%M:%SZ")}</time></trkpt>\n')
        f.write("</trkseg></trk>\n</gpx>\n")
    print(f"{out}: {len(points)} points, {len(WAYPOINTS)} waypoints, "
          f"{(points[-1][3] - points[0][3]).total_seconds() / 3600:.1f} h")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/sample.gpx")
