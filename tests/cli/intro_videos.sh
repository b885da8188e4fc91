#!/bin/sh
# The intro logos play on the lower screen at start-up: the first (a night-blue sky) then the
# second (warm wood). A new press of A skips the first; A held from the start does not. A seeded
# run during the intro repeats, its sound included.
#   intro_videos.sh ZENDROLYX SHOT_CHECK
set -e
game=$1
check=$2
rm -rf intro-shots && mkdir -p intro-shots/plain intro-shots/skip intro-shots/held intro-shots/again
run() {
    "$game" --headless --frames 50 --data cli-data --screenshot 40 --out "intro-shots/$1" $2 > /dev/null
}
printf '5 A\n6\n' > intro-shots/skip.txt
printf '0 A\n' > intro-shots/held.txt
run plain "--seed 3 --audio-out intro-shots/plain.wav"
run again "--seed 3 --audio-out intro-shots/again.wav"
cmp intro-shots/plain.wav intro-shots/again.wav
cmp intro-shots/plain/frame00040-lower.png intro-shots/again/frame00040-lower.png
run skip "--input intro-shots/skip.txt"
run held "--input intro-shots/held.txt"
"$check" intro-shots/plain/frame00040-lower.png blue:160,20,15,300
"$check" intro-shots/held/frame00040-lower.png blue:160,20,15,300
"$check" intro-shots/skip/frame00040-lower.png warm:160,20,15,300
