#!/bin/sh
# Builds the libFuzzer target for the GPX reader with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (needs clang and libclang-rt-dev; not part of `make test`).
# Usage: fuzz/gpx_reader/build.sh [OUT_DIR]   (default build-fuzz)
# Run:   OUT_DIR/fuzz_gpx_reader -dict=fuzz/gpx_reader/gpx.dict -max_total_time=600 CORPUS_DIR SEED_DIR...
#        with seeds from tests/fixtures/gpx and, when present, ../shared/corpus/gpx.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-"$root/build-fuzz"}
mkdir -p "$out"
CXX=${CXX:-clang++}
flags="-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I$root/src $(pkg-config --cflags libxml-2.0)"
sources="$root/fuzz/gpx_reader/fuzz_gpx_reader.cpp $root/src/document/Records.cpp $root/src/document/Geodesy.cpp
  $root/src/document/DocumentState.cpp $root/src/gpx/GpxText.cpp $root/src/gpx/GpxElementStream.cpp
  $root/src/gpx/GpxReader.cpp $root/src/gpx/GpxWriter.cpp $root/src/gpx/GpxSummary.cpp $root/src/gpx/LinkPatterns.cpp $root/src/gpx/WebHosts.cpp"
# shellcheck disable=SC2086
$CXX $flags $sources $(pkg-config --libs libxml-2.0) -o "$out/fuzz_gpx_reader"
echo "$out/fuzz_gpx_reader"
