#!/usr/bin/env bash
# The Windows window under Wine, driven as a mechanic would: found by its
# title at the layout's size, F5 polls the first set (its sixteen selections,
# then live blocks, the Value cells lime on black on screen), F6 logs it into
# a CSV file of logs/ and F6 again ends the log, F7 opens the trend window
# (closed again), F2 polls the second set,
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

echo "F6: a log of the first set; F7: the trend window"
xdotool key F6
log_of_set1() { ls "$folder"/logs/*_set1.csv 2>/dev/null | head -n 1; }
log_rows() { [ -n "$(log_of_set1)" ] && [ "$(wc -l <"$(log_of_set1)")" -ge "$1" ]; }
wait_until 30 "a header and three rows in logs/" log_rows 4
xdotool key F6
log=$(log_of_set1)
python3 - "$log" <<'PY'
import csv, sys
# A byte-order mark first, so that a spreadsheet reads the headers as UTF-8;
# the prefix's regional settings have a decimal point: ',' between the fields.
assert open(sys.argv[1], "rb").read(3) == b"\xef\xbb\xbf"
rows = list(csv.reader(open(sys.argv[1], encoding="utf-8-sig", newline="")))
assert rows[0][0] == "time" and len(rows[0]) == 17, rows[0]
assert rows[0][1] == "NMOT [об/мин]", rows[0][1]
assert len(rows) >= 4 and all(len(row) == 17 for row in rows[1:]), rows
for row in rows[1:]:
    float(row[1])
PY
# F6 again ended it: no row follows.
rows_then=$(wc -l <"$log")
sleep 1
[ "$(wc -l <"$log")" -eq "$rows_then" ]
trend_shown() {
    trend=$(xdotool search --onlyvisible --name '^Тренд$' 2>/dev/null | head -n 1 || true)
    [ -n "$trend" ]
}
trend_hidden() { ! trend_shown; }
xdotool key F7
wait_until 30 "the trend window" trend_shown
sleep 1  # a tick or more plotted
python3 scripts/x-close-window.py "$trend"
wait_until 30 "the trend window to hide" trend_hidden
# The keys go to the main window again once the pointer brings it forward.
xdotool mousemove --window "$wine_window" 300 300 click 1

echo "F2: the second set"
# Whole pipes, each reading to the end: one that stops early would end the
# one before it by SIGPIPE, a failure under pipefail.
first_set=$(requests | grep '^09 85 00' | sed -n 1p)
# Every key selects the page's set again: the first set's slot 0 has gone out
# more than once by now, the second set's not yet.
before=$(requests | wc -l)
second_set_sent() {
    [ -n "$(requests | tail -n +$((before + 1)) | grep '^09 85 00' | grep -v -x "$first_set")" ]
}
xdotool key F2
wait_until 30 "the second set's selection" second_set_sent

echo "F3: the error memory"
xdotool key F3
wait_until 30 "two error reads" sent 2 "09 83 00 00 00 8C"

echo "F4: probe, counters, identification, user and date, VIN"
before=$(requests | wc -l)
probes=$(count "09 80")
xdotool key F4
wait_until 30 "two reads of the ECU information" sent $((probes + 2)) "09 80"
read_of_page=$(requests | tail -n +$((before + 1)) | grep -A4 '^09 80' | sed -n 1,5p | cut -c1-8 | tr '\n' ' ')
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
