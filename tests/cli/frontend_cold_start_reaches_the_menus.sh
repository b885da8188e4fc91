#!/bin/sh
# A run without --launch goes from the intro logos (A skips each) to the title: the game's name
# over the lane on both screens. A touch of the lower screen opens the main menu: its heading and
# entries below, the upper screen's lane behind. Touching an entry opens its screen (the options),
# and B comes back to the main menu once the options are saved. The UI framework finds its own
# archive (logo and font).
#   frontend_cold_start_reaches_the_menus.sh ZENDROLYX SHOT_CHECK
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
rm -rf cold-start && mkdir -p cold-start/shots cold-start/data
cp cli-data/savegame.bin cold-start/data/savegame.bin
printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n200 touch 240 96\n230\n260 B\n262\n' > cold-start/input.txt
"$game" --headless --frames 520 --data cold-start/data --input cold-start/input.txt --screenshot 140,199,250,510 \
    --out cold-start/shots --verbose > /dev/null 2> cold-start/err.txt
no_errors cold-start/err.txt
shots=cold-start/shots
# The title: the lane between the pins and the ball below, and on the upper screen.
"$check" $shots/frame00140-lower.png lane:160,130,8,40 pin:160,80,20,20
"$check" $shots/frame00140-upper-left.png lane:200,200,10,60 warm:200,44,60,100
# The main menu: its gold heading and navy entries where the title's lane was.
"$check" $shots/frame00199-lower.png warm:160,16,40,40 blue:82,120,20,100 blue:238,120,20,100
shot_lacks "$check" $shots/frame00199-lower.png lane:160,130,8,40
"$check" $shots/frame00199-upper-left.png lane:200,200,10,60
# The options, then B back to the main menu.
"$check" $shots/frame00250-lower.png warm:160,16,40,40
refute cmp -s $shots/frame00199-lower.png $shots/frame00250-lower.png
cmp $shots/frame00199-lower.png $shots/frame00510-lower.png
