#!/usr/bin/env bash
# The longer run of the window's random-command test: every command of a few hundred per seed,
# each followed by the check that every view says what the document says. Sanitizer build.
#   scripts/random_commands.sh [FIRST-LAST]     (default: seeds 4-23)
set -euo pipefail
cd "$(dirname "$0")/.."
seeds=${1:-4-23}
build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILVARON_SANITIZE=ON >/dev/null
cmake --build "$build" --target test_app
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
QUILVARON_COMMAND_SEEDS=$seeds "$build/tests/test_app" --gtest_filter='Commands.SeedsFromTheEnvironment'
