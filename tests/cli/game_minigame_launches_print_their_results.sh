#!/bin/sh
# The mini-game launches play to their end headless: each prints its result, and the same seed
# prints the same result again. Usage: game_minigame_launches_print_their_results.sh ZENDROLYX
set -e
. "$(dirname "$0")/checks.sh"
game="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# Not a first start: a copy of the shared save folder, so no notice and no first save come first.
mkdir -p "$dir/data" && cp -R cli-data/. "$dir/data/"

run() {  # mode players out
    "$game" --headless --launch "$1" --players "$2" --seed 7 --frames 200000 --data "$dir/data" > "$3"
}

for mode in spares bingo poker pinselect; do
    run $mode 2 "$dir/$mode-a.txt"
    run $mode 2 "$dir/$mode-b.txt"
    cmp "$dir/$mode-a.txt" "$dir/$mode-b.txt"
done

# Spares: both bowlers' rounds, conversions and a finished score.
test "$(grep -c '^score [0-9]*$' "$dir/spares-a.txt")" -eq 2
each_line_passes "$dir/spares-a.txt" '^rounds' '{ for (i = 2; i <= NF; i++) if ($i != 0 && $i != 250 && $i != 500 && $i != 1000) exit 1 }'
# Bingo: two cards of five rows with the free centre marked, and who made the line.
test "$(grep -c -- '--\*' "$dir/bingo-a.txt")" -eq 2
grep -q '^bingo: P[12] .* made the line$' "$dir/bingo-a.txt"
# Poker: each hand ranked, and the winner.
test "$(grep -c '^hand ' "$dir/poker-a.txt")" -eq 2
grep -q '^winners* P[12]' "$dir/poker-a.txt"
# The pin practice: five balls a computer bowler, each with the pins chosen and knocked down.
grep -q '^balls 10$' "$dir/pinselect-a.txt"
test "$(grep -c '^ball [0-9]* P[12] .* pins .* down ' "$dir/pinselect-a.txt")" -eq 10
