#!/usr/bin/env bash
# Runs vmxdiag.exe under Wine on the X display in $DISPLAY with FOLDER as its
# working folder against an ECU whose coolant is too hot, presses Start (F5)
# and pictures the first page with the value out of range once live blocks
# have come; then opens the trend window (F7), ticks the coolant and the
# accelerator pedal beside the engine speed, and pictures it after some
# seconds of polling:
#   scripts/windows-trend-shot.sh FOLDER WARNING_PNG TREND_PNG
# Needs the Wine prefix of wine-line.sh to be up, its simulator started with
# wine_line_ecu_options="--set 0102=1400".
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
folder=$(realpath "$1")
warning_png=$(realpath -m "$2")
trend_png=$(realpath -m "$3")
# shellcheck source=scripts/wine-window.sh
source scripts/wine-window.sh
trap 'wine_window_stop; "$wineserver_program" -k 2>/dev/null || true' EXIT

trend_shown() {
    trend=$(xdotool search --onlyvisible --name '^(Trend|Тренд)$' 2>/dev/null | head -n 1 || true)
    [ -n "$trend" ]
}

wine_window_recorded "$folder" trend.rec
xdotool key F5
wait_until 60 "five live blocks" sent 5 "09 84"
import -window "$wine_window" "$warning_png"
xdotool key F7
wait_until 30 "the trend window" trend_shown
# Keys go to the window under the pointer: the first row of the list is
# clicked (selected, not ticked), then the second (coolant) and the eighth
# (pedal) are ticked from the keyboard.
xdotool mousemove --window "$trend" 100 30 click 1
sleep 0.3
xdotool key Down space Down Down Down Down Down Down space
sleep 12
import -window "$trend" "$trend_png"
wine_window_close
