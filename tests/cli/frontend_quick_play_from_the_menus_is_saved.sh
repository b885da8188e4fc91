#!/bin/sh
# A cold start played through the menus: the intros skipped, the title touched, Quick Play chosen
# with the stylus (the bowler preview above it), the bowlers cut to one (the person on the first controller), Start held and the
# question answered "Yes" by holding the stylus on it. The person then bowls a whole game with the
# stylus (the steps of the overlay tests' game, moved to the frame the game starts at), declines
# another, and the main menu comes back with the game folded into the bowler's statistics and
# saved. A second start reads that save: it keeps the file as it is and moves nothing aside.
#   frontend_quick_play_from_the_menus_is_saved.sh ZENDROLYX SHOT_CHECK GAME_INPUT
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
steps=$3
rm -rf menu-game && mkdir -p menu-game/data menu-game/shots
cp cli-data/savegame.bin menu-game/data/savegame.bin
cp cli-data/savegame.bin menu-game/before.bin
# The menus (lower-screen points): the title at 150, Quick Play at 200, "-" at 250, Start at 300,
# "Yes" at 350; the game's first frame is drawn at 358.
{
    printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n200 touch 80 67\n225\n'
    printf '250 touch 186 194\n275\n300 touch 281 72\n325\n350 touch 100 120\n375\n'
    grep -v '^#' "$steps" | awk 'NF { $1 = $1 + 358; print }'
} > menu-game/input.txt
"$game" --headless --frames 23600 --data menu-game/data --input menu-game/input.txt \
    --screenshot 240,290,345,1000,23500 --out menu-game/shots --verbose > menu-game/out.txt 2> menu-game/err.txt
no_errors menu-game/err.txt
shots=menu-game/shots
# Quick Play: the gold heading, the slots and Start on navy buttons; then one bowler.
"$check" $shots/frame00240-lower.png warm:160,16,40,40 blue:90,90,20,100 blue:208,90,10,60 blue:281,72,10,60
# Above them the bowler preview: the first bowler, dressed in its red shirt, before the lane.
"$check" $shots/frame00240-upper-left.png warm:193,115,4,10
refute cmp -s $shots/frame00240-lower.png $shots/frame00290-lower.png
# The question over the dimmed screen, then the game on the lane.
refute cmp -s $shots/frame00290-lower.png $shots/frame00345-lower.png
"$check" $shots/frame01000-upper-left.png lane:200,200,10,60
grep -q '^score [0-9][0-9]*$' menu-game/out.txt
# Back in the main menu, as the cold start shows it.
"$check" $shots/frame23500-lower.png warm:160,16,40,40 blue:82,120,20,100 blue:238,120,20,100
# The save holds the game.
refute cmp -s menu-game/before.bin menu-game/data/savegame.bin
cp menu-game/data/savegame.bin menu-game/after.bin
# A second start loads it unchanged.
printf '5 A\n6\n20 A\n21\n' > menu-game/again.txt
"$game" --headless --frames 400 --data menu-game/data --input menu-game/again.txt --verbose \
    > /dev/null 2> menu-game/again.log
cmp menu-game/after.bin menu-game/data/savegame.bin
if ls menu-game/data | grep -q damaged; then fail "the save was moved aside as damaged"; fi
no_errors menu-game/again.log
