#!/bin/sh
# The split set plays exactly as the single archive does: start-up reaches the title and the main
# menu, and a whole quick game is bowled to its end and drawn; every screenshot and the printed
# sheets equal the single archive's. A damaged copy of the single archive dropped beside the split
# set changes nothing: its list does not name it, so it is never opened.
# Run by ctest in the build's tests folder with $1 the program, $2 the single archive's game data,
# $3 the split set's.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
rm -rf split-set && mkdir -p split-set
printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n' > split-set/to-the-menu.txt
# The split set as links to its files, with the single archive beside it, 4 KB zeroed a megabyte
# in (data that the menus read, were it opened).
cp -rs "$(realpath "$3")" split-set/split-rom
{ head -c 1000000 "$2/Resource.rez"; head -c 4096 /dev/zero; tail -c +1004097 "$2/Resource.rez"; } \
    > split-set/split-rom/Resource.rez
cmp -s split-set/split-rom/Resource.rez "$2/Resource.rez" && fail "4 KB a megabyte into Resource.rez were already zero"
for form in single split; do
    if [ $form = single ]; then rom=$2; else rom=split-set/split-rom; fi
    out=split-set/$form
    mkdir -p $out/data $out/shots
    cp cli-data/savegame.bin $out/data/savegame.bin
    "$program" --headless --frames 260 --verbose --rom "$rom" --data $out/data --input split-set/to-the-menu.txt \
        --screenshot 140,250 --out $out/shots > /dev/null 2> $out/menus-err.txt
    "$program" --headless --launch quick --players 2 --seed 7 --frames 200000 --verbose --rom "$rom" \
        --data $out/data --screenshot 400,1500 --out $out/shots > $out/sheets.txt 2> $out/game-err.txt
    refute grep -E 'damaged|could not|not present' $out/menus-err.txt $out/game-err.txt
done
# Both bowlers finished their game, and it ended by itself before the frame limit.
test "$(grep -c '^score [0-9][0-9]*$' split-set/split/sheets.txt)" -eq 2
refute grep -q 'ended after 200000 frames' split-set/split/game-err.txt
cmp split-set/single/sheets.txt split-set/split/sheets.txt
test "$(ls split-set/single/shots | wc -l)" -eq 12
for shot in split-set/single/shots/*.png; do cmp "$shot" split-set/split/shots/"$(basename "$shot")"; done
rm -rf split-set
