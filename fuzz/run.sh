#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (and ASan/UBSan) and runs them.
#   fuzz/run.sh             replay the seed corpus only (seconds; what CI does)
#   fuzz/run.sh 600         fuzz each target for 600 s, growing build-fuzz/corpus/<target>
#   fuzz/run.sh 600 ini     only the named targets
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=${VELMORA_FUZZ_DIR:-$here/build-fuzz}
secondes=${1:-0}
shift || true
mkdir -p "$out"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for f in "$here"/fuzz/fuzz_*.cpp; do t=$(basename "$f" .cpp); targets+=("${t#fuzz_}"); done
fi

for t in "${targets[@]}"; do
    src="$here/fuzz/fuzz_$t.cpp"
    bin="$out/fuzz_$t"
    if [ ! -x "$bin" ] || [ -n "$(find "$here/sim" "$here/collisions" "$src" -newer "$bin" -name '*.[ch]*' | head -1)" ]; then
        echo "fuzz: building $t"
        # each target names the sources it needs on a "// sources:" line (globs allowed)
        sources=$(grep -h '^// sources:' "$src" | sed 's#^// sources:##')
        clang++-14 -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
            -I"$here" $(cd "$here" && for e in $sources; do ls "$here"/$e; done) "$src" -o "$bin"
    fi
    corpus="$out/corpus/$t"
    mkdir -p "$corpus"
    seeds="$here/fuzz/seeds/$t"
    if [ "$secondes" -gt 0 ]; then
        echo "fuzz: $t for ${secondes}s"
        "$bin" -max_total_time="$secondes" -timeout=10 -rss_limit_mb=4096 -max_len=65536 \
            "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) 2>&1 | tail -n 5
    else
        echo "fuzz: replaying $t"
        "$bin" -runs=0 "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) "$here/examples" 2>&1 | tail -n 1
    fi
done
