#!/usr/bin/python3
"""gpxpy's nearest equivalent of the app's full analysis pass, parse excluded:
length_3d + get_uphill_downhill + get_moving_data on the already-parsed object.
Prints the median seconds of RUNS runs. gpxpy comes from Debian: apt-get install python3-gpxpy."""
import statistics
import sys
import time

import gpxpy


def main():
    path, runs = sys.argv[1], int(sys.argv[2])
    with open(path, encoding="utf-8") as f:
        gpx = gpxpy.parse(f)
    secs = []
    for _ in range(runs):
        t0 = time.perf_counter()
        length = gpx.length_3d()
        updown = gpx.get_uphill_downhill()
        moving = gpx.get_moving_data()
        secs.append(time.perf_counter() - t0)
    print(f"{statistics.median(secs):.6f} length_km={length / 1000:.1f} up={updown.uphill:.0f} "
          f"down={updown.downhill:.0f} moving_s={moving.moving_time:.0f}")


if __name__ == "__main__":
    main()
