#!/bin/sh
# Quick Play's bowler slots (opened with A): of the two bowlers the save sets up, the slots beyond
# them are dim and empty (no name in white as the second slot has). Touching the first
# slot, which holds the custom bowler "Player 1", asks before it goes: "No" keeps it; "Yes" puts
# the first built-in bowler no other slot holds in its place, and five more touches step through
# the free built-in bowlers (passing over the other slots' ones) back to "Player 1". "+" lights the
# third slot. The question "Start this game?" lists the bowlers that play on a line under the
# alley's, with three and, after "-", with two. Each touch is held a moment.
#   frontend_quick_play_slots_keep_their_bowlers.sh ZENDROLYX SHOT_CHECK
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
rm -rf quick-slots && mkdir -p quick-slots/shots quick-slots/data
cp cli-data/savegame.bin quick-slots/data/
# touch FRAME X Y: a touch held for 25 frames. Lower-screen points: the first slot (80, 54), the
# questions' "Yes" (100, 120) and "No" (220, 120), "-" (186, 194), "+" (254, 194), Start (281, 72).
touch() { printf '%d touch %d %d\n%d\n' $1 $2 $3 $(($1 + 25)); }
{
    printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n200 A\n202\n'
    touch 250 80 54; touch 300 220 120
    touch 350 80 54; touch 400 100 120
    for f in 450 480 510 540 570; do touch $f 80 54; done
    touch 620 254 194
    touch 670 281 72; touch 720 220 120
    touch 760 186 194
    touch 800 281 72; touch 850 220 120
} > quick-slots/input.txt
"$game" --headless --frames 900 --data quick-slots/data --input quick-slots/input.txt \
    --screenshot 240,290,340,440,610,660,710,840 --out quick-slots/shots > /dev/null
shot() { printf 'quick-slots/shots/frame%05d-lower.png' $1; }
"$check" $(shot 240) pin:90,89,14,20
shot_lacks "$check" $(shot 240) pin:90,125,14,20
shot_lacks "$check" $(shot 240) pin:90,161,14,20
# The question, then "No": as before it.
refute cmp -s $(shot 240) $(shot 290)
cmp $(shot 240) $(shot 340)
# "Yes": another bowler; five steps on, "Player 1" again.
refute cmp -s $(shot 240) $(shot 440)
cmp $(shot 240) $(shot 610)
# Three bowlers: the third slot lit.
"$check" $(shot 660) pin:90,125,14,20
# The question with three bowlers and with two: under the alley's line, a line of bowlers.
for f in 710 840; do "$check" $(shot $f) pin:100,66,10,20; done
refute cmp -s $(shot 710) $(shot 840)
