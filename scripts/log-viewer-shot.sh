#!/usr/bin/env bash
# Pictures the log viewer alone (`--open-log`) on the X display in $DISPLAY:
# the Qt window, or the Windows window under Wine (in the prefix of
# wine-line.sh), with FOLDER as its working folder, showing the log LOG with
# the cursor put on a row by a click:
#   scripts/log-viewer-shot.sh qt|windows FOLDER LOG PNG
# Used under xvfb-run by screenshots.sh.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
toolkit=$1
folder=$(realpath "$2")
log=$(realpath "$3")
png=$(realpath -m "$4")
cd "$top"
# shellcheck source=scripts/wine-window.sh
source scripts/wine-window.sh
wine_window_title="^(Журнал|Log) - $(basename "$log")\$"
if [ "$toolkit" = windows ]; then
    trap 'wine_window_stop; "$wineserver_program" -k 2>/dev/null || true' EXIT
    wine_window_launch "$folder" --open-log "$(winepath_of "$log")"
else
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
        XDG_RUNTIME_DIR=$(mktemp -d)
        export XDG_RUNTIME_DIR
    fi
    (cd "$folder" && exec "$top/build/release/app/vmxdiag" --open-log "$log") &
    wine_window_pid=$!
    trap 'kill $wine_window_pid 2>/dev/null; wait $wine_window_pid 2>/dev/null || true' EXIT
fi
wait_until 120 "the log viewer" wine_window_found
xdotool windowsize --sync "$wine_window" 980 520 || true
sleep 1
# A click two thirds along the plot puts the cursor there.
xdotool mousemove --window "$wine_window" 700 300 click 1
sleep 1
import -window "$wine_window" "$png"
