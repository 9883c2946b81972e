#!/usr/bin/env bash
# Builds the libFuzzer target for the ".pt" reader with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and optionally runs it:
#   fuzz/build.sh            build fuzz/build/fuzz_pt
#   fuzz/build.sh run [SECS] build, then fuzz for SECS seconds (default 120) from the seed
#                            corpus fuzz/corpus/pt, new inputs going to fuzz/corpus-work/pt
set -euo pipefail
cd "$(dirname "$0")"
CXX=${CXX:-clang++-14}
mkdir -p build
"$CXX" -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I../src fuzz_pt.cpp ../src/io/ArchivoPT.cpp ../src/io/Salida.cpp -o build/fuzz_pt
if [ "${1:-}" = run ]; then
  mkdir -p corpus-work/pt
  build/fuzz_pt -max_total_time="${2:-120}" -max_len=4096 -rss_limit_mb=1024 \
    corpus-work/pt corpus/pt
fi
