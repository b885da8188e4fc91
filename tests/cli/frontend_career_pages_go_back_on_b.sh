#!/bin/sh
# B goes back on every page of the career, as each page's Back button does: from the career
# bowler, the leagues, tournaments and rivals lists and the trophy case to the hub (B tapped, and
# once held for a third of a second); from the standings of a league (both when a league is joined
# and from the hub's League Table) and of a knock-out, a ladder and a high-score tournament (each
# entered in turn, giving up the one before); and from the hub to the main menu. The pages are
# opened by touching their entries (each held a moment) and "Yes" is held to pay or give up.
#   frontend_career_pages_go_back_on_b.sh ZENDROLYX
set -e
. "$(dirname "$0")/checks.sh"
game=$1
rm -rf career-b && mkdir -p career-b/shots career-b/data
cp cli-data/savegame.bin career-b/data/
# touch FRAME X Y: a touch held for 25 frames. b FRAME: B pressed for 2 frames.
touch() { printf '%d touch %d %d\n%d\n' $1 $2 $3 $(($1 + 25)); }
b() { printf '%d B\n%d\n' $1 $(($1 + 2)); }
{
    printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n'
    touch 200 160 175                      # Career: the hub is up at 250
    touch 260 82 54; b 310                 # the career bowler
    touch 350 238 54; printf '400 B\n410\n'  # the leagues, B held
    touch 440 82 94; b 490                 # the tournaments
    touch 530 238 94; b 580                # the rivals
    touch 620 82 174; b 670                # the trophy case
    touch 710 238 54; touch 750 130 50; touch 790 100 120; b 1010  # a league joined: its standings
    touch 1050 82 134; b 1100              # the League Table
    touch 1140 82 94; touch 1180 130 50; touch 1220 100 120; b 1440  # the knock-out
    touch 1480 82 94; touch 1520 130 80; touch 1560 100 120; b 1780  # the ladder
    touch 1820 82 94; touch 1860 130 110; touch 1900 100 120; b 2120  # the high score
    b 2160                                 # the hub, to the main menu
} > career-b/input.txt
# Entering an event saves it, and the saving box and "Save Successful." (three seconds each)
# take no presses: B on the standings waits for them.
pages=300,390,480,570,660,1000,1090,1430,1770,2110
hubs=340,430,520,610,700,1040,1130,1470,1810,2150
"$game" --headless --frames 2200 --data career-b/data --input career-b/input.txt \
    --screenshot 195,250,$pages,$hubs,2190 --out career-b/shots > /dev/null
shot() { printf 'career-b/shots/frame%05d-lower.png' $1; }
for f in $(echo $pages | tr , ' '); do refute cmp -s $(shot 250) $(shot $f); done
for f in $(echo $hubs | tr , ' '); do cmp $(shot 250) $(shot $f); done
cmp $(shot 195) $(shot 2190)
