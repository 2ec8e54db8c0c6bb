#!/usr/bin/env bash
# The Windows window under Wine, driven as a mechanic would: found by its
# title at the layout's size, F5 polls the first set (its sixteen selections,
# then live blocks, the Value cells lime on black on screen), F6 logs it into
# a CSV file of logs/ and F6 again ends the log, F7 opens the trend window
# (closed again), F2 polls the second set,
# F3 the error memory, F4 the identification, F9 a report of the ECU into
# reports/ (polling going on), F8 the clear request, F5 again
# stops, the language button switches, and closing writes the language back
# and nothing else; --open-log then shows the log of F6 in the viewer alone
# (its curve and a cursor clicked in, in its picture). What went on the line
# is read from the window's own recording. Run by test-windows.sh on a
# virtual display, in its Wine prefix.
#
# What the window shows is read from its pictures (windows-window-look.py):
# the lists' whole grid, whole labels and headers and the counters' masks,
# at 96 dots per inch and at 144; the tab strip after a language switch is
# the strip of a fresh start in that language; the port list shows the port
# in use, and one pick of a port opens it once; and a start-up that fails
# shows its box until OK is pressed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
# shellcheck source=scripts/wine-window.sh
source scripts/wine-window.sh

# Wine's programs of this display end before the display does; the prefix
# keeps 96 dots per inch for whatever runs next.
trap 'wine_window_stop; wine_window_dpi 96 || true; "$wineserver_program" -k 2>/dev/null || true' EXIT
wine_window_dpi 96

# Layout pixels at the prefix's dots per inch, as the window scales them.
scale() { echo $((($1 * dpi + 48) / 96)); }
look() { python3 scripts/windows-window-look.py "$@"; }
shot() { import -window "$wine_window" "$folder/$1"; }
# A picture of a window at rest, once two in a row agree: its controls are
# painted one after the other.
shot_painted() {
    local before="" now
    shot "$1"
    now=$(convert "$folder/$1" -depth 8 rgb:- | md5sum)
    until [ "$now" = "$before" ]; do
        before=$now
        sleep 0.2
        shot "$1"
        now=$(convert "$folder/$1" -depth 8 rgb:- | md5sum)
    done
}
fail() {
    echo "$*" >&2
    exit 1
}

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
# The ports the window opened, one line each.
ports_opened() { grep -c '^port ' "$recording" || true; }
more_ports_than() { [ "$(ports_opened)" -gt "$1" ]; }

# Waits until the window has handled every event before now: F2 turns the
# page (the window is idle) and F1 turns it back.
settled_window() {
    local strip
    strip=$(wine_window_tabs)
    xdotool key F2
    wait_until 30 "the second page" wine_window_tabs_differ "$strip"
    xdotool key F1
    wait_until 30 "the first page again" wine_window_tabs_are "$strip"
}

# The page F4 shows, before any read: every label whole, every counter box
# showing the mask.
check_information_page() {
    local strip picture=$1
    strip=$(wine_window_tabs)
    xdotool key F4
    wait_until 30 "the ECU information page" wine_window_tabs_differ "$strip"
    shot_painted "$picture"
    look labels "$folder/$picture" "$dpi"
    look counters "$folder/$picture" "$dpi"
    xdotool key F1
    wait_until 30 "the first page again" wine_window_tabs_are "$strip"
}

echo "== 96 dots per inch, started in Russian =="
wine_window_start "$folder" --record "$(winepath_of "$top/$recording")"
geometry=$(xwininfo -id "$wine_window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
echo "window $wine_window, client area $geometry"
[ "$geometry" = 592x455 ]
fresh_russian=$(wine_window_tabs_painted)
check_information_page info-ru.png
shot_painted first-ru.png
look headers "$folder/first-ru.png" "$dpi"
look grid "$folder/first-ru.png" "$dpi"

echo "the port list: Up and Escape keep the port in use, a pick opens a port once"
read -r origin_x origin_y < <(xwininfo -id "$wine_window" |
    awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
# The port list's box, and the entry chosen in its open list (the list's
# own window, below the box): its first and last row on the screen.
port_box() {
    import -window "$wine_window" png:- |
        convert - -crop "$(scale 81)x$(scale 21)+0+$(scale 2)" +repage -depth 8 rgb:- | md5sum
}
chosen_entry() {
    import -window root "$folder/screen.png"
    look highlight "$folder/screen.png" "$origin_x" $((origin_y + $(scale 24))) "$(scale 81)" \
        "$(scale 200)"
}
list_open() { [ -n "$(chosen_entry)" ]; }
list_closed() { [ -z "$(chosen_entry)" ]; }
# Tries again what a click did not do: the first click after some others
# may be taken as the window's activation alone.
list_shows() {
    local _
    for _ in $(seq 15); do
        "$1" && return 0
        sleep 0.2
    done
    return 1
}
open_port_list() {
    local _
    for _ in $(seq 5); do
        xdotool mousemove --window "$wine_window" "$(scale 40)" "$(scale 12)" click 1
        list_shows list_open && return 0
    done
    fail "the port list does not open"
}
# Clicks the entry above (-1) or below (1) the chosen one.
pick_port() {
    local first last _
    read -r first last < <(chosen_entry)
    for _ in $(seq 5); do
        xdotool mousemove --window "$wine_window" "$(scale 40)" \
            $(((first + last) / 2 + $1 * (last - first + 1) - origin_y)) click 1
        list_shows list_closed && return 0
    done
    fail "a click on the port list's entry picks nothing"
}
opened=$(ports_opened)
open_port_list
xdotool key Escape
wait_until 30 "the port list to close" list_closed
port_in_use=$(port_box)  # as the box shows it with the focus
open_port_list
xdotool key Up Escape
wait_until 30 "the port list to close" list_closed
settled_window
[ "$(port_box)" = "$port_in_use" ] || {
    shot port-escaped.png
    fail "after Up and Escape the port list shows another port than the one in use"
}
[ "$(ports_opened)" -eq "$opened" ] || fail "Up and Escape opened a port"
for direction in -1 1; do
    open_port_list
    pick_port "$direction"
    wait_until 30 "the picked port opened" more_ports_than "$opened"
    settled_window
    opened=$((opened + 1))
    [ "$(ports_opened)" -eq "$opened" ] || fail "one pick opened $(($(ports_opened) - opened + 1)) ports"
done
# Back on the port of the ECU, as the box shows.
[ "$(port_box)" = "$port_in_use" ]

echo "F5: the first set"
selections_before=$(count "09 85")
xdotool key F5
wait_until 60 "sixteen selections and three live blocks" sent 3 "09 84 00 00 0F 9C"
# Slots 0 to 15 in order, once, before the first block.
slots=$(requests | sed -n '/^09 84/q; s/^09 85 \(..\) .*/\1/p' | tr '\n' ' ')
[ "$slots" = "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F " ] ||
    fail "selections before the first block: $slots"
[ "$(count "09 85")" -eq $((selections_before + 16)) ]
shot polling.png
colours=$(convert "$folder/polling.png" -crop 80x300+410+70 -unique-colors txt:- | grep -o '#[0-9A-F]\{6\}')
grep -q '#00FF00' <<<"$colours" && grep -q '#000000' <<<"$colours" ||
    fail "no lime on black in the Value column"
# Values written cell by cell keep the grid whole.
look grid "$folder/polling.png" "$dpi"

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
[ "$read_of_page" = "09 80 00 09 81 00 09 82 01 09 82 0A 09 90 00 " ] ||
    fail "the ECU information page sent: $read_of_page"

echo "F9: a report of the ECU into reports/, polling going on under its box"
report_box() {
    box=$(xdotool search --onlyvisible --name '^Отчёт о диагностике ЭБУ$' 2>/dev/null |
        head -n 1 || true)
    [ -n "$box" ]
}
no_report_box() { ! report_box; }
xdotool key F9
wait_until 60 "the report's box" report_box
reports=("$folder"/reports/*.html)
[ "${#reports[@]}" -eq 1 ] && [ -f "${reports[0]}" ] || fail "F9 wrote ${#reports[@]} reports"
report=${reports[0]}
grep -q '<td class="vin">X9L21230060123456</td>' "$report" || fail "$report: not the ECU's VIN"
grep -q 'Количество ошибок: 3' "$report" || fail "$report: not the ECU's three errors"
# Debian's own interpreter, which the package python3-html5lib serves.
/usr/bin/python3 - "$report" <<'PY'
import html5lib, sys
html5lib.HTMLParser(strict=True).parse(open(sys.argv[1], "rb").read())
PY
before=$(requests | wc -l)
more_requests() { [ "$(requests | wc -l)" -gt $((before + 10)) ]; }
wait_until 30 "ticks while the box is open" more_requests
# Return on the box once it takes keys (its first click may only bring it forward).
close_report_box() {
    xdotool mousemove --window "$box" 20 20 click 1 key Return 2>/dev/null || true
    sleep 0.5
    no_report_box
}
wait_until 30 "OK to close the report's box" close_report_box
xdotool mousemove --window "$wine_window" 300 300 click 1

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

# The 220 ms count from the end of a tick: from the end of each block's reply
# to the next tick's first request, a selection or a block (F8's clear request
# comes between ticks). A loaded machine only makes the gaps longer.
read -r gaps shortest < <(awk '/ < read 32 / {reply = $1; next}
    reply != "" && / > 09 8[45] / {gap = $1 - reply; reply = ""; n++; if (min == "" || gap < min) min = gap}
    END {print n + 0, min + 0}' "$recording")
echo "$gaps gaps between ticks, the shortest $shortest us"
[ "$gaps" -ge 5 ] || fail "only $gaps gaps between ticks on the line"
[ "$shortest" -ge 219000 ] || fail "a tick came $shortest us after the end of the one before"

echo "the language button: the tab strip of English, then close"
russian_page=$(wine_window_tabs_painted)
xdotool mousemove --window "$wine_window" 326 13 click 1
wait_until 30 "the English captions" wine_window_tabs_differ "$russian_page"
english_page=$(wine_window_tabs_painted)
xdotool key F1
wait_until 30 "the first page" wine_window_tabs_differ "$english_page"
switched_english=$(wine_window_tabs_painted)
shot_painted switched-en.png
# Page changes paint the strip anew, tab by tab.
settled_window
turned_english=$(wine_window_tabs_painted)
wine_window_close
# Only the Language line changed.
diff <(sed 's/^Language=RU/Language=EN/' data/database.ini) "$folder/database.ini"
grep -q '^Language=EN' "$folder/database.ini"
echo "the window on Windows: $(requests | wc -l) requests, closed with 0, Language=EN written back"

echo "== 96 dots per inch, started in English =="
wine_window_start "$folder"
fresh_english=$(wine_window_tabs_painted)
shot_painted fresh-en.png
[ "$switched_english" = "$fresh_english" ] && [ "$turned_english" = "$fresh_english" ] ||
    fail "the tab strip after Russian -> English is not the one of an English start" \
        "(pictures: $folder/switched-en.png, $folder/fresh-en.png)"
look headers "$folder/fresh-en.png" "$dpi"
check_information_page info-en.png
xdotool mousemove --window "$wine_window" 326 13 click 1
wait_until 30 "the Russian captions" wine_window_tabs_differ "$fresh_english"
wait_until 30 "the tab strip of a Russian start" wine_window_tabs_are "$fresh_russian"
shot_painted switched-ru.png
look headers "$folder/switched-ru.png" "$dpi"
wine_window_close
cmp data/database.ini "$folder/database.ini"

echo "== 144 dots per inch, started in Russian =="
wine_window_dpi 144
rm -f "$recording"
wine_window_start "$folder" --record "$(winepath_of "$top/$recording")"
geometry=$(xwininfo -id "$wine_window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$geometry" = "$(scale 592)x$(scale 455)" ] || fail "client area $geometry at $dpi dots per inch"
check_information_page info-ru-144.png
shot_painted first-ru-144.png
look headers "$folder/first-ru-144.png" "$dpi"
look grid "$folder/first-ru-144.png" "$dpi"
xdotool key F5
wait_until 60 "three live blocks" sent 3 "09 84 00 00 0F 9C"
shot polling-144.png
look grid "$folder/polling-144.png" "$dpi"
wine_window_close
wine_window_dpi 96

echo "== --open-log: the log of F6 in the viewer alone, a click puts the cursor =="
main_title=$wine_window_title
wine_window_title='^(Журнал|Log) - .*_set1\.csv$'
wine_window_launch "$folder" --open-log "$(winepath_of "$top/$log")"
wait_until 120 "the log viewer" wine_window_found
xdotool mousemove --window "$wine_window" 500 200 click 1
shot_painted viewer.png
# The curve of NMOT, lime, and the cursor across the plot's black, white.
viewer_colours=$(convert "$folder/viewer.png" -crop 300x250+300+100 -unique-colors txt:- |
    grep -o '#[0-9A-F]\{6\}')
grep -q '#00FF00' <<<"$viewer_colours" || fail "no curve in the log viewer"
grep -q '#FFFFFF' <<<"$viewer_colours" || fail "no cursor in the log viewer"
wine_window_close || fail "the log viewer ended with $?"
wine_window_title=$main_title

echo "== a start-up that fails shows its box until OK =="
error_box() {
    box=$(xdotool search --onlyvisible --name '^Error$' 2>/dev/null | head -n 1 || true)
    [ -n "$box" ]
}
box_painted() {
    import -window "$box" "$folder/box.png" 2>/dev/null && look box "$folder/box.png" >/dev/null
}
program_ended() { ! kill -0 "$wine_window_pid" 2>/dev/null; }
# Return, on the box once it takes keys (its first click may only bring it forward).
press_ok() {
    xdotool mousemove --window "$box" 20 20 click 1 key Return 2>/dev/null || true
    sleep 0.5
    program_ended
}
failing=build/windows/window-test-failing
rm -rf "$failing"
mkdir -p "$failing"
cp data/database.ini "$failing/database.ini"
echo "an earlier recording" >"$failing/existing.rec"
mkdir -p "$failing/address"
sed '0,/^Address=/s/^Address=.*/Address=0x10\r/' data/database.ini >"$failing/address/database.ini"
while IFS='|' read -r where arguments; do
    echo "${arguments:-an Address of 0x10}"
    # shellcheck disable=SC2086 # the case's arguments, split as words
    wine_window_launch "$failing/$where" $arguments
    wait_until 120 "the Error box" error_box
    wait_until 30 "the box painted" box_painted
    # Still there, its program waiting, seconds later.
    sleep 3
    error_box && ! program_ended || fail "the box closed by itself"
    wait_until 60 "OK to end the program" press_ok
    status=0
    wait "$wine_window_pid" || status=$?
    wine_window_pid=""
    [ "$status" -eq 1 ] || fail "the program ended with $status"
done <<'CASES'
.|--record existing.rec
.|--record database.ini
.|--record COM1
.|--record NUL
address|
CASES
