#!/usr/bin/env bash
# The pictures of the README: the first parameter page, the errors page and the
# ECU information page polling the simulator, in English and in Russian (under
# the Russian locale, as a Russian user sees the numbers), into docs/; a value
# out of range and the trend window; then the Windows window's first page,
# errors page and ECU information page under Wine, in English and in Russian,
# its range warning and trend window in English; the log viewer of either
# window in both languages. Runs on a virtual display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh
bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

work=$(mktemp -d)
sim=""
cleanup() {
    [ -n "$sim" ] && { kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; }
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/dosdevices" docs
build/release/vmx-ecusim --link "$work/dosdevices/COM1" --errors 0,5,17 >/dev/null &
sim=$!
for _ in $(seq 50); do
    [ -e "$work/dosdevices/COM1" ] && break
    sleep 0.1
done

for language in EN RU; do
    # Only the Language line changes; the file keeps its CRLF line ends.
    sed "s/^Language=[A-Za-z]*/Language=$language/" data/database.ini >"$work/database.ini"
    suffix=$(echo "$language" | tr '[:upper:]' '[:lower:]')
    locale=C.UTF-8
    [ "$language" = RU ] && locale=ru_RU.UTF-8
    shots=("docs/window-$suffix.png" "docs/errors-$suffix.png" "docs/ecu-info-$suffix.png")
    LC_ALL=$locale xvfb-run -a -s "-screen 0 1024x768x24" \
        bash scripts/window-shot.sh "$work" "${shots[@]}"
    printf '%s\n' "${shots[@]}"
done

# The range warning and the trend window, against an ECU whose coolant is
# too hot (140 °C, beyond the definition's 130).
kill "$sim"
wait "$sim" 2>/dev/null || true
rm -f "$work/dosdevices/COM1"
build/release/vmx-ecusim --link "$work/dosdevices/COM1" --set 0102=1400 >/dev/null &
sim=$!
for _ in $(seq 50); do
    [ -e "$work/dosdevices/COM1" ] && break
    sleep 0.1
done
sed "s/^Language=[A-Za-z]*/Language=EN/" data/database.ini >"$work/database.ini"
xvfb-run -a -s "-screen 0 1920x1080x24" \
    bash scripts/trend-shot.sh "$work" docs/warning-en.png docs/trend-en.png
printf '%s\n' docs/warning-en.png docs/trend-en.png

# The log viewer alone, on a drive's log over midnight, with a cursor.
mkdir -p "$work/logs"
drive="$work/logs/2026-12-08_235000_set1.csv"
python3 scripts/make_drive_log.py "$drive"
for language in EN RU; do
    sed "s/^Language=[A-Za-z]*/Language=$language/" data/database.ini >"$work/database.ini"
    suffix=$(echo "$language" | tr '[:upper:]' '[:lower:]')
    xvfb-run -a -s "-screen 0 1280x800x24" \
        bash scripts/log-viewer-shot.sh qt "$work" "$drive" "docs/log-viewer-qt-$suffix.png"
    printf '%s\n' "docs/log-viewer-qt-$suffix.png"
done

# The Windows window, cross-built, in Wine's prefix with its own simulator.
bash scripts/build.sh build/windows -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# shellcheck source=scripts/wine-line.sh
source scripts/wine-line.sh
trap 'wine_line_stop; cleanup' EXIT
wine_line_start >/dev/null
for language in EN RU; do
    sed "s/^Language=[A-Za-z]*/Language=$language/" data/database.ini >"$work/database.ini"
    suffix=$(echo "$language" | tr '[:upper:]' '[:lower:]')
    locale=C.UTF-8
    [ "$language" = RU ] && locale=ru_RU.UTF-8
    shots=("docs/windows-window-$suffix.png" "docs/windows-errors-$suffix.png"
        "docs/windows-ecu-info-$suffix.png")
    LC_ALL=$locale xvfb-run -a -s "-screen 0 1024x768x24" \
        bash scripts/windows-window-shot.sh "$work" "${shots[@]}"
    printf '%s\n' "${shots[@]}"
done
sed "s/^Language=[A-Za-z]*/Language=EN/" data/database.ini >"$work/database.ini"

# Its range warning and trend window, against the too hot ECU.
wine_line_stop
wine_line_ecu_options="--set 0102=1400"
wine_line_start >/dev/null
xvfb-run -a -s "-screen 0 1920x1080x24" bash scripts/windows-trend-shot.sh "$work" \
    docs/windows-warning-en.png docs/windows-trend-en.png
printf '%s\n' docs/windows-warning-en.png docs/windows-trend-en.png
for language in EN RU; do
    sed "s/^Language=[A-Za-z]*/Language=$language/" data/database.ini >"$work/database.ini"
    suffix=$(echo "$language" | tr '[:upper:]' '[:lower:]')
    xvfb-run -a -s "-screen 0 1280x800x24" bash scripts/log-viewer-shot.sh windows "$work" \
        "$drive" "docs/log-viewer-windows-$suffix.png"
    printf '%s\n' "docs/log-viewer-windows-$suffix.png"
done
