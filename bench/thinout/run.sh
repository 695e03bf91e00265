#!/bin/bash
# Thinning one track to 10,000 points: tarnwick-cli against GPSBabel's simplify filter, whole
# processes on the same generated files, side by side in one run. Prints every run (wall and
# CPU seconds) and the medians.
#   bench/thinout/run.sh [BUILD_DIR] [RUNS]
# GPSBabel on 1,000,000 points takes many minutes; it runs only with GPSBABEL_1M=1.
set -eu
BUILD=${1:-build}
RUNS=${2:-3}
CLI=$BUILD/src/cli/tarnwick-cli
GEN=$BUILD/bench/thinout/bench_thinout_gen
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
TIMEFORMAT='%R %U %S'

# command... → "wall cpu" seconds of the whole process
measure() {
  local t
  t=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
  set -- $t
  echo "$1 $(echo "$2 + $3" | bc)"
}
median() { tr ' ' '\n' | grep . | sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

for n in 100000 1000000; do
  "$GEN" $n "$WORK/in$n.gpx"
  ow="" oc="" bw="" bc_=""
  for r in $(seq "$RUNS"); do
    read -r w c < <(measure "$CLI" thin "$WORK/in$n.gpx" --points 10000 -o "$WORK/ours$n.gpx")
    ow="$ow $w"; oc="$oc $c"
    if [ $n -lt 1000000 ] || [ "${GPSBABEL_1M:-0}" = 1 ]; then
      read -r w c < <(measure gpsbabel -i gpx -f "$WORK/in$n.gpx" -x simplify,count=10000 -o gpx -F "$WORK/babel$n.gpx")
      bw="$bw $w"; bc_="$bc_ $c"
    fi
  done
  mow=$(echo $ow | median); moc=$(echo $oc | median)
  echo "n=$n tarnwick-cli wall:$ow cpu:$oc  median wall ${mow}s cpu ${moc}s, $(grep -c '<trkpt' "$WORK/ours$n.gpx") points"
  if [ -n "$bw" ]; then
    mbw=$(echo $bw | median); mbc=$(echo $bc_ | median)
    echo "n=$n gpsbabel     wall:$bw cpu:$bc_  median wall ${mbw}s cpu ${mbc}s, $(grep -c '<trkpt' "$WORK/babel$n.gpx") points"
    echo "n=$n gpsbabel/tarnwick-cli: wall $(echo "scale=1; $mbw / $mow" | bc)x, cpu $(echo "scale=1; $mbc / $moc" | bc)x"
  fi
done
