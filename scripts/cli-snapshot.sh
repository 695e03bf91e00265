#!/bin/bash
# Records what tarnwick-cli prints for `count`, `info` (plain, --json, --cycling, per track) and
# `thin` (output file included) on every corpus and fixture GPX file and on any extra files
# given, one file per run, so that a refactoring can be shown to change nothing:
#   scripts/cli-snapshot.sh OLD/tarnwick-cli /tmp/before [EXTRA.gpx ...]
#   scripts/cli-snapshot.sh NEW/tarnwick-cli /tmp/after [EXTRA.gpx ...]
#   diff -r /tmp/before /tmp/after
# Long generated tracks make good extras: `bench_analysis gen 100000 X.gpx`,
# `bench_thinout_gen 50000 Y.gpx 2`. The corpus is read from $TW_CORPUS_DIR (default:
# ../shared/corpus beside the checkout).
set -u
cli=$1
out=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=${TW_CORPUS_DIR:-$root/../shared/corpus}
mkdir -p "$out"
files=$( { ls "$corpus"/gpx/*.gpx 2>/dev/null; find "$root/tests/fixtures" -name '*.gpx' | sort; printf '%s\n' "$@"; } )
run() {  # NAME COMMAND...: stdout, stderr and exit status into OUTDIR/NAME
  "${@:2}" >"$out/$1" 2>&1
  echo "exit $?" >>"$out/$1"
}
for f in $files; do
  name=$(basename "$(dirname "$f")")-$(basename "$f" .gpx)
  run "$name.count" "$cli" count "$f"
  # points per track from the count's JSON
  sizes=$(grep -o '"points": [0-9]*' "$out/$name.count" | awk '{print $2}')
  k=0
  for n in ${sizes:-0}; do
    k=$((k + 1))
    for mode in "" "--json" "--cycling" "--cycling --json"; do
      run "$name.t$k.info${mode// /}" "$cli" info "$f" --track $k $mode
    done
    [ "$n" -ge 100 ] || continue
    for keep in 100 $((n / 3 > 100 ? n / 3 : 100)); do
      run "$name.t$k.thin$keep" "$cli" thin "$f" --points $keep --track $k -o "$out/$name.t$k.thin$keep.gpx"
    done
  done
  run "$name.info" "$cli" info "$f"
done
