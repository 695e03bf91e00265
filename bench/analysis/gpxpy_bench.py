#!/usr/bin/python3
"""gpxpy's nearest equivalent of the app's full analysis pass, parse excluded:
length_3d + get_uphill_downhill + get_moving_data on the already-parsed object.
Prints the median CPU seconds of RUNS runs, then the median wall seconds. gpxpy comes from Debian: apt-get install python3-gpxpy."""
import statistics
import sys
import time

import gpxpy


def main():
    path, runs = sys.argv[1], int(sys.argv[2])
    with open(path, encoding="utf-8") as f:
        gpx = gpxpy.parse(f)
    cpu, wall = [], []
    for _ in range(runs):
        c0, t0 = time.thread_time(), time.perf_counter()
        length = gpx.length_3d()
        updown = gpx.get_uphill_downhill()
        moving = gpx.get_moving_data()
        cpu.append(time.thread_time() - c0)
        wall.append(time.perf_counter() - t0)
    print(f"{statistics.median(cpu):.6f} wall={statistics.median(wall):.6f} length_km={length / 1000:.1f} up={updown.uphill:.0f} "
          f"down={updown.downhill:.0f} moving_s={moving.moving_time:.0f}")


if __name__ == "__main__":
    main()
