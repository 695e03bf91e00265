#!/bin/sh
# Thinning one track to 10,000 points: tarnwick-cli against GPSBabel's simplify filter, whole
# processes on the same generated files, side by side in one run. Prints each run and medians.
#   bench/thinout/run.sh [BUILD_DIR] [RUNS]
# GPSBabel on 1,000,000 points takes many minutes; it runs only with GPSBABEL_1M=1.
set -eu
BUILD=${1:-build}
RUNS=${2:-3}
CLI=$BUILD/src/cli/tarnwick-cli
GEN=$BUILD/bench/thinout/bench_thinout_gen
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

secs() { # command... → elapsed seconds of the whole process
  s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N)
  echo "$e - $s" | bc
}
median() { tr ' ' '\n' | sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

for n in 100000 1000000; do
  "$GEN" $n "$WORK/in$n.gpx"
  ours="" theirs=""
  for r in $(seq "$RUNS"); do
    ours="$ours $(secs "$CLI" thin "$WORK/in$n.gpx" --points 10000 -o "$WORK/ours$n.gpx")"
    if [ $n -lt 1000000 ] || [ "${GPSBABEL_1M:-0}" = 1 ]; then
      theirs="$theirs $(secs gpsbabel -i gpx -f "$WORK/in$n.gpx" -x simplify,count=10000 -o gpx -F "$WORK/babel$n.gpx")"
    fi
  done
  mo=$(echo $ours | median)
  echo "n=$n tarnwick-cli runs:$ours median ${mo}s points $(grep -c '<trkpt' "$WORK/ours$n.gpx")"
  if [ -n "$theirs" ]; then
    mt=$(echo $theirs | median)
    echo "n=$n gpsbabel     runs:$theirs median ${mt}s points $(grep -c '<trkpt' "$WORK/babel$n.gpx")"
    echo "n=$n ratio gpsbabel/tarnwick-cli: $(echo "scale=1; $mt / $mo" | bc)"
  fi
done
