#!/usr/bin/env bash
# Configures (once) and builds the project into build/ (or $VELMORA_BUILD_DIR).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$here/build}
type=${VELMORA_BUILD_TYPE:-RelWithDebInfo}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="$type" ${VELMORA_CMAKE_ARGS:-}
fi
cmake --build "$build" --parallel "$(nproc)"
