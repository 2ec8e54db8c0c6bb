#!/usr/bin/env bash
# Runs vmxdiag.exe under Wine on the X display in $DISPLAY with FOLDER as its
# working folder, presses Start (F5), and once live blocks have come saves a
# picture of the window; then the errors page (F3) once it was read, and the
# ECU information page (F4) once it was read, when a file is given for it:
#   scripts/windows-window-shot.sh [--dpi DPI] FOLDER WINDOW_PNG ERRORS_PNG [INFO_PNG]
# The display's dots per inch are 96 unless given.
# Needs the Wine prefix of wine-line.sh (wine_line_start) to be up.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
shot_dpi=96
if [ "$1" = --dpi ]; then
    shot_dpi=$2
    shift 2
fi
folder=$(realpath "$1")
window_png=$(realpath -m "$2")
errors_png=$(realpath -m "$3")
info_png=""
[ $# -lt 4 ] || info_png=$(realpath -m "$4")
# shellcheck source=scripts/wine-window.sh
source scripts/wine-window.sh
trap 'wine_window_stop; wine_window_dpi 96 || true; "$wineserver_program" -k 2>/dev/null || true' EXIT


wine_window_dpi "$shot_dpi"
wine_window_recorded "$folder" shot.rec
xdotool key F5
wait_until 60 "five live blocks" sent 5 "09 84"
import -window "$wine_window" "$window_png"
xdotool key F3
wait_until 30 "two reads of the error memory" sent 2 "09 83 00"
import -window "$wine_window" "$errors_png"
if [ -n "$info_png" ]; then
    probes=$(grep -c " > 09 80" "$recording" || true)
    xdotool key F4
    wait_until 30 "two reads of the ECU information" sent $((probes + 2)) "09 80"
    import -window "$wine_window" "$info_png"
fi
wine_window_close
