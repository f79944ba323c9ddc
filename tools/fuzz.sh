#!/usr/bin/env bash
# Runs every libFuzzer target for the given number of seconds each (default 600), starting from a
# seed corpus made of the sample listing and listings from the listing writer.
#   tools/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
shift || true
"$root/tools/build.sh" fuzz >/dev/null
"$root/tools/build.sh" release >/dev/null
build="$root/build/fuzz"
seeds="$build/seeds"
if [ ! -d "$seeds" ]; then
    mkdir -p "$seeds"
    cp "$root/examples/"*.tov "$seeds/" 2>/dev/null || true
    writer="$root/build/release/listing_writer"
    if [ -x "$writer" ]; then
        "$writer" synthetic --files 200 --folders 30 --depth 6 --seed 1 "$seeds/synthetic-1.tov" >/dev/null
        "$writer" synthetic --files 50 --folders 40 --depth 20 --seed 2 "$seeds/synthetic-2.tov" >/dev/null
    fi
fi
targets=("$@")
if ((${#targets[@]} == 0)); then
    for exe in "$build"/*_fuzz; do targets+=("$(basename "$exe")"); done
fi
for target in "${targets[@]}"; do
    corpus="$build/corpus-$target"
    mkdir -p "$corpus"
    echo "== $target for ${seconds}s"
    set +e
    "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
        -print_final_stats=1 "$corpus" "$seeds" 2>&1 | grep -E "^(#|stat::|==|SUMMARY|Done)" | tail -8
    status=${PIPESTATUS[0]}
    set -e
    if [ "$status" -ne 0 ]; then
        echo "$target found a failure (exit $status)"; exit 1
    fi
done
