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
title="Diag VMX-4410"

cd "$folder"
# Qt wants a private runtime folder; a virtual display has none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
fi
"$top/build/release/app/vmxdiag" &
window_pid=$!
trap 'kill $window_pid 2>/dev/null; wait $window_pid 2>/dev/null || true' EXIT

# The window shows once the ports were probed.
window=""
for _ in $(seq 100); do
    window=$(xdotool search --name "$title" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 $window_pid 2>/dev/null || { echo "the window ended before it showed" >&2; exit 1; }
    sleep 0.1
done
[ -n "$window" ] || { echo "the window did not show" >&2; exit 1; }

xdotool windowfocus --sync "$window"
sleep 0.5
xdotool key F5
# Ten ticks of 220 ms and more: the first selects the set, the rest read values.
sleep 3
import -window "$window" "$png"
for ((i = 0; i < ${#pages[@]}; i += 2)); do
    xdotool key "${pages[i]}"
    # The page is read at every tick from the next one on.
    sleep 1.5
    import -window "$window" "${pages[i + 1]}"
done
