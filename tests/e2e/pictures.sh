#!/usr/bin/env bash
# A show of three pictures plays: red centred, green top-left and blue
# top-right, 160 x 120 each, each appearing and leaving with "None". Every
# screenshot shows the background with at most one of them, each at its
# place, and each of them is seen.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/e2e.sh"
scr=$1
testctl=$2
makeshow=$3
shots=${E2E_OUT:-$(mktemp -d)}/pictures
mkdir -p "$shots"
work=$(mktemp -d)
show="$work/pictures.scr"

e2e_start_display 800x600
e2e_wine "$makeshow" "$scr" "$show" "Pictures" 3 2 || e2e_fail "could not write the show"
e2e_run "$show" /s
e2e_wait_for e2e_wine "$testctl" info WindowsScreenSaverClass || e2e_fail "no saver window"

background="16,32,64"
names=(red green blue)
colours=("255,0,0" "0,255,0" "0,0,255")
# Inside each picture: its centre and two corners; just outside it.
inside=("400,300 321,241 478,358" "80,60 1,1 158,118" "718,60 639,1 796,118")
outside=("481,300" "161,60" "636,60")
# Never covered by any picture.
free="400,500 10,590 790,590 560,200"

seen=(0 0 0)
for i in $(seq 1 30); do
    sleep 0.4
    shot="$shots/shot-$i.png"
    e2e_screenshot "$shot"
    e2e_alive || e2e_fail "the saver ended"
    for point in $free; do
        [ "$(e2e_colours "$shot" "$point")" = "$background" ] || e2e_fail "$shot: background wrong at $point"
    done
    visible=0
    for k in 0 1 2; do
        read -r -a points <<<"${inside[$k]}"
        mapfile -t got < <(e2e_colours "$shot" "${points[@]}" "${outside[$k]}")
        if [ "${got[0]}" = "${colours[$k]}" ]; then
            for n in 1 2; do
                [ "${got[$n]}" = "${colours[$k]}" ] || e2e_fail "$shot: ${names[$k]} picture incomplete at ${points[$n]}"
            done
            [ "${got[3]}" = "$background" ] || e2e_fail "$shot: ${names[$k]} picture spills over at ${outside[$k]}"
            seen[$k]=1
            visible=$((visible + 1))
        elif [ "${got[0]}" != "$background" ]; then
            e2e_fail "$shot: neither ${names[$k]} nor background at ${points[0]} (${got[0]})"
        fi
    done
    [ $visible -le 1 ] || e2e_fail "$shot: $visible pictures at once"
done
[ "${seen[*]}" = "1 1 1" ] || e2e_fail "not every picture was seen (red green blue: ${seen[*]})"

e2e_wine "$testctl" close WindowsScreenSaverClass
e2e_wait_exit 20 || e2e_fail "still running after close"
[ "$E2E_EXIT" = 1 ] || e2e_fail "ended with $E2E_EXIT, not 1"
rm -rf "$work"
e2e_log "pictures: ok"
