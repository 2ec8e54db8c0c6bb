#!/usr/bin/env bash
# The Windows window under Wine beside the Qt window, both on a virtual X
# display and both polling the paced simulator's first page:
#   - the live tick (block read, values into the list) against its line time,
#   - the process CPU while the window polls every 220 ms on its timer (and,
#     under Wine, that of Wine's server, which does part of every wait).
#
#   bash bench/wine_window.sh [seconds of polling]   (default 30)
#
# Needs build/release and build/windows (scripts/test.sh makes both).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
seconds=${1:-30}
for program in build/release/bench/window/bench-window_tick build/windows/bench-window_win32.exe; do
    [ -x "$program" ] || {
        echo "$program is missing: run scripts/test.sh first" >&2
        exit 2
    }
done

echo "== Qt window on Linux, X display =="
# The first page's figures; the errors page's follow in the program's own output.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" \
    build/release/bench/window/bench-window_tick "$seconds" |
    sed -n '/live tick/,/per tick/p'

echo "== Windows window under Wine, X display =="
# shellcheck source=scripts/wine-line.sh
source scripts/wine-line.sh
trap wine_line_stop EXIT
wine_line_start >/dev/null
folder=build/windows/bench-window
mkdir -p "$folder"
cp -f data/database.ini "$folder/database.ini"
hz=$(getconf CLK_TCK)
XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)} xvfb-run -a -s "-screen 0 1024x768x24" \
    bash -c '
    set -euo pipefail
    # Wine'"'"'s desktop process serves the display it was started with.
    "$0" -k 2>/dev/null || true
    "$0" -w 2>/dev/null || true
    "$0" -p
    server=$(pgrep -n -f wineserver)
    before=$(awk "{ print \$14 + \$15 }" /proc/$server/stat)
    start=$SECONDS
    (cd "$1" && "$2" "$3" "$4")
    after=$(awk "{ print \$14 + \$15 }" /proc/$server/stat)
    awk -v t=$((after - before)) -v s=$((SECONDS - start)) -v hz="$5" "BEGIN {
        printf \"  Wine server       %8.3f %% of one core over the whole run (%d s)\n\", 100 * t / hz / s, s }"
    "$0" -k 2>/dev/null || true' \
    "$wineserver_program" "$folder" "$wine_program" "$top/build/windows/bench-window_win32.exe" \
    "$seconds" "$hz"
