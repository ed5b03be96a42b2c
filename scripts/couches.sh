#!/usr/bin/env bash
# The libraries' layers: each folder may include only itself and the folders below it, so that
# dependencies run one way. Fails naming every include that points upwards or sideways.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

# folder: the folders it may include (itself always)
declare -A permis=(
  [sim]="collisions"
  [collisions]="sim"
  [fichiers]="sim collisions"
  [jeu]="fichiers sim collisions"
  [moteurs]="jeu fichiers sim collisions"
  [historique]="moteurs jeu fichiers sim collisions"
  [scene]=""
  [view3d]="scene jeu fichiers sim collisions"
  [widgets]=""
  [help]=""
  [tools]="widgets view3d scene historique moteurs jeu fichiers sim collisions"
  [app]="tools help widgets view3d scene historique moteurs jeu fichiers sim collisions"
  [cli]="historique moteurs jeu fichiers sim collisions"
)

fautes=0
for dossier in "${!permis[@]}"; do
  [ -d "$dossier" ] || continue
  autorises=" $dossier ${permis[$dossier]} "
  while IFS= read -r ligne; do
    fichier=${ligne%%:*}
    cible=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$ligne")
    [ "$cible" = "$ligne" ] && continue
    # only folders of the project count (a header beside the source has no folder)
    [ -n "${permis[$cible]+x}" ] || continue
    if [[ "$autorises" != *" $cible "* ]]; then
      echo "couches: $fichier includes $cible/ (allowed for $dossier/: ${permis[$dossier]:-nothing})" >&2
      fautes=$((fautes + 1))
    fi
  done < <(grep -rn --include='*.h' --include='*.cpp' '^#include "' "$dossier" || true)
done
if [ "$fautes" -gt 0 ]; then echo "couches: $fautes include(s) against the layers" >&2; exit 1; fi
echo "couches: every include points downwards"
