#!/usr/bin/env bash
# Configures and builds the project into build/ (or $VELMORA_BUILD_DIR). Configures again when the
# build type or the options passed (VELMORA_CMAKE_ARGS) differ from those the folder was made with.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$here/build}
type=${VELMORA_BUILD_TYPE:-RelWithDebInfo}
options="-DCMAKE_BUILD_TYPE=$type ${VELMORA_CMAKE_ARGS:-}"
stamp="$build/.velmora-options"
# the compiler cache keys on paths relative to the source tree, so clones and worktrees share it
export CCACHE_BASEDIR=$here CCACHE_NOHASHDIR=1
if [ ! -f "$build/CMakeCache.txt" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$options" ]; then
  # a fresh cache, so that an option no longer passed goes back to its default
  rm -f "$build/CMakeCache.txt"
  # shellcheck disable=SC2086 # the options are words on purpose
  cmake -S "$here" -B "$build" -G Ninja $options
  printf '%s' "$options" > "$stamp"
fi
cmake --build "$build" --parallel "$(nproc)"
