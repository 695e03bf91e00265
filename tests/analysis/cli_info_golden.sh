#!/bin/sh
# `tarnwick-cli info` against the figures stored in golden/: every track of every file of the
# shared corpus and of the test fixtures, walking and cycling (--json, compared number by number
# up to a relative 1e-6, so that another compiler's rounding of the last digit does not count),
# and the full text of two tracks. No output may hold nan or inf.
#   cli_info_golden.sh CLI CORPUS_DIR        UPDATE=1 rewrites the stored figures
# Exit 77 (skipped) when the corpus is not beside the checkout.
cli="$1"
corpus="$2/gpx"
here=$(cd "$(dirname "$0")" && pwd)
fixtures="$here/../fixtures"
[ -d "$corpus" ] || { echo "corpus not found at $corpus: skipped"; exit 77; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for f in "$corpus"/*.gpx "$fixtures"/*/*.gpx "$fixtures"/*/*/*.gpx; do
  tracks=$("$cli" count "$f" 2>/dev/null | grep -o '"points":' | wc -l)
  for k in $(seq "$tracks"); do
    for mode in walking cycling; do
      flag=$([ $mode = cycling ] && echo --cycling)
      echo "${f#"$corpus/"} $k $mode $("$cli" info "$f" --track "$k" --json $flag)"
    done
  done
done | sed "s|$fixtures/|fixtures/|" >"$tmp/figures.txt"
{
  "$cli" info "$fixtures/view/walk.gpx"
  "$cli" info "$fixtures/view/walk.gpx" --cycling
  "$cli" info "$corpus/jp-yamap-karasawa-3days-overnight-gaps.gpx"
} >"$tmp/texts.txt"

if [ -n "$UPDATE" ]; then
  cp "$tmp/figures.txt" "$tmp/texts.txt" "$here/golden/"
  exit 0
fi
status=0
if grep -qiE 'nan|inf' "$tmp/figures.txt" "$tmp/texts.txt"; then echo "FAIL: nan or inf"; status=1; fi
diff -u "$here/golden/texts.txt" "$tmp/texts.txt" || status=1
awk 'function abs(x) { return x < 0 ? -x : x }
  NR == FNR { want[FNR] = $0; lines = FNR; next }
  { n = split(want[FNR], a, /[ ,{}]+/)
    if (split($0, b, /[ ,{}]+/) != n) { print "FAIL: " $0; bad = 1; next }
    for (i = 1; i <= n; ++i)
      if (a[i] != b[i] && !(a[i] ~ /^-?[0-9.e+-]+$/ && abs(a[i] - b[i]) <= 1e-6 * (abs(a[i]) > 1 ? abs(a[i]) : 1))) {
        print "FAIL: " $1 " track " $2 " " $3 ": " a[i] " became " b[i]; bad = 1
      } }
  END { if (FNR != lines) { print "FAIL: " lines " stored lines, " FNR " now"; bad = 1 } exit bad }' \
  "$here/golden/figures.txt" "$tmp/figures.txt" || status=1
exit $status
