#!/bin/sh
# A quick flick is a throw: the stylus flicks the ball grip past the launch line and is lifted on
# the very next frame. The ball leaves the hand: the flick screen no longer offers B (Back) and
# the power bar is full.
#   game_quick_flick_is_thrown.sh ZENDROLYX SHOT_CHECK
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/data" && cp -R cli-data/. "$dir/data/"
# A to the touch position step, its next button to the flick; the grip flicked 50 pixels a frame,
# over the line at 124 (the grip at y 55) and let go at 125.
printf '60 A\n61\n80 touch 251 198\n81\n100 touch 158 205\n102 touch 158 155\n104 touch 158 85\n105\n' > "$dir/input"
"$game" --headless --launch quick --players 1 --humans 1 --seed 7 --frames 251 --data "$dir/data" \
    --input "$dir/input" --screenshot 90,250 --out "$dir" > /dev/null
# Frame 90: the flick screen, B (Back) on its left, the ball at the bottom and no power yet.
"$check" "$dir/frame00090-lower.png" warm:26,190,4,40 blue:160,222,6,40 > /dev/null || fail "the flick screen is not shown"
shot_lacks "$check" "$dir/frame00090-lower.png" warm:232,40,4,20
# Frame 250: the ball is away with full power (the top of the bar is red).
"$check" "$dir/frame00250-lower.png" blue:160,222,6,40 warm:232,40,4,20 > /dev/null || fail "no full power bar"
shot_lacks "$check" "$dir/frame00250-lower.png" warm:26,190,4,40
