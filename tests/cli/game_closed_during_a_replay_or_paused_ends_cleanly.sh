#!/bin/sh
# The program closed (here by the frame limit) in the middle of a person's strike replay, with its
# clip playing, and while the game is paused with the ball rolling, tears the game down and ends
# with status 0 (under the sanitizers: without touching anything already freed).
# Run by ctest in the build's tests folder with $1 the program, $2 the strike's input script.
set -e
. "$(dirname "$0")/checks.sh"
program=$1
input=$2
rm -rf closed-paused
mkdir closed-paused
"$program" --headless --launch quick --players 1 --humans 1 --controls buttons --seed 7 --frames 485 --data cli-data --input "$input" > /dev/null
{ cat "$input"; printf '300 START\n302\n'; } > closed-paused/paused.input
"$program" --headless --launch quick --players 1 --humans 1 --controls buttons --seed 7 --frames 360 --data cli-data --input closed-paused/paused.input > /dev/null
