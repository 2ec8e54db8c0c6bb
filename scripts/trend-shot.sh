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

cd "$folder"
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
fi
"$top/build/release/app/vmxdiag" &
window_pid=$!
trap 'kill $window_pid 2>/dev/null; wait $window_pid 2>/dev/null || true' EXIT

find_window() {
    local name=$1 found=""
    for _ in $(seq 100); do
        found=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1 || true)
        [ -n "$found" ] && break
        kill -0 $window_pid 2>/dev/null || { echo "the window ended" >&2; exit 1; }
        sleep 0.1
    done
    [ -n "$found" ] || { echo "no window named $name" >&2; exit 1; }
    echo "$found"
}

window=$(find_window "Diag VMX-4410")
xdotool windowfocus --sync "$window"
sleep 0.5
xdotool key F5
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
