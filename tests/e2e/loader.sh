#!/usr/bin/env bash
# The real saver with a show appended by the show writer: the configuration
# mode finds the HEAD block and shows its dialog, centred with the title as
# caption, which Escape leaves open and Enter closes; the
# full-screen mode loads the show and runs until closed. Exit code 1 in both.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/e2e.sh"
scr=$1
testctl=$2
makeshow=$3
work=$(mktemp -d)
show="$work/with-show.scr"

e2e_start_display 800x600
e2e_wine "$makeshow" "$scr" "$show" "Loader test" || e2e_fail "could not write the show"

e2e_run "$show" /c
e2e_wait_for e2e_wine "$testctl" info '#32770' || e2e_fail "/c showed no dialog"
caption=$(e2e_wine "$testctl" caption '#32770')
[ "$caption" = "Loader test" ] || e2e_fail "/c dialog caption '$caption'"
read -r left top right bottom _ <<<"$(e2e_wine "$testctl" info '#32770')"
[ "$left" = $(((800 - (right - left)) / 2)) ] || e2e_fail "/c dialog not centred ($left $top $right $bottom)"
e2e_key Escape
sleep 1
e2e_alive || e2e_fail "Escape closed the dialog"
e2e_key Return
e2e_wait_exit 20 || e2e_fail "/c still running after Enter"
[ "$E2E_EXIT" = 1 ] || e2e_fail "/c ended with $E2E_EXIT, not 1"

# Without a show the configuration mode shows nothing at all.
e2e_run "$scr" /c
e2e_wait_exit 20 || e2e_fail "/c without a show still running"
[ "$E2E_EXIT" = 1 ] || e2e_fail "/c without a show ended with $E2E_EXIT"

e2e_run "$show" /s
e2e_wait_for e2e_wine "$testctl" info WindowsScreenSaverClass || e2e_fail "/s showed no saver window"
sleep 1
e2e_alive || e2e_fail "/s with a show ended by itself"
e2e_wine "$testctl" close WindowsScreenSaverClass || e2e_fail "could not close the saver window"
e2e_wait_exit 20 || e2e_fail "/s still running after its window was closed"
[ "$E2E_EXIT" = 1 ] || e2e_fail "/s ended with $E2E_EXIT, not 1"
rm -rf "$work"
e2e_log "loader: ok"
