#!/usr/bin/env bash
# The slowest message the main window handles for each hostile listing at full scale, under Wine
# and Xvfb: start-up, the summary, expanding a folder, searching "*", a sort by each column and
# saving (bench/win_hostile). Writes one line per listing to stdout and the raw figures to
# BUILD/hostile/NAME.txt.
#   tools/hostile_bench.sh
# TOV_HOSTILE_WINDOWS   the Windows build holding win_hostile_bench.exe (default build/windows)
# TOV_HOSTILE_OUT       where the listings and figures go (default build/hostile)
# TOV_HOSTILE_ONLY      names of listings to run (default: all)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
windows=${TOV_HOSTILE_WINDOWS:-$root/build/windows}
out=${TOV_HOSTILE_OUT:-$root/build/hostile}
mkdir -p "$out/all"
if [ ! -f "$out/all/.complete" ]; then
    "$root/build/native/hostile_listings" --full "$out/all" >/dev/null
    touch "$out/all/.complete"
fi
cmake --build "$windows" -j2 --target win_hostile_bench >/dev/null

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -u
    source "$1/tools/wine_env.sh"
    tov_wine_start
    for listing in "$2"/all/*.tov; do
        name=$(basename "$listing" .tov)
        if [ -n "${TOV_HOSTILE_ONLY:-}" ] && [[ " $TOV_HOSTILE_ONLY " != *" $name "* ]]; then
            continue
        fi
        folder="$2/one/$name"
        rm -rf "$folder"
        mkdir -p "$folder"
        ln -s "$listing" "$folder/$name.tov"
        timeout 1800 wine "$3/win_hostile_bench.exe" "$(winepath -w "$folder")" \
            >"$2/$name.txt" 2>&1 || echo "ended early: exit $?" >>"$2/$name.txt"
        echo "$name $(grep -a "^slowest" "$2/$name.txt" || tail -1 "$2/$name.txt")"
        wineserver -k >/dev/null 2>&1 || true
        tov_wine_start
    done
    tov_wine_stop' _ "$root" "$out" "$windows"
