#!/usr/bin/env bash
# The Windows window under Wine, driven as a mechanic would: found by its
# title at the layout's size, F5 polls the first set (its sixteen selections,
# then live blocks, the Value cells lime on black on screen), F2 the second,
# F3 the error memory, F4 the identification, F8 the clear request, F5 again
# stops, the language button switches, and closing writes the language back
# and nothing else. What went on the line is read from the window's own
# recording. Run by test-windows.sh on a virtual display, in its Wine prefix.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
# shellcheck source=scripts/wine-line.sh
source scripts/wine-line.sh
# shellcheck source=scripts/wine-window.sh
source scripts/wine-window.sh
# Wine's programs of this display end before the display does.
trap 'wine_window_stop; "$wineserver_program" -k 2>/dev/null || true' EXIT

folder=build/windows/window-test
rm -rf "$folder"
mkdir -p "$folder"
cp data/database.ini "$folder/database.ini"
recording="$folder/line.rec"

# The lines of the recording that are requests, as their frames.
requests() { sed -n 's/^[0-9]* > //p' "$recording" 2>/dev/null; }
count() { requests | grep -c "$1" || true; }
# At least N requests of the frame (a prefix of its bytes) have gone out.
sent() { [ "$(count "$2")" -ge "$1" ]; }

wine_window_start "$folder" --record "$(winepath_of "$top/$recording")"
geometry=$(xwininfo -id "$wine_window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
echo "window $wine_window, client area $geometry"
[ "$geometry" = 592x455 ]

echo "F5: the first set"
xdotool key F5
wait_until 60 "sixteen selections and three live blocks" sent 3 "09 84 00 00 0F 9C"
# Slots 0 to 15 in order, once, before the first block.
slots=$(requests | sed -n '/^09 84/q; s/^09 85 \(..\) .*/\1/p' | tr '\n' ' ')
[ "$slots" = "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F " ] || {
    echo "selections before the first block: $slots" >&2
    exit 1
}
[ "$(count "09 85")" -eq 16 ]
import -window "$wine_window" "$folder/polling.png"
colours=$(convert "$folder/polling.png" -crop 80x300+410+70 -unique-colors txt:- | grep -o '#[0-9A-F]\{6\}')
grep -q '#00FF00' <<<"$colours" && grep -q '#000000' <<<"$colours" || {
    echo "no lime on black in the Value column" >&2
    exit 1
}

echo "F2: the second set"
first_set=$(requests | grep -m1 '^09 85 00')
xdotool key F2
wait_until 30 "the second set's selection" sent 32 "09 85"
second_set=$(requests | grep '^09 85 00' | tail -n 1)
[ "$first_set" != "$second_set" ]

echo "F3: the error memory"
xdotool key F3
wait_until 30 "two error reads" sent 2 "09 83 00 00 00 8C"

echo "F4: probe, counters, identification, user and date, VIN"
before=$(requests | wc -l)
probes=$(count "09 80")
xdotool key F4
wait_until 30 "two reads of the ECU information" sent $((probes + 2)) "09 80"
read_of_page=$(requests | tail -n +$((before + 1)) | grep -A4 -m1 '^09 80' | cut -c1-8 | tr '\n' ' ')
[ "$read_of_page" = "09 80 00 09 81 00 09 82 01 09 82 0A 09 90 00 " ] || {
    echo "the ECU information page sent: $read_of_page" >&2
    exit 1
}

echo "F8: the clear request"
xdotool key F8
wait_until 30 "the clear request" sent 1 "09 83 01 FF FF 8B"

echo "F5: stop"
xdotool key F5
# The requests stop coming: the count stays the same over a second (a tick
# under way may still finish).
settled() {
    local before
    before=$(requests | wc -l)
    sleep 1
    [ "$(requests | wc -l)" -eq "$before" ]
}
wait_until 30 "polling to stop" settled

echo "the language button, then close"
xdotool mousemove --window "$wine_window" 326 13 click 1
# The close comes after the click on the display's queue; the file tells
# whether the click was taken.
wine_window_close
# Only the Language line changed.
diff <(sed 's/^Language=RU/Language=EN/' data/database.ini) "$folder/database.ini"
grep -q '^Language=EN' "$folder/database.ini"
echo "the window on Windows: $(requests | wc -l) requests, closed with 0, Language=EN written back"
