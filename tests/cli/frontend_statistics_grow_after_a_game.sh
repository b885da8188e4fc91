#!/bin/sh
# The bowlers page's statistics grow with a game. On the default save the first custom bowler has
# bowled nothing: the career hub's Bowlers page shows its games, pins and high game as 0. The
# person then plays a whole quick game from the menus as its first (and only) bowler (the steps
# of the overlay tests' game); back in the main menu, the same page shows one game, its score as
# the pins, the average and the high game, and the marks the score sheet printed.
#   frontend_statistics_grow_after_a_game.sh ZENDROLYX GAME_INPUT
set -e
. "$(dirname "$0")/checks.sh"
game=$1
steps=$2
rm -rf stats && mkdir -p stats/data stats/before stats/after
cp cli-data/savegame.bin stats/data/
# value FILE LABEL: the value drawn on the upper screen right of the label, in the same row.
value() {
    awk -v want="$2" '$1 == "upper-left" {
            text = $6; for (i = 7; i <= NF; ++i) text = text " " $i
            if (text == want) { lx = $2; ly = $3 } else { seen[NR] = $2 " " $3 " " text }
        }
        END { for (n in seen) { split(seen[n], f, " "); if (f[2] >= ly && f[2] <= ly + 4 && f[1] > lx && f[1] < lx + 170) print f[3] } }' "$1"
}
# The page: Career (160, 175) from the main menu, then Bowlers (238, 222); the first bowler is
# the one shown.
printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n200 touch 160 175\n225\n270 touch 238 222\n295\n' > stats/before.txt
"$game" --headless --frames 342 --data stats/data --input stats/before.txt --screenshot 340 --layout-out \
    --out stats/before > /dev/null
lines=stats/before/frame00340-lines.txt
for label in Games Pins "High Game" Strikes; do
    [ "$(value $lines "$label")" = 0 ] || fail "$label before the game: $(value $lines "$label")"
done
# The game as frontend_quick_play_from_the_menus_is_saved plays it (Quick Play, one bowler, Start,
# "Yes"; the game's first frame at 358), then the page again from the main menu (up at 23500).
{
    printf '5 A\n6\n20 A\n21\n150 touch 160 120\n165\n200 touch 80 67\n225\n'
    printf '250 touch 186 194\n275\n300 touch 281 72\n325\n350 touch 100 120\n375\n'
    grep -v '^#' "$steps" | awk 'NF { $1 = $1 + 358; print }'
    printf '23520 touch 160 175\n23545\n23590 touch 238 222\n23615\n'
} > stats/input.txt
"$game" --headless --frames 23662 --data stats/data --input stats/input.txt --screenshot 23660 --layout-out \
    --out stats/after --verbose > stats/out.txt 2> stats/err.txt
no_errors stats/err.txt
score=$(sed -n 's/^score \([0-9][0-9]*\)$/\1/p' stats/out.txt)
[ -n "$score" ] || fail "the game printed no score"
strikes=$(grep -o 'X' stats/out.txt | wc -l)
lines=stats/after/frame23660-lines.txt
[ "$(value $lines Games)" = 1 ] || fail "games after the game: $(value $lines Games)"
for label in Pins Average "High Game"; do
    [ "$(value $lines "$label")" = "$score" ] || fail "$label after a game of $score: $(value $lines "$label")"
done
[ "$(value $lines Strikes)" = "$strikes" ] || fail "strikes after a game with $strikes: $(value $lines Strikes)"
