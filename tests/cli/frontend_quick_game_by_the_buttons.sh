#!/bin/sh
# A quick game started from the menus by the buttons alone: the intros skipped and the title left
# with A, Quick Play opened with A (the first entry), the d-pad walked right past the first slot's
# kind to Start, A pressed, and the question "Start this game?" answered by marking "Yes" with left
# and taking it with A. The game then shows its lane.
#   frontend_quick_game_by_the_buttons.sh ZENDROLYX SHOT_CHECK
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
rm -rf menu-buttons-game && mkdir -p menu-buttons-game/shots menu-buttons-game/data
cp cli-data/savegame.bin menu-buttons-game/data/savegame.bin
printf '5 A\n6\n20 A\n21\n480 A\n482\n560 A\n562\n620 RIGHT\n622\n640 RIGHT\n642\n660 A\n662\n720 LEFT\n722\n740 A\n742\n' \
    > menu-buttons-game/input.txt
"$game" --headless --frames 1000 --data menu-buttons-game/data --input menu-buttons-game/input.txt \
    --screenshot 715,990 --out menu-buttons-game/shots > /dev/null
shots=menu-buttons-game/shots
# Still the menus under the question, then the game on the lane.
shot_lacks "$check" $shots/frame00715-upper-left.png lane:200,200,10,60
"$check" $shots/frame00990-upper-left.png lane:200,200,10,60
