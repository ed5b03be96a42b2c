#!/usr/bin/env bash
# Prints the longest functions of the sources (universal-ctags finds where each one ends), longest
# first, and how many pass the limits: 60 lines in moteurs/ and cli/, 80 elsewhere.
#   scripts/fonctions-longues.sh [N]       the N longest (default 20)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
n=${1:-20}
command -v ctags >/dev/null || { echo "fonctions-longues: ctags missing (scripts/setup.sh installs universal-ctags)" >&2; exit 1; }
cd "$here"
dossiers=(sim collisions fichiers jeu moteurs scene view3d widgets tools app cli)
# one line per function: length, file:line, name
liste=$(git ls-files -co --exclude-standard "${dossiers[@]/%//*.cpp}" "${dossiers[@]/%//*.h}" |
    xargs ctags --languages=C++ --c++-kinds=f --fields=+ne --output-format=json -o - 2>/dev/null |
    python3 -c '
import json, sys
for ligne in sys.stdin:
    t = json.loads(ligne)
    if t.get("_type") != "tag" or "end" not in t: continue
    portee = t.get("scope", "")
    # an anonymous namespace has no name worth printing
    portee = "::".join(p for p in portee.split("::") if p and not p.startswith("__anon"))
    nom = (portee + "::" if portee else "") + t["name"]
    print(t["end"] - t["line"] + 1, "%s:%d" % (t["path"], t["line"]), nom)
' | sort -k1,1nr)
total=$(wc -l <<<"$liste")
head -n "$n" <<<"$liste"
au_dela=$(awk '{ limite = ($2 ~ /^(moteurs|cli)\//) ? 60 : 80; if ($1 > limite) n++ } END { print n + 0 }' <<<"$liste")
echo "fonctions : $total, au-delà de la limite (60 dans moteurs/ et cli/, 80 ailleurs) : $au_dela"
