#!/usr/bin/env bash
# The Windows port under Wine against the paced simulator, beside the native
# build on the same simulator:
#   - the live block exchange against its line time (bench-port_live), and
#   - the CPU of the tool's process while `vmxdiag-cli live` polls every 220 ms
#     (and, under Wine, of Wine's server, which does part of every wait).
#
#   bash bench/wine_live.sh [seconds of polling]   (default 60)
#
# Needs build/release and build/windows (scripts/test.sh makes both).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
seconds=${1:-60}
for program in build/release/bench-port_live build/release/vmxdiag-cli \
    build/windows/bench-port_live.exe build/windows/vmxdiag-cli.exe; do
    [ -x "$program" ] || {
        echo "$program is missing: run scripts/test.sh first" >&2
        exit 2
    }
done

# shellcheck source=scripts/wine-line.sh
source scripts/wine-line.sh
trap wine_line_stop EXIT
wine_line_start >/dev/null
ecu=$(head -n1 "$wine_line_runtime/ecu")
hz=$(getconf CLK_TCK)

# User and system time of a process, in clock ticks.
ticks() {
    awk '{ print $14 + $15 }' "/proc/$1/stat"
}

# Runs the `vmxdiag-cli ... live` command given (native or under Wine), polling
# every 220 ms for $seconds, and prints the CPU of its process, and of the extra
# process given, in percent.
poll_cpu() {
    local label=$1 extra=$2
    shift 2
    # To a file: Wine writes to /dev/null, a device to it, through its server.
    "$@" --interval 220 --count $((seconds * 5 + 20)) --format csv >"$wine_line_runtime/poll.csv" \
        2>"$wine_line_runtime/poll.err" &
    local pid=$!
    sleep 2 # past the start and the set's selection
    local own0 extra0 own1 extra1
    own0=$(ticks "$pid")
    extra0=$([ -n "$extra" ] && ticks "$extra" || echo 0)
    sleep "$seconds"
    own1=$(ticks "$pid")
    extra1=$([ -n "$extra" ] && ticks "$extra" || echo 0)
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    awk -v l="$label" -v o=$((own1 - own0)) -v e=$((extra1 - extra0)) -v s="$seconds" \
        -v hz="$hz" -v x="$extra" 'BEGIN {
        printf "%s: vmxdiag-cli live at 220 ms, process CPU %.3f %% of one core (target < 0.2 %%)",
               l, 100 * o / hz / s
        if (x != "") printf "; Wine server %.3f %%", 100 * e / hz / s
        printf "\n" }'
}

cd build/windows/demo 2>/dev/null || {
    mkdir -p build/windows/demo
    cd build/windows/demo
}
cp -f "$top/data/database.ini" database.ini

echo "== Linux, native =="
"$top/build/release/bench-port_live" "$ecu" 10 database.ini | sed -n '1,5p'
poll_cpu "Linux" "" "$top/build/release/vmxdiag-cli" live --port "$ecu"

echo "== Windows, under Wine =="
"$wine_program" "$top/build/windows/bench-port_live.exe" COM1 10 database.ini | sed -n '1,5p'
server=$(pgrep -n -f wineserver || true)
# wine64 becomes the Windows program's own process: its id is the one to watch.
poll_cpu "Wine" "$server" "$wine_program" "$top/build/windows/vmxdiag-cli.exe" live --port COM1
