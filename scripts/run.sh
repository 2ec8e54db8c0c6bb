#!/usr/bin/env bash
# The main job: builds the tool and runs it against the ECU. When no ECU answers
# on any serial port of this machine, an ECU simulator is started on a
# pseudo-terminal and the tool is run against that.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh
bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

bin="$top/build/release"
demo="$top/build/demo"
mkdir -p "$demo"
# The tool reads database.ini of its current directory; the demo keeps its own copy.
cp -f "$top/data/database.ini" "$demo/database.ini"
cd "$demo"
rm -rf dosdevices

# What the session shows: the ECU, its stored errors, then a few seconds of live values.
show() {
    "$bin/vmxdiag-cli" errors
    "$bin/vmxdiag-cli" live --count 25
}

if "$bin/vmxdiag-cli" probe 2>/dev/null; then
    show
    exit 0
fi

echo "No ECU answers on this machine's serial ports; starting the ECU simulator."
mkdir -p dosdevices
"$bin/vmx-ecusim" --link dosdevices/COM1 --errors 0,5,17 &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true; rm -rf "$demo/dosdevices"' EXIT
for _ in $(seq 50); do
    [ -e dosdevices/COM1 ] && break
    sleep 0.1
done
"$bin/vmxdiag-cli" probe
show
