#!/usr/bin/env bash
# The run command: installs what is missing, builds Tov.exe and starts it under Wine in examples/,
# where the sample listing lies, so that it opens at once. Extra arguments go to Tov.exe
# (for example: -l de).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/build.sh" windows
source "$root/tools/wine_env.sh"
run() {
    tov_wine_prefix
    cd "$root/examples"
    wine "$root/build/windows/Tov.exe" "$@"
    tov_wine_stop
}
if [ -n "${DISPLAY:-}" ]; then
    run "$@"
else
    echo "No display: starting Tov under Xvfb (nothing will be visible)."
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
