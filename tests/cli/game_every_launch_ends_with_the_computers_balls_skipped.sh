#!/bin/sh
# Every game the command line launches with computer bowlers ends by itself when their balls are
# skipped, the last one too, and prints its results. A is pressed every 40 frames, more often than
# a computer's approach lasts, so each ball is skipped where the game offers it (the spares
# challenge offers no skip: there A cuts the replays short). A run that reaches the frame limit
# never ended. In the attract game A leaves for the menu, so there a touch on the score sheet's
# Skip skips; that game ends by going back to the title screen, which runs until the frame limit:
# by then it is gone, its bowler and its "Game Over" with it.
# Usage: game_every_launch_ends_with_the_computers_balls_skipped.sh ZENDROLYX
set -e
. "$(dirname "$0")/checks.sh"
game="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# Not a first start: a copy of the shared save folder, so no notice and no first save come first.
mkdir -p "$dir/data" && cp -R cli-data/. "$dir/data/"
limit=30000
awk -v limit=$limit 'BEGIN { for (f = 40; f < limit; f += 40) print f " A\n" f + 2 }' > "$dir/a.input"

for mode in quick spares bingo poker pinselect; do
    "$game" --headless --launch $mode --players 2 --seed 7 --frames $limit --data "$dir/data" --input "$dir/a.input" \
        --verbose > "$dir/$mode.txt" 2> "$dir/$mode.err"
    frames=$(sed -n 's/^zendrolyx: ended after \([0-9]*\) frames$/\1/p' "$dir/$mode.err")
    [ -n "$frames" ] && [ "$frames" -lt $limit ] || fail "$mode: still running at the frame limit of $limit"
done
test "$(grep -c '^score [0-9]*$' "$dir/quick.txt")" -eq 2 || fail "quick: not two finished sheets"
test "$(grep -c '^score [0-9]*$' "$dir/spares.txt")" -eq 2 || fail "spares: not two finished scores"
grep -q '^bingo: P[12] .* made the line$' "$dir/bingo.txt" || fail "bingo: nobody made the line"
grep -q '^winners* P[12]' "$dir/poker.txt" || fail "poker: no winner"
grep -q '^balls 10$' "$dir/pinselect.txt" || fail "pinselect: not its ten balls"

limit=6000
last=$((limit - 1))
awk -v limit=$limit 'BEGIN { for (f = 40; f < limit; f += 40) print f " touch 40 184\n" f + 2 }' > "$dir/touch.input"
"$game" --headless --launch attract --seed 7 --frames $limit --data "$dir/data" --input "$dir/touch.input" \
    --screenshot $last --layout-out --out "$dir" > "$dir/attract.txt"
grep -q '^score [0-9]* (not finished)$' "$dir/attract.txt" || fail "attract: no sheet printed at its end"
lines="$dir/frame$(printf %05d $last)-lines.txt"
test -s "$lines" || fail "attract: no text drawn at frame $last"
if grep -q 'Ada Computer\|Game Over' "$lines"; then fail "attract: the game still stands at frame $last"; fi
