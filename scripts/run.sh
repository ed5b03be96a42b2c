#!/usr/bin/env bash
# Installs what is missing, builds, and starts Velmora 3D (under Xvfb when there is no display).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh"
"$here/scripts/build.sh"
build=${VELMORA_BUILD_DIR:-$here/build}
if [ -x "$build/app/velmora3d" ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: no display, starting under xvfb-run"
    exec xvfb-run -a -s "-screen 0 1600x1000x24" "$build/app/velmora3d" "$@"
  fi
  exec "$build/app/velmora3d" "$@"
fi
# the desktop program is not built yet: play the opening shot headless
exec "$build/cli/velmora-sim" shot "$here/examples/ouverture.vel" "$@"
