# Sourced by the scripts that run Tov or its tests under Wine: a private prefix inside the build
# folder, no debug output, nothing written to the home folder, and one fixed TMPDIR so that every
# Wine command of the prefix finds the same server.
tov_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${TOV_WINEPREFIX:-$tov_root/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
export TMPDIR="${WINEPREFIX}-tmp"
export WINEARCH=win64
mkdir -p "$TMPDIR"

# Creates the prefix once: fonts that Debian's Wine does not find by itself, and a virtual
# desktop so that top-level windows need no window manager and screenshots show them.
tov_wine_prefix() {
    if [ ! -f "$WINEPREFIX/.tov-ready" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.tov-ready"
    fi
}

# Starts the server and the desktop with their output away from the caller's pipes, so that no
# test waits for their linger.
tov_wine_start() {
    tov_wine_prefix
    wineserver -p >/dev/null 2>&1
    wine wineboot >/dev/null 2>&1 || true
}

tov_wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
}
