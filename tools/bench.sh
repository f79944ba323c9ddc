#!/usr/bin/env bash
# The performance command: builds the benchmarks (release), writes synthetic listings of 10,000,
# 100,000 and 1,000,000 files (and of a larger size when one is given, such as 10,000,000: about
# 490 MB), runs the core benchmarks natively and the main window under Wine, measures the
# references in the same run, and writes docs/performance.md and docs/performance.png.
#
#   tools/bench.sh [FILES]
#
# TOV_BENCH_BUILD   where builds, listings and raw figures go (default: build/bench)
# TOV_BENCH_SIZES   the listing sizes in files (default: "10000 100000 1000000", then FILES)
# TOV_WINEPREFIX    the Wine prefix (default: build/wineprefix)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOV_BENCH_BUILD:-$root/build/bench}
sizes=${TOV_BENCH_SIZES:-"10000 100000 1000000${1:+ $1}"}
out=$build/figures
mkdir -p "$build" "$out"
rm -f "$out"/*

"$root/tools/setup.sh"

echo "== Release builds"
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/native" -j2 --target core_bench listing_writer_tool
cmake -S "$root" -B "$build/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
win_bench_built=1
cmake --build "$build/windows" -j2 --target win_bench || win_bench_built=0

echo "== Listings"
for files in $sizes; do
    mkdir -p "$build/listings/$files"
    listing=$build/listings/$files/job.tov
    if [ ! -s "$listing" ]; then
        # About one folder per 50 files, nested up to 8 levels below the root.
        "$build/native/listing_writer" synthetic --files "$files" --folders $((files / 50 + 1)) \
            --depth 8 "$listing"
    fi
    echo "$files $(stat -c %s "$listing")" >>"$out/sizes"
done

# The best of five runs of a command: its CPU seconds (user + system) and its wall seconds. CPU
# time is what the table uses, as for the core benchmarks: the machine may be shared.
best_of_five() {
    python3 - "$@" <<'PY'
import resource, subprocess, sys, time
cpu = wall = float("inf")
for _ in range(5):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True)
    wall = min(wall, time.perf_counter() - start)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = min(cpu, after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime)
print(f"{cpu:.6f} {wall:.6f}")
PY
}

echo "== Core benchmarks and their references"
filter='BM_(TouchFreshBuffer|LoadAndVerify|LfToNul|MemchrScan|FolderIndex|ListRootFolder'
filter+='|ListLargestFolder|SortAllRows|ScanLines|SearchTypedDoc|SearchTypedWord|SearchClassAll'
filter+='|SearchClassImages|CsvAllFiles|MD5_16KiB)'
openssl speed -bytes 16384 md5 2>/dev/null | awk '$1 == "md5" {print $NF}' >"$out/openssl_md5"
for files in $sizes; do
    listing=$build/listings/$files/job.tov
    cat "$listing" >/dev/null  # in the page cache for both the loader and md5sum
    cut -d' ' -f1-3 /proc/loadavg >"$out/load_$files"
    best_of_five md5sum "$listing" >"$out/md5sum_$files"
    TOV_BENCH_LISTING=$listing "$build/native/core_bench" --benchmark_filter="$filter" \
        --benchmark_min_time=1 --benchmark_format=json --benchmark_out="$out/core_$files.json" \
        --benchmark_out_format=json >/dev/null
    echo "  $files files: done (load $(cat "$out/load_$files"))"
done

echo "== The main window under Wine"
if [ "$win_bench_built" = 1 ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
        source "$1/tools/wine_env.sh"
        tov_wine_start
        for files in $3; do
            folder=$(winepath -w "$2/listings/$files")
            cut -d" " -f1-3 /proc/loadavg >"$2/figures/wine_load_$files"
            timeout 1200 wine "$2/windows/win_bench.exe" "$folder" "$folder\\results.csv" \
                >"$2/figures/wine_$files" 2>"$2/figures/wine_${files}.err" || true
            rm -f "$2/listings/$files/results.csv"
            echo "  $files files: $(tr "\n" " " <"$2/figures/wine_$files")"
        done
        tov_wine_stop' _ "$root" "$build" "$sizes"
fi

echo "== Report"
python3 "$root/bench/performance_report.py" "$out" "$root/docs"
gnuplot "$out/performance.gp"
echo "Wrote $root/docs/performance.md and $root/docs/performance.png"
