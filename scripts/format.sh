#!/usr/bin/env bash
# clang-format (.clang-format) over every C++ file the repository tracks.
#   scripts/format.sh           rewrite the files in place
#   scripts/format.sh --check   list the files that differ and fail (what CI runs)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
mapfile -t fichiers < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
    differents=()
    for f in "${fichiers[@]}"; do
        clang-format-14 --dry-run -Werror "$f" >/dev/null 2>&1 || differents+=("$f")
    done
    if [ ${#differents[@]} -gt 0 ]; then
        printf 'format: not formatted: %s\n' "${differents[@]}" >&2
        echo "format: run scripts/format.sh" >&2
        exit 1
    fi
    echo "format: ${#fichiers[@]} files formatted"
else
    clang-format-14 -i "${fichiers[@]}"
fi
