#!/usr/bin/env bash
# Installs what is missing, builds the sanitizer build and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
quilvaron_ensure_deps
build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILVARON_SANITIZE=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 600
