#!/bin/sh
# The stylus in the menus as a player uses it. A tap on a main-menu entry, of one frame or of ten,
# opens it as A does. A stylus held on an entry while the page it opens comes up does not go on to
# press what the new page shows under it: Practice held for two seconds shows the practice page
# and starts no game; "Yes" to a league's fee held for 1.4 s enters the league and does not press
# "Bowl" on the standings that follow. Paying takes a hold: a tap on "Yes" leaves the question up.
# In the pro shop a tap marks an item (and tries it on) and a hold buys it: the question comes up,
# the cursor's ring filling with gold while it is held. (The pages are reached with the pad where
# the taps are not what is tested.) On the bowlers page a tap on "Player 2" moves the selection frame
# there, as the pad and A do; in How to Play a tap on Prev moves it onto Prev, and one on the switch
# to the other book onto that book's switch, where the stylus was.
#   frontend_menus_take_a_tap.sh ZENDROLYX SHOT_CHECK
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
rm -rf menu-tap && mkdir -p menu-tap
to_menu='5 A\n6\n20 A\n21\n150 touch 160 120\n165\n'
# run NAME FRAMES SHOTS INPUT: the main menu is up from frame 190.
run() {
    mkdir -p menu-tap/$1/data
    cp cli-data/savegame.bin menu-tap/$1/data/
    printf "$to_menu$4" > menu-tap/$1/input.txt
    "$game" --headless --frames $2 --data menu-tap/$1/data --input menu-tap/$1/input.txt --screenshot $3 \
        --out menu-tap/$1 > /dev/null
}
run pad 270 195,260 '200 A\n202\n'
run tap1 270 260 '200 touch 80 67\n201\n'
run tap10 270 260 '200 touch 80 67\n210\n'
# Quick Play, opened by A and by either tap, and not the main menu any more.
refute cmp -s menu-tap/pad/frame00195-lower.png menu-tap/pad/frame00260-lower.png
cmp menu-tap/pad/frame00260-lower.png menu-tap/tap1/frame00260-lower.png
cmp menu-tap/pad/frame00260-lower.png menu-tap/tap10/frame00260-lower.png

# Practice held for 60 frames: its page, as A opens it, and no game after it.
run practice 520 300,510 '200 touch 80 95\n260\n'
run practicePad 310 300 '200 DOWN\n202\n210 A\n212\n'
cmp menu-tap/practicePad/frame00300-lower.png menu-tap/practice/frame00300-lower.png
cmp menu-tap/practicePad/frame00300-lower.png menu-tap/practice/frame00510-lower.png

# The career hub (down to Career, A), Leagues (right, A), the first league (A); its fee's question,
# "Yes" at lower-screen (100, 120) tapped, then held for 42 frames.
to_career='200 DOWN\n202\n210 DOWN\n212\n220 DOWN\n222\n230 A\n232\n'
to_fee="$to_career"'250 RIGHT\n252\n260 A\n262\n280 A\n282\n'
run fee 900 300,330,890 "$to_fee"'310 touch 100 120\n313\n340 touch 100 120\n382\n'
cmp menu-tap/fee/frame00300-lower.png menu-tap/fee/frame00330-lower.png
# The standings long after, as paying with the pad (left to "Yes", A) shows them once the
# entry is saved: no game.
run feePad 570 300,560 "$to_fee"'310 LEFT\n312\n320 A\n322\n'
refute cmp -s menu-tap/feePad/frame00300-lower.png menu-tap/feePad/frame00560-lower.png
cmp menu-tap/feePad/frame00560-lower.png menu-tap/fee/frame00890-lower.png

# The pro shop (down, down, right, A) and its shirts (right); the second shirt (lower-screen
# (180, 78)) tapped, then held.
run shop 460 330,365,385,440 "$to_career"'250 DOWN\n252\n260 DOWN\n262\n270 RIGHT\n272\n280 A\n282\n310 RIGHT\n312\n340 touch 180 78\n343\n370 touch 180 78\n400\n'
# The tap marks the shirt and asks nothing (a question dims the page round its panel); the hold
# fills the ring, then asks.
refute cmp -s menu-tap/shop/frame00330-lower.png menu-tap/shop/frame00365-lower.png
shot_lacks "$check" menu-tap/shop/frame00365-lower.png dark:300,210,8,50
"$check" menu-tap/shop/frame00385-lower.png warm:180,78,10,20
"$check" menu-tap/shop/frame00440-lower.png dark:300,210,8,50

# The bowlers page (Career, Bowlers): "Player 2" tapped, or walked to with the pad and pressed.
to_bowlers='200 touch 160 175\n225\n260 touch 238 222\n285\n'
run bowlersTap 420 400 "$to_bowlers"'330 touch 238 51\n333\n'
run bowlersPad 420 400 "$to_bowlers"'330 RIGHT\n332\n340 A\n342\n'
cmp menu-tap/bowlersPad/frame00400-lower.png menu-tap/bowlersTap/frame00400-lower.png

# How to Play (the stylus's book, the save's control): Prev tapped, then the switch to the buttons'
# book; the gold frame's left edge on each (lower-screen x 16 and 212).
run howTo 360 290,340 '200 touch 80 135\n225\n260 touch 52 180\n262\n300 touch 262 222\n302\n'
"$check" menu-tap/howTo/frame00290-lower.png warm:17,180,2,5
"$check" menu-tap/howTo/frame00340-lower.png warm:213,222,2,5
