#!/bin/sh
# The controller screen from Quick Play, by the pad: down to the last slot, right to "+", down to
# Controllers and A. It lists the two bowlers quick play seats with the controller each is played
# on (the first, a person's, on "Controller 1"; the second, the computer's, "Computer") under its
# own heading on both screens. X on the first slot gives it to the computer; B goes back to Quick
# Play, where the first slot is now bowled by the "CPU". That X is quick play's alone: after it, a
# career league bowled in pairs (the second of the list, its fee paid) opens the screen from the
# standings' Bowl with the pair's own controllers (the career bowler on "Controller 1", the
# partner the computer's, no third or fourth bowler) and a Bowl of its own: B goes back to the
# standings, and its Bowl starts the game, where the career bowler's first ball waits for the
# person (A NEXT, B SETUP) instead of being bowled by the computer.
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
for slot in 1 2; do
    grep -q "^lower [0-9 ]* Bowler $slot\$" $(lines 390) || fail "slot $slot is not listed"
done
if grep -q ' Bowler [34]$' $(lines 390); then fail "quick play's screen lists bowlers who do not play"; fi
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

# The career, after X on Quick Play's first slot as above and B twice to the main menu (saved):
# Career (160, 175), Leagues (238, 54), the doubles league (130, 80), "Yes" held (100, 120); after
# the saving boxes the standings' Bowl (160, 140), B, Bowl again and the controller screen's Bowl
# (238, 222). Each touch is held a moment.
touch() { printf '%d touch %d %d\n%d\n' $1 $2 $3 $(($1 + 25)); }
{
    sed -n '1,/^432$/p' controllers/input.txt
    printf '470 B\n472\n'
    touch 820 160 175; touch 880 238 54; touch 920 130 80; touch 960 100 120
    touch 1220 160 140; printf '1320 B\n1322\n'; touch 1380 160 140; touch 1440 238 222
} > controllers/career.txt
cp cli-data/savegame.bin controllers/data/
"$game" --headless --frames 1700 --data controllers/data --input controllers/career.txt \
    --screenshot 1210,1300,1360,1525,1690 --layout-out --out controllers/shots --verbose > /dev/null 2> controllers/career.log
no_errors controllers/career.log
grep -q '^lower [0-9 ]* League$' $(lines 1210) || fail "the doubles league's standings did not open"
grep -q '^lower [0-9 ]* Controllers$' $(lines 1300) || fail "Bowl on the standings did not open the controller screen"
grep -q '^lower [0-9 ]* Bowl$' $(lines 1300) || fail "the controller screen has no Bowl in the career"
grep '^lower' $(lines 1300) | grep 'Controller 1$\|Computer$' | awk '{ print $NF }' | tr '\n' ' ' > controllers/pair.txt
[ "$(cat controllers/pair.txt)" = "1 Computer " ] || fail "the pair's controllers show as $(cat controllers/pair.txt)"
if grep -q ' Bowler [34]$' $(lines 1300); then fail "the pair's screen lists bowlers who do not play"; fi
grep -q '^lower [0-9 ]* League$' $(lines 1360) || fail "B did not go back to the standings"
if grep -q ' Controllers$\| League$' $(lines 1525); then fail "the controller screen's Bowl did not start the game"; fi
grep -q '^lower [0-9 ]* P1$' $(lines 1525) || fail "the game's score sheet is not shown"
for f in 1525 1690; do
    grep -q '^lower [0-9 ]* NEXT$' $(lines $f) && grep -q '^lower [0-9 ]* SETUP$' $(lines $f) ||
        fail "frame $f: the career bowler's ball does not wait for the person"
done
