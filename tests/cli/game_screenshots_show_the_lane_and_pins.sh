#!/bin/sh
# The lit lane and, while the camera follows the ball, the pins are where the screenshots should
# show them; by frame 400 the first ball is being replayed from a replay camera, which shows the
# lit hall.
# Run by ctest in the build's tests folder with $1 the program, $2 the shot check.
set -e
program=$1
shot_check=$2
rm -rf lane-shots
mkdir lane-shots
"$program" --headless --launch quick --players 2 --seed 7 --frames 401 --screenshot 60,200,400 --out lane-shots --data cli-data > /dev/null
cd lane-shots
"$shot_check" frame00060-upper-left.png lit:200,120,40,2000 lane:150,205,12,100
"$shot_check" frame00400-upper-left.png lit:200,120,40,2000
for f in frame00200-upper-left frame00200-upper-right; do
    "$shot_check" $f.png lit:200,120,40,2000 lane:200,205,12,100 pin:190,60,12,4
done
