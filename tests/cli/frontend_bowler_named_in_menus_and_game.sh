#!/bin/sh
# A bowler named with the on-screen keyboard keeps the name everywhere. The career hub's Bowlers
# entry is touched; on the bowlers page the pad chooses the first custom bowler (A), walks to Name
# and presses A: the keyboard opens on the lower screen under its title, and touches type "Anna"
# (SHIFT, a, n, n, a, ENTER). The name is saved at once. Name opened again, "y" typed and B
# pressed leaves the keyboard with the old name kept. A second start (reading the save) shows
# "Anna" in Quick Play's first slot, and in the game it starts, on the score sheet and over the
# lane. The keys are found where the first run's keyboard draws their labels (--layout-out).
#   frontend_bowler_named_in_menus_and_game.sh ZENDROLYX
set -e
. "$(dirname "$0")/checks.sh"
game=$1
rm -rf named && mkdir -p named/data named/open named/shots named/again
cp cli-data/savegame.bin named/data/
# To the keyboard: the title, Career (160, 175), Bowlers (238, 222); A on the first bowler, then
# down five times (to Back) and right (to Name), and A.
{
    printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n200 touch 160 175\n225\n270 touch 238 222\n295\n330 A\n332\n'
    printf '340 DOWN\n342\n346 DOWN\n348\n352 DOWN\n354\n358 DOWN\n360\n364 DOWN\n366\n370 RIGHT\n372\n380 A\n382\n'
} > named/open.txt
"$game" --headless --frames 402 --data named/data --input named/open.txt --screenshot 330,400 --layout-out \
    --out named/open > /dev/null
grep -q '^lower .* Type a name, then ENTER$' named/open/frame00400-lines.txt || fail "the keyboard did not open"
refute cmp -s named/open/frame00330-lower.png named/open/frame00400-lower.png
# key FRAME LABEL: a touch of two frames on the middle of the key with that label.
key() {
    at=$(awk -v k="$2" '$1 == "lower" && $6 == k && NF == 6 { print int($2 + $4 / 2), int($3 + $5 / 2); exit }' \
        named/open/frame00400-lines.txt)
    [ -n "$at" ] || fail "the keyboard has no key $2"
    printf '%d touch %s\n%d\n' $1 "$at" $(($1 + 2))
}
# The saving boxes take some seconds; a move of the pad brings the selection back to Name
# (the stylus left the cursor on the keyboard) before A opens the keyboard again.
{
    cat named/open.txt
    key 400 SHIFT; key 406 a; key 412 n; key 418 n; key 424 a; key 430 ENTER
    printf '700 UP\n702\n706 DOWN\n708\n712 A\n714\n'
    key 740 y
    printf '750 B\n752\n'
} > named/input.txt
cp named/data/savegame.bin named/before.bin
"$game" --headless --frames 800 --data named/data --input named/input.txt --screenshot 745,790 --layout-out \
    --out named/shots --verbose > /dev/null 2> named/err.txt
no_errors named/err.txt
lines=named/shots/frame00745-lines.txt
grep -q '^lower .* Type a name, then ENTER$' $lines || fail "Name did not open the keyboard again"
grep -q '^lower [0-9 ]* y$' $lines || fail "the keyboard does not show the letter typed"
# After B: the page and the upper screen show the name typed first.
lines=named/shots/frame00790-lines.txt
grep -q '^lower [0-9 ]* Anna$' $lines || fail "the bowlers page does not show the new name"
grep -q '^upper-left [0-9 ]* Anna$' $lines || fail "the upper screen does not show the new name"
if grep -q 'Player 1$\| y$\|Type a name' $lines; then fail "the old name, the cancelled text or the keyboard is still shown"; fi
refute cmp -s named/before.bin named/data/savegame.bin
# A second start: Quick Play (80, 67) shows the name in the first slot; Start (281, 72) and "Yes"
# (100, 120) begin the game, whose score sheet and heads-up display name the bowler.
printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n200 touch 80 67\n225\n300 touch 281 72\n325\n350 touch 100 120\n375\n' \
    > named/again.txt
"$game" --headless --frames 440 --data named/data --input named/again.txt --screenshot 260,420 --layout-out \
    --out named/again --verbose > /dev/null 2> named/again.log
no_errors named/again.log
grep -q '^lower [0-9 ]* Anna$' named/again/frame00260-lines.txt || fail "Quick Play does not show the name"
grep -q '^lower [0-9 ]* Anna *$' named/again/frame00420-lines.txt || fail "the score sheet does not show the name"
grep -q '^upper-left [-0-9 ]* Anna *$' named/again/frame00420-lines.txt || fail "the game does not show the name"
if grep -q 'Player 1' named/again/frame00260-lines.txt named/again/frame00420-lines.txt; then
    fail "the old name is still shown"
fi
