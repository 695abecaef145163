#!/usr/bin/env bash
# The run modes of the real saver under wine64: switches that select nothing
# end at once, and the full-screen mode without a show keeps a black topmost
# window over the whole screen until it is closed. Exit code 1 in every case.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/e2e.sh"
scr=$1
testctl=$2
shots=${E2E_OUT:-$(mktemp -d)}/runmodes
mkdir -p "$shots"

e2e_start_display 800x600

for args in "/x" ""; do
    e2e_run "$scr" $args
    e2e_wait_exit 20 || e2e_fail "'$args' still running"
    [ "$E2E_EXIT" = 1 ] || e2e_fail "'$args' ended with $E2E_EXIT, not 1"
    [ "$(e2e_wine "$testctl" info WindowsScreenSaverClass)" = none ] || e2e_fail "'$args' left a saver window"
done

e2e_run "$scr" /s
e2e_wait_for e2e_wine "$testctl" info WindowsScreenSaverClass || e2e_fail "/s showed no saver window"
read -r left top right bottom exstyle style <<<"$(e2e_wine "$testctl" info WindowsScreenSaverClass)"
[ "$left $top $right $bottom" = "0 0 800 600" ] || e2e_fail "/s window at $left $top $right $bottom"
(( 0x$exstyle & 0x8 )) || e2e_fail "/s window not topmost (exstyle $exstyle)"
(( (0x$style & 0x90000000) == 0x90000000 )) || e2e_fail "/s window not a visible popup (style $style)"

# No show is appended: the window stays black and nothing starts.
sleep 1
e2e_screenshot "$shots/no-show.png"
level=$(e2e_max_level "$shots/no-show.png")
[ "$level" = 0 ] || e2e_fail "/s screen not black (brightest level $level, $shots/no-show.png)"
e2e_alive || e2e_fail "/s ended by itself"

e2e_wine "$testctl" close WindowsScreenSaverClass || e2e_fail "could not close the saver window"
e2e_wait_exit 20 || e2e_fail "/s still running after its window was closed"
[ "$E2E_EXIT" = 1 ] || e2e_fail "/s ended with $E2E_EXIT, not 1"
e2e_log "run modes: ok"
