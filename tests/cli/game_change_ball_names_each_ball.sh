#!/bin/sh
# CHANGE BALL (Y) on a person's set-up menu steps through the bowler's three balls (quick play's
# default set: the 15 lb reactive, urethane and plastic balls): the BOWL button names each ball
# and its weight and shows each in its own picture, every screen drawn whole (the layout check).
#   game_change_ball_names_each_ball.sh ZENDROLYX LAYOUT_CHECK
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
rm -rf change-ball && mkdir -p change-ball/data
cp cli-data/savegame.bin change-ball/data/
printf '500 B\n502\n540 Y\n542\n580 Y\n582\n620 Y\n622\n' > change-ball/input.txt
"$game" --headless --launch quick --players 1 --humans 1 --controls buttons --frames 660 --data change-ball/data \
    --input change-ball/input.txt --screenshot 530,570,610,650 --out change-ball --layout-out > /dev/null
shot() { printf 'change-ball/frame%05d' $1; }
# name FRAME TEXT: the shot shows the line, and the screen is drawn whole and readable (the bowler's
# name plate reaches above the upper screen, a known fault of the heads-up display).
name() {
    grep -qF -- "$2" $(shot $1)-lines.txt || fail "frame $1 shows no line '$2'"
    "$check" $(shot $1)-lines.txt --except "'Ada Player' (upper-" $(shot $1)-upper-left.png $(shot $1)-lower.png > /dev/null ||
        fail "frame $1: the layout check failed"
}
name 530 "Reactive 15 lb"
name 570 "Urethane 15 lb"
name 610 "Plastic 15 lb"
name 650 "Reactive 15 lb"
# Each ball its own picture on both screens; the fourth press comes back to the first ball.
for a in 530 570 610; do
    for b in 530 570 610; do
        [ $a -lt $b ] || continue
        refute cmp -s $(shot $a)-lower.png $(shot $b)-lower.png
        refute cmp -s $(shot $a)-upper-left.png $(shot $b)-upper-left.png
    done
done
cmp $(shot 530)-lower.png $(shot 650)-lower.png
