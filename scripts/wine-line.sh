# Sourced by test-windows.sh and bench-windows.sh (not run on its own): a
# private Wine prefix under build/windows whose COM ports are the
# pseudo-terminals of ECU simulators running natively.
#
#   wine_line_start   boots the prefix, starts the simulators, maps the ports:
#                     COM1 and COM12: the simulator (errors 0, 5 and 17 stored)
#                     COM2: a line that echoes but has no ECU behind it
#                     and leaves the fonts as a fresh prefix has them: no
#                     "Times New Roman" or "MS Sans Serif" (the window picks
#                     their metric twins itself)
#   wine_line_stop    stops every process these functions started (set as the EXIT trap)
#   vwine PROGRAM...  runs a Windows program in the prefix
#
# Needs $top (the repository) and build/release/vmx-ecusim.

wine_program=$(command -v wine64 || true)
[ -n "$wine_program" ] || wine_program=/usr/lib/wine/wine64
wineserver_program=$(command -v wineserver || true)
[ -n "$wineserver_program" ] || wineserver_program=/usr/lib/wine/wineserver

export WINEPREFIX="$top/build/windows/wine"
export WINEDEBUG=-all
# No Mono or Gecko installers: they would ask on a display that is not there.
# No menu entries, icons or file associations of the prefix on the host's
# desktop, and no web pages opened in the host's browser.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d;winebrowser.exe=d"
export WINEARCH=win64

wine_line_runtime="$top/build/windows/line"
wine_line_pids=()

vwine() {
    "$wine_program" "$@"
}

wine_line_stop() {
    local pid
    for pid in "${wine_line_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    wine_line_pids=()
    # Ends the Wine processes of this prefix (ours only) and its server.
    "$wineserver_program" -k 2>/dev/null || true
}

# Starts vmx-ecusim with the given options; the device it serves lands in $1.
wine_line_simulator() {
    local out=$1
    shift
    # Gone first: the file of an earlier run would pass for this one's while
    # the new simulator has yet to empty it.
    rm -f "$out"
    "$top/build/release/vmx-ecusim" "$@" >"$out" &
    wine_line_pids+=($!)
    local _
    for _ in $(seq 100); do
        [ -s "$out" ] && return 0
        sleep 0.05
    done
    echo "the simulator did not start" >&2
    return 1
}

# Starts the prefix's server, which stays until wine_line_stop; what it says
# (a list of its objects when it is stopped) goes to a log file.
wine_line_server() {
    "$wineserver_program" -p >>"$wine_line_runtime/wineserver.log" 2>&1
}

wine_line_start() {
    mkdir -p "$wine_line_runtime"
    # A first boot of the prefix takes a while; later runs reuse it. Its server
    # is stopped below and started again with a log.
    vwine wineboot --init >/dev/null 2>&1

    # shellcheck disable=SC2086 # options of the caller's, split as words
    wine_line_simulator "$wine_line_runtime/ecu" --errors 0,5,17 ${wine_line_ecu_options:-}
    wine_line_simulator "$wine_line_runtime/silent" --silent
    local ecu silent
    ecu=$(head -n1 "$wine_line_runtime/ecu")
    silent=$(head -n1 "$wine_line_runtime/silent")
    # Wine makes its COM ports from these values when its server starts; a link
    # of our own in dosdevices would be replaced by its device scan.
    cat >"$wine_line_runtime/ports.reg" <<REG
REGEDIT4

[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]
"COM1"="$ecu"
"COM2"="$silent"
"COM12"="$ecu"

; Stand-ins that earlier runs gave these fonts, gone.
[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"Times New Roman"=-
"MS Sans Serif"=-

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]
"Times New Roman"=-
"MS Sans Serif"=-
REG
    vwine regedit /S "$(winepath_of "$wine_line_runtime/ports.reg")"
    "$wineserver_program" -k 2>/dev/null || true
    "$wineserver_program" -w 2>/dev/null || true
    wine_line_server
    # The first program starts Wine's services, which stay with the server and
    # keep the output they were given: they get none, so that a pipe of a later
    # program ends with that program.
    vwine reg query 'HKLM\Software\Wine\Ports' >/dev/null 2>&1
    echo "Wine prefix $WINEPREFIX: COM1 and COM12 -> $ecu (simulator), COM2 -> $silent (no ECU)"
}

# The Windows path of a file, through Wine's drive Z: (the root folder).
winepath_of() {
    echo "Z:${1//\//\\}"
}
