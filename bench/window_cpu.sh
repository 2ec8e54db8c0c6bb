#!/usr/bin/env bash
# The Qt window's CPU on a real X server (a virtual display), against that of
# `vmxdiag-cli live` reading at the same rate from the same kind of line, in
# the same run: both poll the paced simulator's first set every 220 ms. The
# window's painting is what it costs beyond the tool's; the target is under
# 1.5 times the tool's CPU. The window's polling with the trend window open
# (four curves of a minute) is set against its polling without, in the same
# run; the target is under 2.
#
#   bash bench/window_cpu.sh [seconds of polling]   (default 60)
#
# Needs build/release (scripts/test.sh makes it).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
seconds=${1:-60}
for program in build/release/bench/window/bench-window_tick build/release/vmxdiag-cli \
    build/release/vmx-ecusim; do
    [ -x "$program" ] || {
        echo "$program is missing: run scripts/test.sh first" >&2
        exit 2
    }
done

echo "== the Qt window on an X display, first page =="
window_out=$(QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)} \
    xvfb-run -a -s "-screen 0 1024x768x24" build/release/bench/window/bench-window_tick "$seconds")
sed -n '/polling the first page for/,/with the trend/p' <<<"$window_out"
window=$(sed -n '/polling the first page for/,/process CPU/ s/.*process CPU *\([0-9.]*\) %.*/\1/p' \
    <<<"$window_out")

echo "== vmxdiag-cli live, the same rate =="
folder=$(mktemp -d)
sim=""
live=""
cleanup() {
    for pid in $live $sim; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$folder"
}
trap cleanup EXIT
mkdir -p "$folder/dosdevices"
cp data/database.ini "$folder/database.ini"
build/release/vmx-ecusim --link "$folder/dosdevices/COM1" >/dev/null &
sim=$!
for _ in $(seq 50); do
    [ -e "$folder/dosdevices/COM1" ] && break
    sleep 0.1
done
(cd "$folder" && exec "$top/build/release/vmxdiag-cli" live --port COM1 --interval 220 \
    --count $((seconds * 5 + 20)) --format csv >/dev/null 2>&1) &
live=$!
sleep 2 # past the start and the set's selection
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
before=$(ticks "$live")
sleep "$seconds"
after=$(ticks "$live")
cli=$(awk -v t=$((after - before)) -v s="$seconds" -v hz="$(getconf CLK_TCK)" \
    'BEGIN { printf "%.3f", 100 * t / hz / s }')
echo "  process CPU       $cli % of one core"
awk -v w="$window" -v c="$cli" 'BEGIN {
    printf "window / command-line tool: %.2f (target < 1.5)\n", (c > 0 ? w / c : 0) }'
