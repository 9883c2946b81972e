#!/usr/bin/env bash
# Installs what is missing, builds the release build and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
quilvaron_ensure_deps
build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILVARON_TESTS=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: run it under a virtual one with  xvfb-run -s '-screen 0 1920x1080x24' $build/quilvaron"
  exit 1
fi
exec "$build/quilvaron" "$@"
