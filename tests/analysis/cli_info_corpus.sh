#!/bin/sh
# Runs `tarnwick-cli info` (text and JSON) on every corpus GPX file: exit 0, no nan or inf.
# Exit 77 (skipped) when the corpus is not beside the checkout.
cli="$1"
dir="$2/gpx"
[ -d "$dir" ] || { echo "corpus not found at $dir: skipped"; exit 77; }
status=0
for f in "$dir"/*.gpx; do
  for mode in "" "--json" "--cycling"; do
    out=$("$cli" info "$f" $mode) || { echo "FAIL exit: $f $mode"; status=1; continue; }
    if printf '%s' "$out" | grep -qiE 'nan|inf'; then echo "FAIL nan/inf: $f $mode"; status=1; fi
  done
done
exit $status
