#!/bin/sh
# The full track analysis (speeds, peak marks, profile, statistics, rests; parse excluded) on
# generated 100k- and 1M-point tracks, beside gpxpy's nearest equivalent on the same files;
# then rest detection alone on a logger lying still (one long stay, 100k and 1M points).
# Usage: bench/analysis/run.sh [BUILD_DIR]   (default: build; needs /usr/bin/python3 with
# gpxpy: apt-get install python3-gpxpy). Reports medians and the ratios. The first figure of
# each line is CPU seconds of the measuring thread (the ratios use it: on a shared machine wall
# time also counts other processes' turns); wall seconds follow.
set -eu
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
cmake --build "$build" --target bench_analysis >/dev/null
bin="$build/bench/analysis/bench_analysis"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for n in 100000 1000000 2000000; do
  "$bin" gen $n "$tmp/t$n.gpx"
done
ours100=$("$bin" time "$tmp/t100000.gpx" 7)
ours1m=$("$bin" time "$tmp/t1000000.gpx" 5)
ours2m=$("$bin" time "$tmp/t2000000.gpx" 3)
py100=$(/usr/bin/python3 "$here/gpxpy_bench.py" "$tmp/t100000.gpx" 5)
still100=$("$bin" still 100000 7)
still1m=$("$bin" still 1000000 5)
py1m=$(/usr/bin/python3 "$here/gpxpy_bench.py" "$tmp/t1000000.gpx" 3)
echo "tarnwick 100k: $ours100"
echo "gpxpy    100k: $py100"
echo "tarnwick 1M:   $ours1m"
echo "gpxpy    1M:   $py1m"
echo "tarnwick 2M:   $ours2m"
echo "rests, logger lying still 100k: $still100"
echo "rests, logger lying still 1M:   $still1m"
awk -v a="${ours100%% *}" -v b="${py100%% *}" -v c="${ours1m%% *}" -v d="${py1m%% *}" -v e="${ours2m%% *}" \
    -v f="${still100%% *}" -v g="${still1m%% *}" 'BEGIN {
  printf "speed-up over gpxpy: 100k %.1fx, 1M %.1fx\n", b / a, d / c;
  printf "1M / 100k time: tarnwick %.2fx, gpxpy %.2fx (linear = 10x)\n", c / a, d / b;
  printf "2M / 1M time: tarnwick %.2fx (linear = 2x; both beyond the caches)\n", e / c;
  printf "still log 1M / 100k time: %.2fx (linear = 10x); 1M still / 1M full pass: %.2fx\n", g / f, g / c }'
