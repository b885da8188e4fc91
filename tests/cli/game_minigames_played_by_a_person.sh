#!/bin/sh
# A person plays each mini-game through its overlays with the buttons, pressing A every 40 frames
# (whatever overlay is up goes on), beside a computer bowler; screenshots of the overlays are
# checked for what they show. Usage: game_minigames_played_by_a_person.sh ZENDROLYX LANE_SHOT_CHECK
set -e
. "$(dirname "$0")/checks.sh"
game="$1"
check="$2"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# Not a first start: a copy of the shared save folder, so no notice and no first save come first.
mkdir -p "$dir/data" && cp -R cli-data/. "$dir/data/"
awk 'BEGIN { for (f = 60; f < 60000; f += 40) { print f " A"; print f + 2 } }' > "$dir/a.input"

play() {  # mode frames shots out
    "$game" --headless --launch "$1" --players 2 --humans 1 --controls buttons --seed 7 --frames "$2" \
        --data "$dir/data" --input "$dir/a.input" --screenshot "$3" --out "$dir" --layout-out --verbose > "$4" 2> "$4.err"
}
ended() { sed -n 's/.*ended after \([0-9]*\) frames.*/\1/p' "$1.err"; }

# Spares: the first attempt's start shows the leave of round 1, the 5 pin alone; the game ends
# with the people's and the computer's rounds printed.
play spares 60000 50 "$dir/spares.txt"
"$check" "$dir/frame00050-lower.png" pin:163,135,8,20 lit:160,20,100,500
test "$(grep -c '^score [0-9]*$' "$dir/spares.txt")" -eq 2

# The pin selection: all ten pins offered, the title and the buttons drawn.
play pinselect 600 50 "$dir/pins.txt"
"$check" "$dir/frame00050-lower.png" pin:163,166,8,20 pin:66,101,8,20 pin:257,101,8,20 lit:40,210,20,200

# Bingo: the person's card before the first ball, under its heading with the person's name, and A
# to go on beside it; somebody makes a line in the end.
play bingo 60000 50 "$dir/bingo.txt"
"$check" "$dir/frame00050-lower.png" pin:160,130,110,2000
for text in 'BINGO CARD' 'Ada Player' '{1}' 'NEXT'; do
    grep -q "^lower [0-9 ]* $text\$" "$dir/frame00050-lines.txt" || fail "the bingo card's screen shows no '$text'"
done
grep -q '^bingo: P[12] .* made the line$' "$dir/bingo.txt"

# Poker: the hands at the end, shown until the person's A (let go two frames after each press)
# starts the fade back to the menu, which ends the run once the screen is covered (within the 40
# frames to the next press); again to see that screen on the frame of the last press.
play poker 60000 1 "$dir/poker.txt"
last=$(ended "$dir/poker.txt")
press=$(((last - 62) / 40 * 40 + 60))
play poker 60000 $press "$dir/poker2.txt"
cmp "$dir/poker.txt" "$dir/poker2.txt"
grep -q '^winners* P[12]' "$dir/poker.txt"
shot=$(printf '%s/frame%05d-lower.png' "$dir" $press)
"$check" "$shot" lit:40,20,30,200
if grep -q '^cards .' "$dir/poker.txt"; then "$check" "$shot" pin:120,40,60,100; fi
