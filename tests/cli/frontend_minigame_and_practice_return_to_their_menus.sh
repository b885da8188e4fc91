#!/bin/sh
# The spares challenge for two bowlers and practice started from the menus with the stylus, each
# left from the pause menu ("Quit Game", then "Yes"): the spares challenge returns to the
# Mini-Games page, practice to the practice screen, with its two entries. Poker and pin selection,
# left the same way, come back with the page's frame on the entry played.
#   frontend_minigame_and_practice_return_to_their_menus.sh ZENDROLYX SHOT_CHECK
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
rm -rf menu-return && mkdir -p menu-return/data
cp cli-data/savegame.bin menu-return/data/savegame.bin
# $1 the run's name, $2 the main menu's entry, $3 the entry of the screen it opens, $4 a touch
# before it (lower-screen points).
play() {
    mkdir -p menu-return/$1
    printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n200 touch %s\n225\n240 touch %s\n245\n260 touch %s\n285\n' \
        "$2" "$4" "$3" > menu-return/$1.txt
    printf '600 START\n602\n630 touch 88 123\n633\n660 touch 104 137\n663\n' >> menu-return/$1.txt
    "$game" --headless --frames 900 --data menu-return/data --input menu-return/$1.txt --screenshot 450,890 \
        --out menu-return/$1 > /dev/null
}
# The spares challenge for two bowlers ("+" first); practice (a touch on the heading, nothing).
play spares "238 67" "160 68" "254 194"
play practice "80 95" "160 82" "160 16"
play poker "238 67" "160 152" "254 194"
play pins "80 95" "160 142" "160 16"
# The spares challenge (its leave on the deck below, not another game's sheet) on the lane; practice on its own alley, with no menu on the lower screen.
"$check" menu-return/spares/frame00450-upper-left.png lane:200,200,10,60
"$check" menu-return/spares/frame00450-lower.png lane:160,130,8,40
# (The menu's gold heading stands at the top centre; the game's sheet has its gold bowler's name
# to the right of it, so the window is kept narrow.)
shot_lacks "$check" menu-return/practice/frame00450-lower.png warm:160,16,10,40
"$check" menu-return/practice/frame00450-upper-left.png lit:200,120,40,2000
# Back: the Mini-Games page after the spares challenge (the gold heading, and the gold frame of its
# first entry, which starts at x 60, where the main menu has the text of its first entry), the
# practice screen after practice (the gold heading and its two navy entries, at the middle).
"$check" menu-return/spares/frame00890-lower.png warm:160,16,40,40 warm:62,60,2,5
"$check" menu-return/practice/frame00890-lower.png warm:160,16,40,40 blue:160,82,20,100 blue:160,142,20,100
refute cmp -s menu-return/spares/frame00890-lower.png menu-return/practice/frame00890-lower.png
# Poker's and pin selection's pages, their frames on the third and the second entry.
"$check" menu-return/poker/frame00890-lower.png warm:62,152,2,5
"$check" menu-return/pins/frame00890-lower.png warm:62,142,2,5
