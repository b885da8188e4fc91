#!/bin/sh
# A quick game launched in test mode shows the test-mode read-out on the lower screen over a dark
# background instead of the score sheet; the scripted pad walks the menus, the ball menu's speed
# is stepped, X hides the read-out (showing the frame rate instead) and shows it again, and the circle pad flies the free camera: the upper
# screen's view after the flight differs from the one before it, with the lane still in view.
# Run by ctest in the build's tests folder with $1 the program, $2 the shot check, $3 the input.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
shot_check=$2
input=$3
rm -rf test-mode-shots
mkdir -p test-mode-shots cli-data
"$program" --headless --launch quick --players 1 --seed 7 --test-mode --frames 200 --data cli-data --input "$input" --screenshot 100,125,135,195 --out test-mode-shots > /dev/null
cd test-mode-shots
"$shot_check" frame00100-lower.png lit:282,10,12,20 lit:60,18,50,20 dark:44,184,10,400
"$shot_check" frame00125-lower.png dark:282,10,8,289 dark:150,222,14,841 dark:100,150,60,14641
"$shot_check" frame00135-lower.png lit:282,10,12,20 lit:150,222,14,20
"$shot_check" frame00135-upper-left.png lane:200,205,12,100
"$shot_check" frame00195-upper-left.png lane:200,205,12,100
refute cmp -s frame00135-upper-left.png frame00195-upper-left.png
