#!/usr/bin/env bash
# The portable core depends one way: listing/, then search/, then ui/, then app/. A portable file
# (one that is not *_win.*) may include the project's headers of its own folder and of the folders
# before it, and never a Win32 header of the project. Prints each include against that order and
# fails when there is one.
#
#   tools/check_layers.sh [ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
layers=(listing search ui app)
status=0
for ((own = 0; own < ${#layers[@]}; ++own)); do
    for file in "$root/${layers[own]}"/*.h "$root/${layers[own]}"/*.cpp; do
        [ -e "$file" ] || continue
        case "$file" in *_win.h | *_win.cpp) continue ;; esac
        while IFS=: read -r line include; do
            folder=${include%%/*}
            allowed=0
            for ((lower = 0; lower <= own; ++lower)); do
                [ "$folder" = "${layers[lower]}" ] && allowed=1
            done
            case "$include" in *_win.h) allowed=0 ;; esac
            if ((!allowed)); then
                echo "${file#"$root"/}:$line: includes \"$include\" against the layers (${layers[*]})"
                status=1
            fi
        done < <(grep -n -o -E '^#include "(listing|search|ui|app)/[^"]+"' "$file" |
                 sed -E 's/#include "([^"]+)"/\1/')
    done
done
if ((status == 0)); then
    echo "Layers: every portable include follows ${layers[*]}"
fi
exit $status
