#!/bin/sh
# The controller screen from Quick Play, by the pad: down to the last slot, right to "+", down to
# Controllers and A. It lists the four bowler slots with the controller each is played on (the
# first, a person's, on "Controller 1"; the second, the computer's, "Computer") under its own
# heading on both screens. X on the first slot gives it to the computer; B goes back to Quick
# Play, where the first slot is now bowled by the "CPU". A career league bowled in pairs (the
# second of the list, its fee paid) opens the screen from the standings' Bowl, with a Bowl of its
# own: B goes back to the standings, and its Bowl starts the game.
#   frontend_controller_screen_reached_and_left.sh ZENDROLYX
set -e
. "$(dirname "$0")/checks.sh"
game=$1
rm -rf controllers && mkdir -p controllers/data controllers/shots
cp cli-data/savegame.bin controllers/data/
{
    printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n200 touch 80 67\n225\n'
    printf '300 DOWN\n302\n306 DOWN\n308\n312 DOWN\n314\n318 DOWN\n320\n324 RIGHT\n326\n330 DOWN\n332\n340 A\n342\n'
    printf '400 X\n402\n430 B\n432\n'
} > controllers/input.txt
"$game" --headless --frames 500 --data controllers/data --input controllers/input.txt --screenshot 336,390,425,490 \
    --layout-out --out controllers/shots --verbose > /dev/null 2> controllers/err.txt
no_errors controllers/err.txt
lines() { printf 'controllers/shots/frame%05d-lines.txt' $1; }
grep -q '^upper-left [0-9 ]* Controllers$' $(lines 390) || fail "the upper screen has no heading"
grep -q '^lower [0-9 ]* Controllers$' $(lines 390) || fail "the lower screen has no heading"
for slot in 1 2 3 4; do
    grep -q "^lower [0-9 ]* Bowler $slot\$" $(lines 390) || fail "slot $slot is not listed"
done
# The controllers in slot order, as the lines are drawn: the person's, then the computer's.
grep '^lower' $(lines 390) | grep 'Controller 1$\|Computer$' | head -2 | awk '{ print $NF }' | tr '\n' ' ' \
    > controllers/first-two.txt
[ "$(cat controllers/first-two.txt)" = "1 Computer " ] || fail "the first two slots show $(cat controllers/first-two.txt)"
refute cmp -s controllers/shots/frame00336-lower.png controllers/shots/frame00390-lower.png
if grep -q ' Bowl$' $(lines 390); then fail "quick play's controller screen offers a career Bowl"; fi
# X: the first slot is the computer's.
if grep -q 'Controller 1$' $(lines 425); then fail "X left the first slot on its controller"; fi
# B: Quick Play, its first slot bowled by the CPU.
grep -q '^lower [0-9 ]* Quick Play$' $(lines 490) || fail "B did not go back to Quick Play"
[ "$(grep -c '^lower [0-9 ]* CPU$' $(lines 490))" -eq 2 ] || fail "the first slot is not the computer's in Quick Play"

# The career: Career (160, 175), Leagues (238, 54), the doubles league (130, 80), "Yes" held
# (100, 120); after the saving boxes the standings' Bowl (160, 140), B, Bowl again and the
# controller screen's Bowl (238, 222). Each touch is held a moment.
touch() { printf '%d touch %d %d\n%d\n' $1 $2 $3 $(($1 + 25)); }
{
    printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n'
    touch 200 160 175; touch 260 238 54; touch 300 130 80; touch 340 100 120
    touch 600 160 140; printf '700 B\n702\n'; touch 760 160 140; touch 820 238 222
} > controllers/career.txt
cp cli-data/savegame.bin controllers/data/
"$game" --headless --frames 910 --data controllers/data --input controllers/career.txt --screenshot 590,680,740,905 \
    --layout-out --out controllers/shots --verbose > /dev/null 2> controllers/career.log
no_errors controllers/career.log
grep -q '^lower [0-9 ]* League$' $(lines 590) || fail "the doubles league's standings did not open"
grep -q '^lower [0-9 ]* Controllers$' $(lines 680) || fail "Bowl on the standings did not open the controller screen"
grep -q '^lower [0-9 ]* Bowl$' $(lines 680) || fail "the controller screen has no Bowl in the career"
grep -q '^lower [0-9 ]* League$' $(lines 740) || fail "B did not go back to the standings"
if grep -q ' Controllers$\| League$' $(lines 905); then fail "the controller screen's Bowl did not start the game"; fi
grep -q '^lower [0-9 ]* P1$' $(lines 905) || fail "the game's score sheet is not shown"
