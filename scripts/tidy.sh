#!/usr/bin/env bash
# clang-tidy (.clang-tidy: bugs, needless copies, the static analyser) over the code without Qt:
# the physics, the files, the game rules, the engines and the command line.
#   scripts/tidy.sh [BUILD_DIR]     BUILD_DIR holds compile_commands.json (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
[ -f "$build/compile_commands.json" ] || { echo "tidy: no $build/compile_commands.json (build first)" >&2; exit 1; }
dossiers="sim|collisions|fichiers|jeu|moteurs|historique|cli"
# run-clang-tidy prints every file's command line; keep only what it found
# the compile commands are GCC's: clang does not know some of its warning options
sortie=$(run-clang-tidy-14 -p "$build" -quiet -j "$(nproc)" -extra-arg=-Wno-unknown-warning-option \
    "$here/($dossiers)/" 2>&1) && statut=0 || statut=$?
grep -E '(warning|error): ' <<<"$sortie" | sed 's/\x1b\[[0-9;]*m//g' | sort -u || true
if [ "$statut" -ne 0 ]; then echo "tidy: findings above (exit $statut)" >&2; exit 1; fi
echo "tidy: clean ($dossiers)"
