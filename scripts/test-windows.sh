#!/usr/bin/env bash
# Cross-builds the core, the command-line tool and the tests for 64-bit Windows
# (build/windows, with cmake/mingw-w64.cmake), and runs them under Wine against
# the ECU simulator: the Windows test program, then vmxdiag-cli.exe probe,
# live and errors, the window (test-windows-window.sh) and the installer
# (test-windows-installer.sh). The simulator comes from the native build (build/release),
# which is made first when it is not there. Needs no display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh
started=$SECONDS

[ -x build/release/vmx-ecusim ] ||
    bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
echo "== Windows cross build =="
bash scripts/build.sh build/windows -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
built=$SECONDS

# shellcheck source=scripts/wine-line.sh
source scripts/wine-line.sh
trap wine_line_stop EXIT
echo "== Wine: prefix and simulated ports =="
wine_line_start

echo "== Wine: the Windows test program =="
# The serial tests of the Windows port need a name above COM9 on the simulator;
# here none may be skipped for want of it.
tests=$(VMX_TEST_ECU_PORT=COM12 vwine build/windows/vmx-tests.exe --gtest_brief=1 2>&1) || {
    echo "$tests"
    exit 1
}
echo "$tests" | tail -n 2
if grep -q 'SKIPPED' <<<"$tests"; then
    echo "$tests"
    exit 1
fi

echo "== Wine: vmxdiag-cli.exe against the simulator =="
demo=build/windows/demo
mkdir -p "$demo"
cp -f data/database.ini "$demo/database.ini"
cd "$demo"
cli="$top/build/windows/vmxdiag-cli.exe"
probe=$(vwine "$cli" probe)
echo "$probe"
grep -q '^COM1: ECU answers' <<<"$probe"
grep -q '^COM2: no answer' <<<"$probe"
vwine "$cli" live --count 5 --port COM1 --format csv
vwine "$cli" errors --port COM1 | tee errors.txt
grep -q 'Quantity of errors: 3' errors.txt
# The report into a new file, in the page's and the data's form; a second run
# does not replace it without --force.
rm -f report.html report.json
vwine "$cli" report --port COM1 --lang en --output report.html
grep -q '<td class="vin">' report.html
vwine "$cli" report --port COM1 --format json --output report.json
grep -q '"complete": true' report.json
if vwine "$cli" report --port COM1 --output report.html 2>/dev/null; then
    echo "report replaced a file without --force" >&2
    exit 1
fi
# Ctrl+C (Wine hands SIGINT to the console's control handlers) ends a run
# between two reads: its summary comes, and the last read was good.
"$wine_program" "$cli" live --port COM1 --format csv >live.csv 2>live.err &
live=$!
wine_line_pids+=("$live")
# A stop sent before the program has taken the console's stops would end it as
# the signal ends a program that has none: wait for its rows, however long
# Wine takes to start on a busy machine.
rows=0
for _ in $(seq 600); do
    rows=$(wc -l <live.csv)
    [ "$rows" -ge 3 ] && break
    sleep 0.1
done
[ "$rows" -ge 3 ] || {
    echo "vmxdiag-cli.exe live wrote $rows lines in 60 s" >&2
    cat live.err >&2
    exit 1
}
kill -INT "$live"
wait "$live"
grep 'reads succeeded' live.err
cd "$top"

echo "== Wine: vmxdiag.exe, the window, on a virtual display; then the installer =="
xvfb-run -a -s "-screen 0 1024x768x24" \
    bash -c 'bash scripts/test-windows-window.sh && bash scripts/test-windows-installer.sh'
echo "Windows: built in $((built - started)) s, run under Wine in $((SECONDS - built)) s."
