#!/bin/sh
# A purchase in the pro shop is kept however the program is closed: by the window (here the frame
# limit, a few frames after "Yes", before the saving box has written anything) and by HOME then
# Close. A second start shows the shirt as bought and the funds as paid, exactly as the shop showed
# them once the purchase was saved.
#   frontend_shop_purchase_survives_closing.sh ZENDROLYX
set -e
. "$(dirname "$0")/checks.sh"
game=$1
rm -rf shop-kept && mkdir -p shop-kept
# To the career hub, the pro shop and its shirts; into the list (A) and down to the third shirt,
# which is for sale. Then held to buy (A), the question answered "Yes" (left, A) at 490.
to_shirt='5 A\n6\n20 A\n21\n150 touch 160 120\n165\n200 touch 160 175\n215\n260 touch 238 135\n275\n330 touch 52 45\n345\n380 A\n382\n400 DOWN\n402\n420 DOWN\n422\n'
buy='440 A\n442\n480 LEFT\n482\n490 A\n492\n'
printf "$to_shirt" > shop-kept/look.txt
printf "$to_shirt$buy" > shop-kept/buy.txt
{ printf "$to_shirt$buy"; printf '700 HOME\n705\n710 touch 225 170\n'; } > shop-kept/home.txt
fresh() {  # name: a save folder of its own
    mkdir -p shop-kept/$1/data && cp cli-data/savegame.bin shop-kept/$1/data/
}
# What the shop shows once the purchase is saved (the saving boxes are gone by 700).
fresh saved
"$game" --headless --frames 710 --data shop-kept/saved/data --input shop-kept/buy.txt --screenshot 430,700 \
    --out shop-kept/saved > /dev/null
refute cmp -s shop-kept/saved/frame00430-lower.png shop-kept/saved/frame00700-lower.png
# closed LIMIT INPUT: bought and closed, then started again and shown the same shirt.
closed() {
    fresh $1
    "$game" --headless --frames $2 --data shop-kept/$1/data --input $3 --verbose 2> shop-kept/$1/closing.log
    # The shop's bowler moves in a loop; the purchase restarted it, so frame 708 of the look shows
    # the pose that frame 700 of the purchase does.
    "$game" --headless --frames 710 --data shop-kept/$1/data --input shop-kept/look.txt --screenshot 708 \
        --out shop-kept/$1 > /dev/null
    cmp -s shop-kept/saved/frame00700-lower.png shop-kept/$1/frame00708-lower.png || fail "$1: the shirt is for sale again"
    cmp -s shop-kept/saved/frame00700-upper-left.png shop-kept/$1/frame00708-upper-left.png ||
        fail "$1: the funds or the item shown are not those after buying"
}
closed window 500 shop-kept/buy.txt
closed home 2000 shop-kept/home.txt
grep -q "ended after 710 frames" shop-kept/home/closing.log || fail "HOME then Close did not end the program"
