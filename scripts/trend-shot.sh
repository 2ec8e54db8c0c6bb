#!/usr/bin/env bash
# Runs the window on the X display in $DISPLAY with FOLDER as its working
# folder against an ECU whose coolant is too hot, presses Start (F5) and
# pictures the first page with the value out of range; then opens the trend
# window (F7), ticks the coolant and the accelerator pedal beside the engine
# speed, and pictures it after some seconds of polling:
#   scripts/trend-shot.sh FOLDER WARNING_PNG TREND_PNG
# Used under xvfb-run by screenshots.sh.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
folder=$1
warning_png=$(realpath -m "$2")
trend_png=$(realpath -m "$3")

# shellcheck source=scripts/qt-window.sh
source "$top/scripts/qt-window.sh"
qt_window_start "$folder"
sleep 3
import -window "$window" "$warning_png"
xdotool key F7
trend=$(find_window "^(Trend|Тренд)$")
xdotool windowfocus --sync "$trend"
sleep 0.3
# The list has the keys: the second row (coolant) and the eighth (pedal).
xdotool key Down space Down Down Down Down Down Down space
sleep 12
import -window "$trend" "$trend_png"
