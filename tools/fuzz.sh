#!/usr/bin/env bash
# Runs every libFuzzer target for the given number of seconds each (default 600), starting from a
# seed corpus made of the sample listing and listings from the listing writer, and from the
# corpus kept in fuzz/corpus/TARGET (refreshed from a long run with `merge` below).
#   tools/fuzz.sh [SECONDS] [TARGET...]
#   tools/fuzz.sh merge [TARGET...]   keeps in fuzz/corpus the smallest set of inputs, from the
#                                     kept corpus and the build's, that reaches the same coverage
# TOV_FUZZ_BUILD names another build folder (default build/fuzz); TOV_FUZZ_JOBS runs that many
# targets at a time (default 1).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
shift || true
merge=0
if [ "$seconds" = merge ]; then
    merge=1
fi
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
    "$writer" synthetic --files 40 --folders 8 --depth 4 --seed 1 "$seeds/synthetic-1.tov" >/dev/null
    "$writer" synthetic --files 15 --folders 12 --depth 10 --seed 2 "$seeds/synthetic-2.tov" >/dev/null
    "$writer" synthetic --files 8 --folders 20 --depth 20 --seed 3 --bare-names \
        "$seeds/synthetic-3.tov" >/dev/null
    "$build/hostile_listings" "$seeds" >/dev/null
    touch "$seeds/.complete"
fi

# A run costs time in proportion to its input, so inputs stay as small as the structures each
# target looks at need: a pattern and a name in 192 or 256 bytes (the automaton's size bound is
# reached with far less; the matcher's kept inputs cut to 192 bytes reach every edge they reached
# at 256), a few dozen rows in 512 bytes or 1 KiB, a listing with a tree, a header and
# statistics in 4 KiB. Larger seeds are cut to that length.
max_len_of() {
    case "$1" in
        pattern_matcher_fuzz) echo 192 ;;
        escape_pattern_matcher_fuzz) echo 256 ;;
        rows_sort_fuzz) echo 512 ;;
        search_walk_fuzz) echo 1024 ;;
        *) echo 4096 ;;
    esac
}

targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=("${fuzz_targets[@]}")
fi

if ((merge)); then
    for target in "${targets[@]}"; do
        kept="$root/fuzz/corpus/$target"
        merged="$build/merged-$target"
        rm -rf "$merged"
        mkdir -p "$merged" "$kept" "$build/corpus-$target"
        ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16} "$build/$target" -merge=1 \
            -max_len="$(max_len_of "$target")" "$merged" "$kept" "$build/corpus-$target" \
            >"$build/$target-merge.log" 2>&1
        rm -rf "$kept"
        mv "$merged" "$kept"
        echo "$target: $(find "$kept" -type f | wc -l) inputs, $(du -sk "$kept" | cut -f1) KiB"
    done
    exit 0
fi

run_target() {
    local target=$1 corpus="$build/corpus-$1" log="$build/$1.log"
    # New inputs go to the build's corpus; the kept one (fuzz/corpus) is read as seeds.
    mkdir -p "$corpus" "$root/fuzz/corpus/$target"
    # A small quarantine: the default one keeps 256 MB of freed blocks resident. Undefined
    # behaviour stops the run as a finding instead of scrolling past in the log. Features seen
    # fewer than 16 times count as rare, not 256: this libFuzzer searches its list of rare
    # features for every feature a run touches, and from a kept corpus that list holds all of
    # them (20,000 for search_walk) until a new one is found, which made runs 4-7 times slower.
    ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16} UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1} \
        "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -entropic_feature_frequency_threshold=16 \
        -max_len="$(max_len_of "$target")" -artifact_prefix="$build/$target-" \
        -print_final_stats=1 "$corpus" "$seeds" "$root/fuzz/corpus/$target" >"$log" 2>&1
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
