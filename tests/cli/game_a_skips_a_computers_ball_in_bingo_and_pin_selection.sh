#!/bin/sh
# A skips a computer's ball in bingo and in pin selection, where the computer bowls with the card
# or the pin deck up: two computer bowlers, A pressed at frame 100 on the first one's approach
# (its ball leaves the hand near frame 150). The skip shows no replay, and by frame 300 the second
# bowler is up (the first one's ball would still be rolling).
# Usage: game_a_skips_a_computers_ball_in_bingo_and_pin_selection.sh ZENDROLYX
set -e
. "$(dirname "$0")/checks.sh"
game="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# Not a first start: a copy of the shared save folder, so no notice and no first save come first.
mkdir -p "$dir/data" && cp -R cli-data/. "$dir/data/"
printf '100 A\n102\n' > "$dir/a.input"

for mode in bingo pinselect; do
    mkdir "$dir/$mode"
    "$game" --headless --launch $mode --players 2 --seed 7 --frames 301 --data "$dir/data" --input "$dir/a.input" \
        --screenshot "$(seq -s, 100 110),300" --out "$dir/$mode" --layout-out > /dev/null
    grep -aq '^upper-left [0-9 ]* Bo Computer$' "$dir/$mode/frame00300-lines.txt" ||
        fail "$mode: the first computer's ball was not skipped by A"
    if grep -aq 'Skip Replay' "$dir/$mode"/frame*-lines.txt; then fail "$mode: the skipped ball was replayed"; fi
done
