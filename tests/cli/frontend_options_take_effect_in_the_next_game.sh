#!/bin/sh
# The options chosen in the menus hold in the next game and are kept: "Buttons" chosen on the
# options screen and Back saves them, and the quick game started after it sets up the person's
# throw with the buttons (the power meter's gold knob); without the change the game keeps the
# stylus (its blue slider).
#   frontend_options_take_effect_in_the_next_game.sh ZENDROLYX SHOT_CHECK
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
rm -rf menu-options && mkdir -p menu-options/touch menu-options/buttons menu-options/data
# $1 the run, $2 the input; the game's steps go to its set-up (B, then A) 60 and 80 frames after
# the game's first frame.
run() {
    cp cli-data/savegame.bin menu-options/data/savegame.bin
    "$game" --headless --frames $3 --data menu-options/data --input "$2" --screenshot $4 --out menu-options/$1 > /dev/null
}
intro='5 A\n6\n20 A\n21\n150 touch 160 120\n165\n'
# Quick Play for one bowler, Start, "Yes"; the game's first frame is drawn 8 frames after "Yes".
printf "$intro"'200 touch 80 67\n225\n250 touch 186 194\n275\n300 touch 281 72\n325\n350 touch 100 120\n375\n418 B\n420\n438 A\n440\n' \
    > menu-options/touch.txt
run touch menu-options/touch.txt 500 478
# Options: Music one step down, Buttons, Back (which saves: the menu is back by 550); then the same.
printf "$intro"'200 touch 240 96\n225\n230 touch 134 58\n245\n250 touch 158 178\n275\n300 touch 42 222\n325\n' \
    > menu-options/buttons.txt
printf '550 touch 80 67\n575\n600 touch 186 194\n625\n650 touch 281 72\n675\n700 touch 100 120\n725\n768 B\n770\n788 A\n790\n' \
    >> menu-options/buttons.txt
run buttons menu-options/buttons.txt 850 545,828
"$check" menu-options/touch/frame00478-lower.png blue:212,155,6,20
"$check" menu-options/buttons/frame00828-lower.png warm:212,155,6,20
# The options were saved on leaving their screen, before any game.
"$check" menu-options/buttons/frame00545-lower.png warm:160,16,40,40 blue:82,120,20,100
refute cmp -s cli-data/savegame.bin menu-options/data/savegame.bin
