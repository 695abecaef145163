#!/usr/bin/env bash
# User input ends a running show with exit code 1: a key press, a mouse
# button, a mouse move after the first; a move to the same place does not.
# A show whose blocks all move on at once still ends soon after a key.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/e2e.sh"
scr=$1
testctl=$2
makeshow=$3
work=$(mktemp -d)
pictures="$work/pictures.scr"
empty="$work/empty.scr"

e2e_start_display 800x600
e2e_wine "$makeshow" "$scr" "$pictures" "Input" 3 1 || e2e_fail "could not write the show"
e2e_wine "$makeshow" "$scr" "$empty" "Nothing holds" 0 || e2e_fail "could not write the empty show"

# Starts SHOW and waits until its window is up and the first move is taken.
start() {
    e2e_move 400 300
    e2e_run "$1" /s
    e2e_wait_for e2e_wine "$testctl" info WindowsScreenSaverClass || e2e_fail "no saver window for $1"
    sleep 1
    e2e_alive || e2e_fail "the saver ended by itself"
}

ends_within() {  # ends_within SECONDS WHAT
    e2e_wait_exit "$1" || e2e_fail "$2 did not end the saver within $1 s"
    [ "$E2E_EXIT" = 1 ] || e2e_fail "$2: exit code $E2E_EXIT, not 1"
    e2e_log "$2 ends the saver"
}

start "$pictures"
e2e_key space
ends_within 5 "a key press"

start "$pictures"
e2e_click 1
ends_within 5 "a mouse button"

start "$pictures"
e2e_move 400 300
sleep 2
e2e_alive || e2e_fail "a move to the same place ended the saver"
e2e_move 300 200
e2e_move 310 210
ends_within 5 "a mouse move after the first"

start "$empty"
e2e_key Return
ends_within 1 "a key press on a show that never holds"
rm -rf "$work"
e2e_log "input: ok"
