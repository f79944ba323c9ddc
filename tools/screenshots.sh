#!/usr/bin/env bash
# Takes the README's screenshots again: builds the Windows side, runs the screenshot scenes of
# win_tests (the real main window with examples/sample.tov) under Wine in Xvfb, and writes
# docs/screenshots/{about-box,work-summary,main-window,search-results,expanded-tree}.png.
#
#   TOV_WINEPREFIX           Wine prefix (default: build/wineprefix, see tools/wine_env.sh)
#   TOV_BUILD_DIR            Windows build folder (default: build/windows, made by build.sh)
#   TOV_SCREENSHOT_LANGUAGE  the program's command line for its language (default: "-l en";
#                            "-l es" gives the Spanish texts)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/screenshots"
scenes=(about-box work-summary main-window search-results expanded-tree)

# Runs inside Xvfb: starts the scenes and, whenever one announces itself with "<scene>.ready",
# takes the Wine desktop, cuts out the announced rectangle and deletes the marker.
take_shots() {
    source "$root/tools/wine_env.sh"
    tov_wine_start
    export TOV_SCREENSHOT_DIR="Z:${markers//\//\\}"
    export TOV_SCREENSHOT_LISTING="Z:${root//\//\\}\\examples\\sample.tov"
    export TOV_SCREENSHOT_LANGUAGE="${TOV_SCREENSHOT_LANGUAGE:--l en}"
    wine "$tests_exe" --gtest_also_run_disabled_tests \
        --gtest_filter='ScreenshotScenes.*' >"$markers/test.log" 2>&1 &
    local test_pid=$! deadline=$((SECONDS + 240))
    while kill -0 "$test_pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
        for marker in "$markers"/*.ready; do
            [ -f "$marker" ] || continue
            local scene x y w h desktop
            scene=$(basename "$marker" .ready)
            read -r x y w h <"$marker"
            sleep 0.5  # let the last paint reach the screen
            # The Wine virtual desktop is one X window; its pixels are the Windows screen's.
            desktop=$(xdotool search --name 'Wine desktop' 2>/dev/null | head -n1 || true)
            import -window "${desktop:-root}" -crop "${w}x${h}+${x}+${y}" +repage \
                "$markers/$scene.png"
            rm -f "$marker"
            echo "took $scene (${w}x${h}+${x}+${y})"
        done
        sleep 0.2
    done
    if kill -0 "$test_pid" 2>/dev/null; then
        echo "screenshots.sh: the scenes did not finish in time" >&2
        kill "$test_pid" 2>/dev/null || true
    fi
    local status=0
    wait "$test_pid" || status=$?
    tov_wine_stop
    cat "$markers/test.log"
    return "$status"
}
if [ "${1:-}" = "--in-xvfb" ]; then
    take_shots
    exit
fi

for tool in xvfb-run import convert xdotool wine; do
    command -v "$tool" >/dev/null || { echo "screenshots.sh: $tool is missing" >&2; exit 1; }
done

if [ -n "${TOV_BUILD_DIR:-}" ]; then
    build="$TOV_BUILD_DIR"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
          -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
    cmake --build "$build" -j "$(nproc)" --target win_tests
else
    "$root/tools/build.sh" windows
    build="$root/build/windows"
fi
tests_exe="$build/win_tests.exe"
[ -f "$tests_exe" ] || { echo "screenshots.sh: $tests_exe was not built" >&2; exit 1; }

markers=$(mktemp -d)
trap 'rm -rf "$markers"' EXIT
mkdir -p "$out"

# xvfb-run goes through sh, which drops exported functions: the script enters itself again.
export markers tests_exe
xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --in-xvfb

for scene in "${scenes[@]}"; do
    [ -f "$markers/$scene.png" ] || { echo "screenshots.sh: no picture of $scene" >&2; exit 1; }
    convert "$markers/$scene.png" -strip -define png:compression-level=9 "$out/$scene.png"
    # Flat interface colours rarely need it, but a palette keeps a busy picture small.
    if [ "$(stat -c %s "$out/$scene.png")" -gt 300000 ]; then
        convert "$markers/$scene.png" -strip -colors 256 "$out/$scene.png"
    fi
    echo "$out/$scene.png: $(identify -format '%wx%h' "$out/$scene.png"), $(stat -c %s "$out/$scene.png") bytes"
done
