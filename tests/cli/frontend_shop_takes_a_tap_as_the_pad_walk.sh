#!/bin/sh
# A touch on an item of the pro shop shows it and tries it on, as the pad's walk onto it does,
# whatever row was touched before in another list or on another page: from the main menu to the
# shop's shirts, the third shirt touched; then the trousers (their third row touched, once) and
# the shirts' second page (its third row touched, once). Each touch names its item on the upper
# screen.
#   frontend_shop_takes_a_tap_as_the_pad_walk.sh ZENDROLYX
set -e
. "$(dirname "$0")/checks.sh"
game=$1
rm -rf shop-tap && mkdir -p shop-tap/data && cp cli-data/savegame.bin shop-tap/data/
to_shirts='5 A\n6\n20 A\n21\n150 touch 160 120\n165\n200 touch 160 175\n215\n260 touch 238 135\n275\n330 touch 52 45\n345\n'
third_shirt='380 touch 180 108\n384\n'
third_trousers='420 touch 40 69\n430\n470 touch 180 108\n474\n'
second_page='520 touch 52 45\n530\n560 touch 296 147\n564\n600 touch 180 108\n604\n'
printf "$to_shirts$third_shirt$third_trousers$second_page" > shop-tap/input.txt
"$game" --headless --frames 640 --data shop-tap/data --input shop-tap/input.txt --screenshot 410,510,630 \
    --out shop-tap --layout-out > /dev/null
# The item panel's title, top left of the upper screen.
shown() { grep -h "^upper-left 10 78 " shop-tap/frame00$1-lines.txt | cut -d' ' -f6-; }
[ "$(shown 410)" = "Green Short Sleeve" ] || fail "the third shirt touched shows '$(shown 410)'"
[ "$(shown 510)" = "Black Trousers" ] || fail "the third trousers touched show '$(shown 510)'"
[ "$(shown 630)" = "Orange Long Sleeve" ] || fail "the third shirt of the second page touched shows '$(shown 630)'"
