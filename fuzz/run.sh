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

# libFuzzer comes with clang's runtime: the newest clang++-N (or plain clang++) that has it
a_libfuzzer() { [ -f "$("$1" --print-resource-dir 2>/dev/null)/lib/linux/libclang_rt.fuzzer-x86_64.a" ]; }
cxx=${VELMORA_FUZZ_CXX:-}
if [ -z "$cxx" ]; then
    for c in $(compgen -c clang++- | grep -E '^clang\+\+-[0-9]+$' | sort -u -t- -k2 -n -r) clang++; do
        if command -v "$c" >/dev/null && a_libfuzzer "$c"; then cxx=$c; break; fi
    done
fi
[ -n "$cxx" ] || { echo "fuzz: no clang++ with libFuzzer found (scripts/setup.sh installs one)" >&2; exit 1; }

for t in "${targets[@]}"; do
    src="$here/fuzz/fuzz_$t.cpp"
    bin="$out/fuzz_$t"
    # each target names the sources it needs, by name, on "// sources:" lines
    sources=$(cd "$here" && for e in $(grep -h '^// sources:' "$src" | sed 's#^// sources:##'); do ls $e; done)
    # rebuilt when the compiler, the target, a source it compiles or any header of the tree changed
    empreinte=$( { "$cxx" --version | head -1; cd "$here" && cat "fuzz/fuzz_$t.cpp" $sources;
                   git -C "$here" ls-files -co --exclude-standard '*.h' | sort | xargs cat; } | sha256sum | cut -d' ' -f1)
    if [ ! -x "$bin" ] || [ "$(cat "$bin.empreinte" 2>/dev/null)" != "$empreinte" ]; then
        echo "fuzz: building $t with $cxx"
        "$cxx" -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
            -I"$here" $(for e in $sources; do echo "$here/$e"; done) "$src" -o "$bin"
        echo "$empreinte" > "$bin.empreinte"
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
