#!/usr/bin/env bash
# The main job: builds the tool and starts its window against the ECU. When no
# ECU answers on any serial port of this machine, an ECU simulator is started
# on a pseudo-terminal and the window is run against that. Without a display
# the window runs on a virtual one: Start is pressed, a few ticks run, and a
# screenshot is saved.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh

# Only the three programs, not the tests and benchmarks, in the release tree
# that the test command builds whole: its options stay as that command set
# them (a tree made here is configured as it configures one). The build shows
# its progress; once built, nothing is done again.
build=build/release
if [ ! -f "$build/CMakeCache.txt" ]; then
    echo "Configuring $build (once)."
    generator=()
    if command -v ninja >/dev/null 2>&1; then
        generator=(-G Ninja)
    fi
    cmake -S "$top" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
echo "Building vmxdiag, vmxdiag-cli and vmx-ecusim in $build (the first time takes a while)."
cmake --build "$build" --parallel "$(nproc)" --target vmxdiag vmxdiag-cli vmx-ecusim

bin="$top/$build"
demo="$top/build/demo"
mkdir -p "$demo"
# The window reads database.ini of its working folder and writes the chosen
# language back into it at the end; a newer sample replaces the copy.
cp -u "$top/data/database.ini" "$demo/database.ini"
cd "$demo"
rm -rf dosdevices

sim=""
stop_simulator() {
    if [ -n "$sim" ]; then
        kill "$sim" 2>/dev/null || true
        wait "$sim" 2>/dev/null || true
    fi
    rm -rf "$demo/dosdevices"
}
trap stop_simulator EXIT

if ! "$bin/vmxdiag-cli" probe >/dev/null 2>&1; then
    echo "No ECU answers on this machine's serial ports; starting the ECU simulator."
    mkdir -p dosdevices
    "$bin/vmx-ecusim" --link dosdevices/COM1 --errors 0,5,17 >/dev/null &
    sim=$!
    for _ in $(seq 50); do
        [ -e dosdevices/COM1 ] && break
        sleep 0.1
    done
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Starting the window in $demo (Start: F5)."
    "$bin/app/vmxdiag"
else
    echo "No display: the window runs on a virtual one, Start pressed."
    xvfb-run -a -s "-screen 0 1024x768x24" \
        bash "$top/scripts/window-shot.sh" "$demo" "$demo/vmxdiag.png"
    echo "Screenshot of the window polling: $demo/vmxdiag.png"
fi
