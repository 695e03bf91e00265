#!/bin/sh
# Builds the libFuzzer target for the update notice reader with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (needs clang and libclang-rt-dev; not part of `make test`).
# Usage: fuzz/update_notice/build.sh [OUT_DIR]   (default build-fuzz)
# Run:   OUT_DIR/fuzz_update_notice -dict=fuzz/update_notice/notice.dict -max_total_time=600 CORPUS_DIR fuzz/update_notice/seeds
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-"$root/build-fuzz"}
mkdir -p "$out"
CXX=${CXX:-clang++}
flags="-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I$root/src $(pkg-config --cflags libxml-2.0)"
sources="$root/fuzz/update_notice/fuzz_update_notice.cpp $root/src/gpx/UpdateNotice.cpp $root/src/gpx/GpxText.cpp
  $root/src/document/Records.cpp $root/src/document/Geodesy.cpp"
# shellcheck disable=SC2086
$CXX $flags $sources $(pkg-config --libs libxml-2.0) -o "$out/fuzz_update_notice"
echo "$out/fuzz_update_notice"
