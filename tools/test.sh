#!/usr/bin/env bash
# The test command: installs what is missing, builds both ways and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"

echo "== Native build (AddressSanitizer, UBSan)"
"$root/tools/build.sh" native
echo "== Native tests"
(cd "$root/build/native" && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j 2)

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
