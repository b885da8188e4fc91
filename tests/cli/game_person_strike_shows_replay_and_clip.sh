#!/bin/sh
# A person's strike is replayed from a replay camera on the upper screen while the first strike
# clip plays on the lower one. At frame 300 the ball rolls and the camera follows it from behind,
# the pins small and far (the name plate above them left out); at 485 and 495 the replay shows them close, so many more of their white
# pixels fill the middle of the screen, and the clip's yellow word stands in its frame, centred
# across the lower screen (as much of it left of the middle as right), where the replay panel
# alone shows none.
# Run by ctest in the build's tests folder with $1 the program, $2 the shot check, $3 the input.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
shot_check=$2
input=$3
rm -rf strike-shots
mkdir strike-shots
"$program" --headless --launch quick --players 1 --humans 1 --controls buttons --seed 7 --frames 500 --data cli-data --input "$input" --screenshot 300,485,495 --out strike-shots > /dev/null
cd strike-shots
shot_lacks "$shot_check" frame00300-upper-left.png pin:200,125,95,200
for f in 00485 00495; do
    "$shot_check" frame$f-upper-left.png lit:200,120,40,2000 pin:200,125,95,200
    "$shot_check" frame$f-lower.png warm:160,116,30,100 warm:80,116,16,150 warm:240,116,16,150
done
