#!/bin/sh
# The bowler preview shows the bowler being chosen. Quick Play opens with its first slot selected
# ("Player 1"); DOWN selects the second slot, and the preview, shot at the same frame as a run that
# stays on the first slot, shows another bowler. In the pro shop the career bowler tries the third
# shirt (green) on: the preview wears it in place of the red one worn, which a run that only opens
# the list shows.
#   frontend_preview_follows_the_slot_and_the_shop.sh ZENDROLYX SHOT_CHECK
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
rm -rf preview-follows && mkdir -p preview-follows
to_menu='5 A\n6\n20 A\n21\n150 touch 160 120\n165\n'
# run NAME FRAMES SHOTS INPUT: a run from the saved game.
run() {
    mkdir -p preview-follows/$1/data
    cp cli-data/savegame.bin preview-follows/$1/data/
    printf "$to_menu$4" > preview-follows/$1/input.txt
    "$game" --headless --frames $2 --data preview-follows/$1/data --input preview-follows/$1/input.txt \
        --screenshot $3 --out preview-follows/$1 > /dev/null
}
shot() { printf 'preview-follows/%s/frame%05d-upper-left.png' $1 $2; }
# Quick Play (touched at 200); the second slot selected at 340.
run stay 480 330,470 '200 touch 80 55\n215\n'
run down 480 330,470 '200 touch 80 55\n215\n340 DOWN\n342\n'
cmp $(shot stay 330) $(shot down 330)
refute cmp -s $(shot stay 470) $(shot down 470)
# The shop (Career, then Pro Shop), its shirts entered with A; two steps down try the third
# shirt on at 422 (the turn that follows is over by 540).
shop='200 touch 160 175\n215\n260 touch 238 135\n275\n330 touch 52 45\n345\n380 A\n382\n'
run look 560 540 "$shop"
run try 560 540 "$shop"'400 DOWN\n402\n420 DOWN\n422\n'
# The worn shirt is red; the one tried on (a dark green) leaves no red on the bowler's chest.
"$check" $(shot look 540) warm:195,100,10,100
shot_lacks "$check" $(shot try 540) warm:195,100,10,100
