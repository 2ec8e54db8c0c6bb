# Sourced by the scripts that picture the Qt window (not run on its own): it
# starts vmxdiag on the X display in $DISPLAY and finds its windows.
#
#   qt_window_start FOLDER   starts the window in FOLDER (ended at exit), waits
#                            until it shows, gives it the focus and presses
#                            Start (F5): $window is its X window
#   find_window NAME         the X window shown with that name (a pattern)
#
# Needs $top, xdotool.

find_window() {
    local name=$1 found=""
    for _ in $(seq 100); do
        found=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1 || true)
        [ -n "$found" ] && break
        kill -0 "$window_pid" 2>/dev/null || { echo "the window ended" >&2; exit 1; }
        sleep 0.1
    done
    [ -n "$found" ] || { echo "no window named $name" >&2; exit 1; }
    echo "$found"
}

qt_window_start() {
    cd "$1"
    # Qt wants a private runtime folder; a virtual display has none.
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
        XDG_RUNTIME_DIR=$(mktemp -d)
        export XDG_RUNTIME_DIR
    fi
    "$top/build/release/app/vmxdiag" &
    window_pid=$!
    trap 'kill $window_pid 2>/dev/null; wait $window_pid 2>/dev/null || true' EXIT
    # The window shows once the ports were probed.
    window=$(find_window "Diag VMX-4410")
    xdotool windowfocus --sync "$window"
    sleep 0.5
    xdotool key F5
}
