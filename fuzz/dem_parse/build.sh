#!/bin/sh
# Builds the libFuzzer target for the DEM text tile parser with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (needs clang and libclang-rt-dev; not part of `make test`).
# Usage: fuzz/dem_parse/build.sh [OUT_DIR]   (default build-fuzz)
# Run:   OUT_DIR/fuzz_dem_parse -dict=fuzz/dem_parse/dem.dict -max_len=4096 -max_total_time=600 CORPUS_DIR SEED_DIR...
#        with seeds such as one line or a few lines of a real tile (../shared/corpus/gsi/dem); the
#        target repeats an input's lines into a whole tile, so short inputs reach the tile path.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-"$root/build-fuzz"}
mkdir -p "$out"
CXX=${CXX:-clang++}
flags="-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I$root/src"
$CXX $flags "$root/fuzz/dem_parse/fuzz_dem_parse.cpp" "$root/src/elevation/DemParse.cpp" -o "$out/fuzz_dem_parse"
echo "$out/fuzz_dem_parse"
