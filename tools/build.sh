#!/usr/bin/env bash
# Builds Tov. build.sh native   : portable core, tests, tools (with ASan and UBSan)
#            build.sh windows  : Tov.exe and the Windows-side tests (mingw-w64)
#            build.sh release  : optimised native core, listing writer and benchmarks
#            build.sh fuzz     : libFuzzer targets (clang)
# The native and windows builds, those of the test command, treat warnings as errors.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
case "${1:-}" in
  native)
    cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug -DTOV_SANITIZE=ON \
          -DTOV_WERROR=ON >/dev/null
    cmake --build "$root/build/native" -j "$jobs" ;;
  windows)
    cmake -S "$root" -B "$root/build/windows" -DCMAKE_BUILD_TYPE=Release -DTOV_WERROR=ON \
          -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
    cmake --build "$root/build/windows" -j "$jobs" ;;
  release)
    cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$root/build/release" -j "$jobs" ;;
  fuzz)
    cmake -S "$root" -B "$root/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOV_FUZZ=ON \
          -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build "$root/build/fuzz" -j "$jobs" ;;
  *) echo "usage: build.sh native|windows|release|fuzz" >&2; exit 2 ;;
esac
