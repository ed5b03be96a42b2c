#!/usr/bin/env bash
# Starts velmora3d on a position file under Xvfb, drives it with the keyboard (Space fires, the
# animation runs, Esc stops it, End jumps to the last photo) and takes screenshots along the way.
#   scripts/screenshots.sh [FILE.vel] [OUTPUT_FOLDER]
# Needs xvfb-run, xdotool and ImageMagick's import (scripts/setup.sh installs them).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$here/build}
position=${1:-$here/examples/trois_bandes.vel}
sortie=${2:-$build/screenshots}
programme="$build/app/velmora3d"

if [ -z "${VELMORA_SOUS_XVFB:-}" ]; then
  for outil in xvfb-run xdotool import; do
    command -v "$outil" >/dev/null || { echo "screenshots: $outil is missing (run scripts/setup.sh)" >&2; exit 1; }
  done
  [ -x "$programme" ] || { echo "screenshots: $programme is not built" >&2; exit 1; }
  [ -f "$position" ] || { echo "screenshots: no file $position" >&2; exit 1; }
  mkdir -p "$sortie"
  export VELMORA_SOUS_XVFB=1
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$(realpath "$position")" "$(realpath "$sortie")"
fi

# a private copy of the program, so that its settings file does not land in the build folder
travail=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$travail"' EXIT
cp "$programme" "$travail/"
[ -f "$build/app/Velmora3D.qhc" ] && cp "$build"/app/Velmora3D.q* "$travail/" 2>/dev/null || true
export LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8 LC_NUMERIC=fr_FR.UTF-8
export XDG_RUNTIME_DIR="$travail" XDG_CONFIG_HOME="$travail/config"
"$travail/velmora3d" "$position" &
pid=$!

# the main window, once mapped
fenetre=
for _ in $(seq 1 100); do
  fenetre=$(xdotool search --name '^Velmora 3D$' 2>/dev/null | head -1 || true)
  [ -n "$fenetre" ] && break
  sleep 0.1
done
[ -n "$fenetre" ] || { echo "screenshots: the main window did not appear" >&2; exit 1; }
sleep 3

cliche() {
  import -window root "$sortie/$1.png"
  echo "$sortie/$1.png"
}
touche() {
  xdotool windowactivate --sync "$fenetre" 2>/dev/null || xdotool windowfocus "$fenetre" 2>/dev/null || true
  xdotool key --window "$fenetre" "$@"
}

# the position as opened: played at once, trajectories drawn
cliche 1-position-jouee
# animation on (Affichage > Animation), then fire: the balls move
touche ctrl+q ctrl+q   # the cue stays visible (two toggles), the key map is alive
xdotool mousemove --window "$fenetre" 200 200
touche alt+a
sleep 0.5
touche Down Down Down Down Return 2>/dev/null || true
sleep 0.3
touche space
sleep 0.8
cliche 2-animation
touche Escape
sleep 0.5
cliche 3-apres-echap
touche End
sleep 0.5
cliche 4-fin-du-coup
touche Home
sleep 0.5
cliche 5-debut-du-coup
kill "$pid" 2>/dev/null || true
