#!/usr/bin/env bash
# MD5 throughput of the program's digest against `openssl speed -bytes 16384 md5` on this
# machine. Usage: tools/md5_vs_openssl.sh [release build folder, default build/release]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
if [ ! -x "$build/core_bench" ]; then
    if [ "$build" = "$root/build/release" ]; then
        "$root/tools/build.sh" release >/dev/null
    else
        cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
        cmake --build "$build" -j 2 --target core_bench >/dev/null
    fi
fi

# Bytes per second of our 16 KiB digests (CSV column 6) and of the 100 MB one.
ours_csv=$("$build/core_bench" --benchmark_filter='BM_MD5_' --benchmark_min_time=2 \
           --benchmark_format=csv 2>/dev/null)
ours_16k=$(echo "$ours_csv" | awk -F, '$1 ~ /BM_MD5_16KiB/ {print $6}')
ours_100m=$(echo "$ours_csv" | awk -F, '$1 ~ /BM_MD5_100MB/ {print $6}')

# openssl reports thousands of bytes per second, as "md5  634830.85k".
theirs_k=$(openssl speed -seconds 3 -bytes 16384 md5 2>/dev/null | awk '/^md5/ {sub(/k$/, "", $2); print $2}')

awk -v a="$ours_16k" -v b="$ours_100m" -v o="$theirs_k" 'BEGIN {
    printf "tov MD5, 16 KiB messages : %8.1f MB/s\n", a / 1e6
    printf "tov MD5, 100 MB buffer   : %8.1f MB/s\n", b / 1e6
    printf "openssl speed md5 16384  : %8.1f MB/s\n", o * 1000 / 1e6
    printf "ratio (16 KiB / openssl) : %8.2f\n", a / (o * 1000)
}'
