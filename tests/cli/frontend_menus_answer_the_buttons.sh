#!/bin/sh
# The menus by the buttons alone: on the main menu the d-pad walks to Options (down, then right)
# and A opens it (its red Back button in the lower left); B goes back to the main menu.
#   frontend_menus_answer_the_buttons.sh ZENDROLYX SHOT_CHECK
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
rm -rf menu-pad && mkdir -p menu-pad/shots menu-pad/data
cp cli-data/savegame.bin menu-pad/data/savegame.bin
printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n220 DOWN\n222\n240 RIGHT\n242\n300 A\n302\n400 B\n402\n' \
    > menu-pad/input.txt
"$game" --headless --frames 700 --data menu-pad/data --input menu-pad/input.txt --screenshot 290,380,690 \
    --out menu-pad/shots > /dev/null
shots=menu-pad/shots
shot_lacks "$check" $shots/frame00290-lower.png warm:40,221,12,40
"$check" $shots/frame00380-lower.png warm:40,221,12,40
shot_lacks "$check" $shots/frame00690-lower.png warm:40,221,12,40
"$check" $shots/frame00690-lower.png warm:160,16,40,40
