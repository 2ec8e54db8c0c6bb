#!/usr/bin/env bash
# Runs the window on the X display in $DISPLAY with FOLDER as its working
# folder, presses Start (F5), lets it poll for a few ticks, saves a picture of
# the window as PNG and ends the window:
#   scripts/window-shot.sh FOLDER PNG [ERRORS_PNG ECU_INFO_PNG]
# With the two further names it then turns to the errors page (F3) and to the
# ECU information page (F4), polling goes on, and pictures them too.
# Used under xvfb-run by run.sh (no display) and screenshots.sh.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
folder=$1
png=$(realpath -m "$2")
pages=()
if [ $# -ge 4 ]; then
    pages=("F3" "$(realpath -m "$3")" "F4" "$(realpath -m "$4")")
fi
# shellcheck source=scripts/qt-window.sh
source "$top/scripts/qt-window.sh"
qt_window_start "$folder"
# Ten ticks of 220 ms and more: the first selects the set, the rest read values.
sleep 3
import -window "$window" "$png"
for ((i = 0; i < ${#pages[@]}; i += 2)); do
    xdotool key "${pages[i]}"
    # The page is read at every tick from the next one on.
    sleep 1.5
    import -window "$window" "${pages[i + 1]}"
done
