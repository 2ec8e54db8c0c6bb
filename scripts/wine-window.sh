# Sourced by the scripts that run the Windows window (not run on its own): it
# starts vmxdiag.exe under Wine on the X display in $DISPLAY, in the prefix of
# wine-line.sh, and drives it as a user would.
#
#   wine_window_start FOLDER [ARGS...]   starts the window in FOLDER and waits
#                                        for it: $wine_window is its X window
#   wine_window_recorded FOLDER NAME     wine_window_start recording the line into
#                                        FOLDER/NAME, a new file: $recording
#   sent N FRAME                         N frames that start with FRAME (hex, as
#                                        the recording has them) went out
#   wine_window_launch FOLDER [ARGS...]  starts the program in FOLDER, no more
#                                        ($wine_window_program, the build's unless set)
#   wine_window_close                    closes it as the window manager's close
#                                        button would; its exit status
#   wine_window_stop                     ends it whatever its state
#   wait_until SECONDS WHAT COMMAND...   runs COMMAND until it succeeds
#   wine_window_dpi DPI                  the dots per inch of the prefix's display,
#                                        for the programs started next; in $dpi
#
# Needs $top, xdotool and python3; brings wine-line.sh along.

# shellcheck source=scripts/wine-line.sh
[ -n "${wine_line_runtime:-}" ] || source "$top/scripts/wine-line.sh"

wine_window=""
wine_window_pid=""
wine_window_title="Diag VMX-4410"

wait_until() {
    local seconds=$1 what=$2
    shift 2
    local end=$((SECONDS + seconds))
    until "$@"; do
        if ((SECONDS >= end)); then
            echo "waited $seconds s in vain for: $what" >&2
            return 1
        fi
        sleep 0.2
    done
}

wine_window_dpi() {
    dpi=$1
    vwine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        >/dev/null 2>&1
}

# The window is there and shown (it has its title before it is shown).
wine_window_found() {
    wine_window=$(xdotool search --onlyvisible --name "$wine_window_title" 2>/dev/null |
        head -n 1 || true)
    [ -n "$wine_window" ] && xwininfo -id "$wine_window" | grep -q 'Map State: IsViewable'
}

wine_window_launch() {
    local folder=$1
    shift
    # Wine's desktop process serves the display it was started with: a server
    # started without one (for the command-line tests) is ended, and the
    # window's start brings a new one up on this display.
    "$wineserver_program" -k 2>/dev/null || true
    "$wineserver_program" -w 2>/dev/null || true
    wine_line_server
    (cd "$folder" && exec "$wine_program" "${wine_window_program:-$top/build/windows/vmxdiag.exe}" "$@") &
    wine_window_pid=$!
}

wine_window_start() {
    local folder=$1
    wine_window_launch "$@"
    # The window shows once the ports were probed; the first start of Wine's
    # graphics in a prefix takes a while.
    wait_until 120 "the window to show" wine_window_found || {
        # What shows instead (a message box, say), for whoever looks into it.
        import -window root "$folder/no-window.png" 2>/dev/null || true
        echo "windows on the display:" $(xdotool search --name . getwindowname %@ 2>/dev/null) >&2
        return 1
    }
    # The keys go to the window under the pointer, as there is no window
    # manager, once Wine has taken the pointer's arrival as an activation.
    xdotool mousemove --window "$wine_window" 300 300 click 1
    wine_window_takes_keys
}

# The tab strip, as a sum of its pixels' values (not of a text of them, whose
# colour space follows the colours elsewhere in the window).
wine_window_tabs() {
    import -window "$wine_window" png:- | convert - -crop 592x25+0+29 +repage -depth 8 rgb:- |
        md5sum
}

# The tab strip once two pictures in a row agree, as painting ended.
wine_window_tabs_painted() {
    local before now
    now=$(wine_window_tabs)
    until [ "$now" = "${before:-}" ]; do
        before=$now
        sleep 0.2
        now=$(wine_window_tabs)
    done
    echo "$now"
}

wine_window_tabs_differ() { [ "$(wine_window_tabs)" != "$1" ]; }
wine_window_tabs_are() { [ "$(wine_window_tabs)" = "$1" ]; }

# Waits until a key reaches the window: F2 (pressed again until the second
# page shows, which it does only once) and F1 back to the first page. Both
# only turn the page while the window is idle.
wine_window_takes_keys() {
    local first
    first=$(wine_window_tabs)
    press_f2() {
        xdotool key F2
        sleep 0.3
        wine_window_tabs_differ "$first"
    }
    wait_until 60 "the window to take keys" press_f2
    xdotool key F1
    wait_until 30 "the first page again" wine_window_tabs_are "$first"
}

wine_window_close() {
    python3 "$top/scripts/x-close-window.py" "$wine_window"
    local status=0
    wait "$wine_window_pid" || status=$?
    wine_window_pid=""
    return $status
}

wine_window_stop() {
    [ -n "$wine_window_pid" ] || return 0
    kill "$wine_window_pid" 2>/dev/null || true
    wait "$wine_window_pid" 2>/dev/null || true
    wine_window_pid=""
}

wine_window_recorded() {
    recording="$1/$2"
    rm -f "$recording"
    wine_window_start "$1" --record "$(winepath_of "$recording")"
}

sent() { [ "$(grep -c " > $2" "$recording" 2>/dev/null || true)" -ge "$1" ]; }
