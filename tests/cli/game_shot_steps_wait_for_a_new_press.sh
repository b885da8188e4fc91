#!/bin/sh
# One press of A on the score sheet opens one step, however long it is held: a tap (1 frame) and a
# hold (10 frames) both open the position step (with the buttons) or the touch position step (with
# the stylus), which then waits for a new press of A to go on: the angle step, or the flick.
# The lower screen tells the steps by where the A glyph (green) stands.
#   game_shot_steps_wait_for_a_new_press.sh ZENDROLYX SHOT_CHECK
set -e
. "$(dirname "$0")/checks.sh"
game=$1
check=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/data" && cp -R cli-data/. "$dir/data/"

for controls in buttons touch; do
    for hold in 1 10; do
        out="$dir/$controls-$hold"
        mkdir "$out"
        # A on the score sheet at 60 for `hold` frames; a new tap of A at 110.
        printf '60 A\n%d\n110 A\n111\n' $((60 + hold)) > "$out/input"
        "$game" --headless --launch quick --players 1 --humans 1 --controls $controls --seed 7 --frames 151 \
            --data "$dir/data" --input "$out/input" --screenshot 100,150 --out "$out" > /dev/null
        # Frame 100: the first step, its A (BOWL) at the lower right.
        "$check" "$out/frame00100-lower.png" green:240,190,6,40 > /dev/null ||
            fail "$controls, A held $hold frames: the first step of the set-up is not shown"
        if [ $controls = buttons ]; then
            shot_lacks "$check" "$out/frame00100-lower.png" green:280,25,6,40
            # Frame 150: the new tap went on to the angle step, its A (STOP) at the top right.
            "$check" "$out/frame00150-lower.png" green:280,25,6,40 > /dev/null ||
                fail "A held $hold frames: a new tap does not go on to the angle step"
        else
            # Frame 150: the flick, without an A, the ball at the bottom.
            shot_lacks "$check" "$out/frame00150-lower.png" green:240,190,6,40
            "$check" "$out/frame00150-lower.png" blue:160,222,6,40 > /dev/null ||
                fail "stylus, A held $hold frames: a new tap does not go on to the flick"
        fi
    done
done
