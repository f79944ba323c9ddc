#!/usr/bin/env bash
# The test command: installs what is missing, builds both ways and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"

echo "== Layers of the portable core"
"$root/tools/check_layers.sh"

echo "== Native build (AddressSanitizer, UBSan)"
"$root/tools/build.sh" native
echo "== Native tests"
(cd "$root/build/native" && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j 2)

echo "== Benchmark smoke run (seconds; the full run is tools/bench.sh)"
smoke=$(mktemp -d)
"$root/build/native/listing_writer" synthetic --files 10000 --folders 201 --depth 8 "$smoke/job.tov" >/dev/null
TOV_BENCH_LISTING="$smoke/job.tov" "$root/build/native/core_bench" --benchmark_min_time=0.001 \
    --benchmark_filter='BM_(TouchFreshBuffer|LoadAndVerify|LfToNul|MemchrScan|FolderIndex|List|SortAllRows|ScanLines|Search|Csv|MD5_16KiB)' \
    >"$smoke/bench.log" 2>&1 || { cat "$smoke/bench.log"; exit 1; }
echo "$(grep -c '^BM_' "$smoke/bench.log") benchmarks ran"
rm -rf "$smoke"

echo "== Windows build"
"$root/tools/build.sh" windows
echo "== Windows-side tests through Wine"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -e
    source "$1/tools/wine_env.sh"
    tov_wine_start
    status=0
    (cd "$1/build/windows" && ctest --output-on-failure) || status=$?
    tov_wine_stop
    exit $status' _ "$root"

if [ -x "$root/tools/fuzz.sh" ]; then
    echo "== Fuzz smoke run"
    "$root/tools/fuzz.sh" 5
fi
