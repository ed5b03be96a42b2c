#!/usr/bin/env bash
# Runs a program that needs OpenGL on a private Xvfb. Xvfb picks a free display number itself
# (-displayfd), so parallel runs never race for one; the server is stopped on exit.
set -euo pipefail
if ! command -v Xvfb >/dev/null 2>&1; then
  echo "sous_xvfb: Xvfb est introuvable (paquet xvfb)" >&2
  exit 1
fi
dossier=$(mktemp -d)
pid=
fin() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$dossier"
}
trap fin EXIT
numero=
for essai in 1 2 3; do
  : >"$dossier/numero"
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$dossier/numero" 2>"$dossier/xvfb.log" &
  pid=$!
  # the number arrives once the server accepts connections
  for _ in $(seq 200); do
    if grep -q '^[0-9][0-9]*$' "$dossier/numero" 2>/dev/null; then numero=$(head -n1 "$dossier/numero"); break; fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  [ -n "$numero" ] && break
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
done
if [ -z "$numero" ]; then
  echo "sous_xvfb: Xvfb n'a pas démarré" >&2
  cat "$dossier/xvfb.log" >&2 || true
  exit 1
fi
mkdir -p "$dossier/run" && chmod 700 "$dossier/run"
DISPLAY=":$numero" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$dossier/run" "$@"
