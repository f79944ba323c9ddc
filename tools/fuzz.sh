#!/usr/bin/env bash
# Runs every libFuzzer target for the given number of seconds each (default 600), starting from a
# seed corpus made of the sample listing and listings from the listing writer.
#   tools/fuzz.sh [SECONDS] [TARGET...]
# TOV_FUZZ_BUILD names another build folder (default build/fuzz); TOV_FUZZ_JOBS runs that many
# targets at a time (default 1).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
shift || true
build=${TOV_FUZZ_BUILD:-$root/build/fuzz}
jobs=${TOV_FUZZ_JOBS:-1}

# Only the fuzz targets and the writer: the tests and benchmarks of this build are not needed.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOV_FUZZ=ON \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
fuzz_targets=()
for source in "$root"/fuzz/*_fuzz.cpp; do fuzz_targets+=("$(basename "$source" .cpp)"); done
cmake --build "$build" -j "$(nproc)" --target listing_writer_tool hostile_listings "${fuzz_targets[@]}" >/dev/null

seeds="$build/seeds"
if [ ! -f "$seeds/.complete" ]; then
    rm -rf "$seeds"
    mkdir -p "$seeds"
    cp "$root/examples/"*.tov "$seeds/"
    writer="$build/listing_writer"
    "$writer" synthetic --files 200 --folders 30 --depth 6 --seed 1 "$seeds/synthetic-1.tov" >/dev/null
    "$writer" synthetic --files 50 --folders 40 --depth 20 --seed 2 "$seeds/synthetic-2.tov" >/dev/null
    "$writer" synthetic --files 20 --folders 60 --depth 50 --seed 3 --bare-names \
        "$seeds/synthetic-3.tov" >/dev/null
    "$build/hostile_listings" "$seeds" >/dev/null
    touch "$seeds/.complete"
fi

targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=("${fuzz_targets[@]}")
fi

run_target() {
    local target=$1 corpus="$build/corpus-$1" log="$build/$1.log"
    mkdir -p "$corpus"
    # Inputs up to 64 KiB: the seeds' size, with room for the mutator to grow them.
    "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=65536 \
        -artifact_prefix="$build/$target-" -print_final_stats=1 "$corpus" "$seeds" >"$log" 2>&1
}

status=0
pids=()
names=()
report() {
    local i=$1 code=0
    wait "${pids[$i]}" || code=$?
    echo "== ${names[$i]} for ${seconds}s"
    grep -E "^#[0-9]+.*(DONE|pulse)|^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|ERROR|SUMMARY" \
        "$build/${names[$i]}.log" | tail -6 || true
    if [ "$code" -ne 0 ]; then
        echo "${names[$i]} found a failure (exit $code); see $build/${names[$i]}.log"
        status=1
    fi
}
for target in "${targets[@]}"; do
    run_target "$target" &
    pids+=($!)
    names+=("$target")
    if (( ${#pids[@]} - ${done_count:=0} >= jobs )); then
        report "$done_count"
        done_count=$((done_count + 1))
    fi
done
while (( ${done_count:=0} < ${#pids[@]} )); do
    report "$done_count"
    done_count=$((done_count + 1))
done
exit $status
