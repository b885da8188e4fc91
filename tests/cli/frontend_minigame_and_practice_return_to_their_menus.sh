#!/bin/sh
# The spares challenge and practice started from the menus with the stylus, each left from the
# pause menu ("Quit Game", then "Yes"): the spares challenge returns to the main menu, practice to
# the practice screen, with its two entries.
#   frontend_minigame_and_practice_return_to_their_menus.sh ZENDROLYX SHOT_CHECK
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
rm -rf menu-return && mkdir -p menu-return/data
cp cli-data/savegame.bin menu-return/data/savegame.bin
# $1 the run's name, $2 the main menu's entry, $3 the entry of the screen it opens (lower-screen points).
play() {
    mkdir -p menu-return/$1
    printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n200 touch %s\n225\n260 touch %s\n285\n' "$2" "$3" > menu-return/$1.txt
    printf '600 START\n602\n630 touch 88 123\n633\n660 touch 104 137\n663\n' >> menu-return/$1.txt
    "$game" --headless --frames 900 --data menu-return/data --input menu-return/$1.txt --screenshot 450,890 \
        --out menu-return/$1 > /dev/null
}
play spares "238 67" "160 68"
play practice "80 95" "160 82"
# The spares challenge (its leave on the deck below, not another game's sheet) on the lane; practice on its own alley, with no menu on the lower screen.
"$check" menu-return/spares/frame00450-upper-left.png lane:200,200,10,60
"$check" menu-return/spares/frame00450-lower.png lane:160,130,8,40
# (The menu's gold heading stands at the top centre; the game's sheet has its gold bowler's name
# to the right of it, so the window is kept narrow.)
shot_lacks "$check" menu-return/practice/frame00450-lower.png warm:160,16,10,40
"$check" menu-return/practice/frame00450-upper-left.png lit:200,120,40,2000
# Back: the main menu after the spares challenge, the practice screen after practice (the gold
# heading and its two navy entries, at the middle of the screen).
"$check" menu-return/spares/frame00890-lower.png warm:160,16,40,40 blue:82,120,20,100 blue:238,120,20,100
"$check" menu-return/practice/frame00890-lower.png warm:160,16,40,40 blue:160,82,20,100 blue:160,142,20,100
refute cmp -s menu-return/spares/frame00890-lower.png menu-return/practice/frame00890-lower.png
