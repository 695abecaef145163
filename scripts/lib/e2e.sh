# End-to-end helpers, sourced by the tests under tests/e2e: a virtual display
# of a given size, the saver run under wine64 on it, screenshots, injected
# input and the exit code. Every process started here is ended by its PID.
#
#   e2e_start_display 800x600     Xvfb on a free display; sets DISPLAY
#   e2e_run SCR ARGS...           starts the saver; sets E2E_PID
#   e2e_wine PROGRAM ARGS...      runs another Windows program to its end
#   e2e_wait_for CMD... [timeout] retries CMD until it succeeds (E2E_TIMEOUT s)
#   e2e_screenshot FILE           the whole display as PNG
#   e2e_max_level FILE            the brightest channel value in a picture, 0..255
#   e2e_colours FILE X,Y ...      "r,g,b" of each point, one line each
#   e2e_key KEY, e2e_click BUTTON, e2e_move X Y    input through xdotool
#   e2e_wait_exit SECONDS         waits for the saver; sets E2E_EXIT (124: still running)
#   e2e_alive                     true while the saver runs
#   e2e_cleanup                   ends what is still running (also on exit)

: "${WINE:=/usr/lib/wine/wine64}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINESERVER="${WINESERVER:-/usr/lib/wine/wineserver64}"
: "${E2E_TIMEOUT:=20}"

E2E_XVFB_PID=""
E2E_PID=""
E2E_EXIT=""

e2e_log() { echo "e2e: $*" >&2; }

e2e_fail() {
    e2e_log "FAIL: $*"
    exit 1
}

e2e_start_display() {
    local size=$1 n
    for n in $(seq 140 199); do
        [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ] || break
    done
    # A white root shows whatever the saver fails to cover.
    Xvfb ":$n" -screen 0 "${size}x24" -wr -nolisten tcp >/dev/null 2>&1 &
    E2E_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && break
        kill -0 "$E2E_XVFB_PID" 2>/dev/null || e2e_fail "Xvfb did not start on :$n"
        sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 || e2e_fail "display :$n did not come up"
    # Wine keeps the screen layout of the display it first ran on: start a
    # fresh wineserver for this display.
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true
    source "$(dirname "${BASH_SOURCE[0]}")/wineprefix.sh"
    prepare_wine_prefix
    e2e_log "display $DISPLAY ($size)"
}

e2e_run() {
    "$WINE" "$@" >/dev/null 2>&1 &
    E2E_PID=$!
    E2E_EXIT=""
    e2e_log "started $* (pid $E2E_PID)"
}

e2e_wine() {
    # Windows console output ends its lines with CR LF.
    "$WINE" "$@" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

e2e_alive() {
    [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null
}

e2e_wait_for() {
    local deadline=$((SECONDS + E2E_TIMEOUT))
    while ! "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}

e2e_wait_exit() {
    local seconds=$1 deadline
    deadline=$((SECONDS + seconds))
    while e2e_alive; do
        if [ $SECONDS -ge $deadline ]; then
            E2E_EXIT=124
            return 1
        fi
        sleep 0.1
    done
    wait "$E2E_PID"
    E2E_EXIT=$?
    E2E_PID=""
    return 0
}

e2e_screenshot() {
    import -window root "$1"
}

e2e_max_level() {
    convert "$1" -format '%[fx:int(255*maxima)]' info:
}

e2e_colours() {
    local file=$1 format="" point
    shift
    for point in "$@"; do
        format+="%[fx:int(255*p{$point}.r+0.5)],%[fx:int(255*p{$point}.g+0.5)],%[fx:int(255*p{$point}.b+0.5)]\n"
    done
    convert "$file" -format "$format" info:
}

e2e_key() { xdotool key "$1"; }
e2e_click() { xdotool click "$1"; }
e2e_move() { xdotool mousemove "$1" "$2"; }

e2e_cleanup() {
    if e2e_alive; then
        kill "$E2E_PID" 2>/dev/null
        wait "$E2E_PID" 2>/dev/null
    fi
    E2E_PID=""
    if [ -n "$E2E_XVFB_PID" ]; then
        "$WINESERVER" -k 2>/dev/null || true
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
        E2E_XVFB_PID=""
    fi
}

trap e2e_cleanup EXIT
